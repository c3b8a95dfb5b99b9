#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "exams/exam_preset.h"

namespace quort {

inline constexpr const char* kExamLogName = "klausauf.x";
inline constexpr const char* kExamLogBackupName = "klausauf.x-b";

// The four multi-line fields of the exam dialog: "Räume:", "Aufsicht:", "Raumänd.:", "Frei:".
struct ExamFields {
  std::string rooms;
  std::string supervisions;
  std::string roomChanges;
  std::string freed;
};

// One saved exam as klausauf.x holds it: CR LF lines from "¬Klausuren am ..." to "####".
std::string examRecordText(const ExamPreset& preset, const std::string& date, const ExamFields& fields);

// Appends the record to klausauf.x in one atomic write. With startNew the old log is
// kept as klausauf.x-b and the new one holds only this record, so a cleared overview is
// never lost. false on a file error.
bool saveExamRecord(const std::string& record, bool startNew);

// Whether a log line is the heading "Klausuren am ..." that begins a record, with its
// mark or without.
bool isExamHeading(std::string_view line);
// The records of a log, each as its lines. A record ends at "####" or, when that line was
// never written, at the next "Klausuren am" line, so a torn record keeps the next one.
std::vector<std::vector<std::string>> examLogRecords(std::string_view log);
// The log text of records (each closed by "####").
std::string examLogText(const std::vector<std::vector<std::string>>& records);

struct ExamSupervision {
  std::string room;
  int period = 0;  // shown
  std::string teacher;
  bool extraWork = false;
};
struct ExamRoomChange {
  int period = 0;  // shown
  std::string schoolClass;
  std::string oldRoom;
  std::string newRoom;
};
struct ExamFreedLesson {
  int period = 0;  // shown
  std::string text;
};
// An exam read back for the substitution day.
struct ExamOfDay {
  std::string date;
  std::string grade;
  std::string time;  // "3-4"
  std::vector<ExamSupervision> supervisions;
  std::vector<ExamRoomChange> roomChanges;
  std::vector<ExamFreedLesson> freed;
};

// The exams of that date ("TT.MM.JJJJ") in the log text.
std::vector<ExamOfDay> examsOfDayIn(std::string_view log, const std::string& date);
// The same from klausauf.x in the current directory (none when it is missing).
std::vector<ExamOfDay> readExamsOfDay(const std::string& date);

// Supervisions per teacher as the "Aufsicht:" field counts them.
struct SupervisionCount {
  std::string teacher;
  int plain = 0;
  int starred = 0;  // followed by "(*)"
};
std::vector<SupervisionCount> countSupervisions(const std::string& supervisionField);

// The prot.x lines an exam adds as extra work: one per real teacher, with the starred
// count, or the plain one when the teacher has no starred supervision.
std::vector<std::string> examExtraWorkLines(const std::string& date, const std::string& grade, int firstPeriod,
                                            const std::vector<SupervisionCount>& counts,
                                            const std::function<bool(const std::string&)>& isRealTeacher);

}  // namespace quort
