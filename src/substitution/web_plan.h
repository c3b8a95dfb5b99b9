#pragma once

#include <string>
#include <vector>

#include "substitution/substitution_output.h"

namespace quort {

inline constexpr const char* kWebPlanHtml = "vertretung.html";
inline constexpr const char* kWebPlanJson = "vertretung.json";
inline constexpr const char* kWebPlanIcs = "vertretung.ics";

// One changed lesson, split out of its day-file line. Texts are Windows-1252 bytes.
struct WebChange {
  std::string date;
  std::string schoolClass;
  int period = 0;
  std::string teacher;  // the coupling's teacher when the line names one
  std::string substitute;
  std::string subject;
  std::string room;
  std::string remark;
};

struct WebDay {
  std::string date;
  std::string weekday;  // "Montag"
  std::vector<WebChange> changes;
  std::vector<std::string> absences;
  std::vector<std::string> notes;
};

struct WebPlan {
  std::string generated;  // "TT.MM.JJJJ HH:MM"
  std::vector<WebDay> days;
};

// " 5C  5.Std.: KS-D in 101 (*)" split into its fields.
WebChange parseChange(const std::string& date, const std::string& entry);
WebPlan buildWebPlan(const std::vector<CoveredDay>& days, const std::string& generated);

// The three files in UTF-8: a self-contained page (no scripts, inline CSS), the same data
// as JSON for apps, and an iCalendar with one all-day event per changed lesson.
std::string webPlanHtml(const WebPlan& plan);
std::string webPlanJson(const WebPlan& plan);
std::string webPlanIcs(const WebPlan& plan);

}  // namespace quort
