#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

inline constexpr const char* kExamPlanName = "klausauf.txt";

// The most days one exam plan covers: a school year.
inline constexpr int kMaxExamPlanDays = 366;

// The whole number of a "Tageszahl:" field, or 0 when it is none or out of 1..366.
int examPlanDayCount(std::string_view text);

// The dates an exam plan covers: the start date and the following days up to count
// dates in all (at most kMaxExamPlanDays), Sundays stepped over. Empty when start is no
// date.
std::vector<std::string> examPlanDates(const std::string& start, int count);

// The plain text of the exams of those dates in the log: per exam its heading, the
// "Stufe:" line and the sections, the markers turned into line breaks and every line
// held to 37 characters (a long list goes on in a line beginning " ... "). Headings and
// section names carry the bold marks of the print layer when forPrint is set.
std::vector<std::string> examPlanLines(std::string_view log, const std::vector<std::string>& dates, bool forPrint);

enum class ExamOutputAction { Print, Save, Upload };
struct ExamOutputRequest {
  ExamOutputAction action = ExamOutputAction::Save;
  std::string date;  // "TT.MM.JJJJ"
  int days = 1;      // "Tageszahl:"
};

enum class ExamOutputResult { Done, Refused, NotUploaded };
// "Ausgabe von Klausurenplänen": the log is rewritten keeping every record (old copy
// klausauf.x-b), klausauf.txt is written atomically, then printed or uploaded. Refused
// when nothing was output (reported: no exams, a file or printer error); NotUploaded when
// the upload was cancelled or did not reach every server.
ExamOutputResult writeExamOutput(Workspace& ws, Ui& ui, const ExamOutputRequest& request);

// The dialog "Ausgabe von Klausurenplänen"; the request of the button pressed, or
// std::nullopt for "Abbruch". "Druckerkonfiguration" and the day scroller keep it open.
std::optional<ExamOutputRequest> examOutputDialog(Workspace& ws, Ui& ui);

}  // namespace quort
