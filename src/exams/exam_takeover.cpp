#include "exams/exam_takeover.h"

#include <algorithm>
#include <map>
#include <set>

#include "data/calendar.h"
#include "data/file_access.h"
#include "data/plan_records.h"
#include "exams/exam_preset.h"
#include "exams/exam_text.h"
#include "substitution/absence_register.h"
#include "substitution/day_files.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "substitution/day_text_file.h"
#include "timetable/lesson_grid.h"
#include "timetable/lesson_writing.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kExamReason = "Klausur";
constexpr const char* kSupervisionReason = "Klausuraufsicht";

template <typename T>
std::string takeoverCode(const std::vector<T>& list, int index) {
  return index >= 1 && index < static_cast<int>(list.size()) ? trimmedOf(list[static_cast<size_t>(index)].code)
                                                             : std::string();
}

// Whether a shown period of the log is one of the day's; a damaged log may name period 0
// or 99, which neither an absence nor a grid can take.
bool periodOfDay(const Workspace& ws, int shown) { return shown >= 1 && shown <= lastShownPeriod(ws.base); }

// What the exams name outside the day's periods, as "Nicht übernommen:" lists it.
std::vector<std::string> itemsOutsideTheDay(const Workspace& ws, const std::vector<ExamOfDay>& exams) {
  std::vector<std::string> items;
  for (const ExamOfDay& exam : exams) {
    for (const ExamSupervision& s : exam.supervisions) {
      if (!periodOfDay(ws, s.period)) items.push_back(std::to_string(s.period) + "." + s.teacher + " " + s.room);
    }
    for (const ExamRoomChange& r : exam.roomChanges) {
      if (!periodOfDay(ws, r.period)) items.push_back(std::to_string(r.period) + ".Std. " + r.schoolClass);
    }
    for (const ExamFreedLesson& f : exam.freed) {
      if (!periodOfDay(ws, f.period)) items.push_back(std::to_string(f.period) + ".:" + f.text);
    }
  }
  return items;
}

void reportNotTakenOver(Ui& ui, const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) list += (list.empty() ? "" : ", ") + item;
  ui.message(
      "Nicht \xFC"
      "bernommen: " +
      list + "!");
}

// The class a "Frei:" item names: "12A D1 MA", "12B(E3 SC)", "12C>MA MR<".
std::string classOfFreedItem(const std::string& item) { return trimmedOf(item.substr(0, item.find_first_of(" (>"))); }

// The classes whose lesson the exam drops in each shown period: a class with an item of
// a writing course or a single lesson, unless a course of it that does not write (an
// item in brackets) goes on in that period.
std::map<int, std::vector<int>> droppedClasses(const Workspace& ws, const ExamOfDay& exam) {
  std::map<int, std::set<int>> dropped;
  std::map<int, std::set<int>> goingOn;
  for (const ExamFreedLesson& freed : exam.freed) {
    const int c = ws.base.findClass(classOfFreedItem(freed.text));
    if (c == 0 || !periodOfDay(ws, freed.period)) continue;
    const bool writes = freed.text.find('(') == std::string::npos;
    (writes ? dropped : goingOn)[freed.period].insert(c);
  }
  std::map<int, std::vector<int>> result;
  for (const auto& [period, classes] : dropped) {
    for (int c : classes) {
      if (!goingOn[period].contains(c)) result[period].push_back(c);
    }
  }
  return result;
}

// Runs of consecutive shown periods: {3, 4, 6} gives 3-4 and 6-6.
std::vector<std::pair<int, int>> periodRuns(const std::set<int>& periods) {
  std::vector<std::pair<int, int>> runs;
  for (int p : periods) {
    if (!runs.empty() && runs.back().second + 1 == p) {
      runs.back().second = p;
    } else {
      runs.push_back({p, p});
    }
  }
  return runs;
}

void addItems(std::vector<std::string>& items, const std::string& who, const std::set<int>& periods,
              const std::string& reason) {
  for (const auto& [first, last] : periodRuns(periods)) {
    AbsenceEntry entry;
    entry.who = who;
    entry.first = first;
    entry.last = last;
    entry.countFlag = false;
    entry.reason = reason;
    items.push_back(absenceItem(entry));
  }
}

// The notes go under "Aufsichten:" (line 2 of t<WD>.x), before the free notes of the
// day; a note already there is not repeated.
bool addDayNotes(Workspace& ws, Ui& ui, const std::string& date, const std::vector<std::string>& notes) {
  if (!settleForeignDayFile(ws, ui, date)) return false;
  const std::string t = dayFileName('t', date);
  std::vector<std::string> lines = readDayTextLines(t).value_or(std::vector<std::string>{});
  if (lines.empty()) lines = {""};
  auto heading = std::find(lines.begin(), lines.end(), "Aufsichten:");
  if (heading == lines.end()) heading = lines.insert(lines.begin() + 1, "Aufsichten:");
  size_t at = static_cast<size_t>(heading - lines.begin()) + 1;
  while (at < lines.size() && lines[at].starts_with("Klausur ")) ++at;
  for (const std::string& note : notes) {
    if (std::find(lines.begin(), lines.end(), note) != lines.end()) continue;
    lines.insert(lines.begin() + static_cast<long>(at++), note);
  }
  if (!writeFileAtomically(t, joinDayText(lines), std::string_view(t + "b"))) {
    reportFileError(ui, t);
    return false;
  }
  return true;
}

std::string gradesText(const std::vector<ExamOfDay>& exams) {
  std::string text;
  for (const ExamOfDay& exam : exams) {
    if (("," + text + ",").find("," + exam.grade + ",") != std::string::npos) continue;
    text += (text.empty() ? "" : ",") + exam.grade;
  }
  return text;
}

std::vector<ExamOfDay> examsOrReport(Ui& ui, const std::string& date) {
  if (Weekday(date) < 1 || Weekday(date) > 6) {
    ui.message("Datumsfehler!");
    return {};
  }
  std::vector<ExamOfDay> exams = readExamsOfDay(date);
  if (exams.empty()) ui.message("Keine Klausuren am " + date + "!");
  return exams;
}

// What one exam period needs for placing its lessons.
struct TakeOver {
  Workspace& ws;
  Ui& ui;
  std::string date;
  int day = 0;
  std::vector<std::string> refused;
};

bool setExamLesson(TakeOver& run, int c, int period, const std::string& text, const std::string& remark) {
  SubstitutionRequest request{run.date, run.day, period, c, text, remark, true, false};
  request.examPeriod = true;
  return setSubstitution(run.ws, run.ui, request);
}

// The teachers who supervise an exam of the day in that shown period.
std::set<std::string> supervisorsAt(const std::vector<ExamOfDay>& exams, int shown) {
  std::set<std::string> teachers;
  for (const ExamOfDay& exam : exams) {
    for (const ExamSupervision& s : exam.supervisions) {
      if (s.period == shown) teachers.insert(s.teacher);
    }
  }
  return teachers;
}

void applyRoomChanges(TakeOver& run, const ExamOfDay& exam, const std::set<std::string>& supervisors, int shown,
                      int period) {
  Workspace& ws = run.ws;
  for (const ExamRoomChange& change : exam.roomChanges) {
    if (change.period != shown) continue;
    const int c = ws.base.findClass(change.schoolClass);
    if (c == 0) continue;
    const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, period, run.day);
    const uint16_t roomWord = ws.plan.timetable.roomWord.at(c, period, run.day);
    const int room = RoomWord::room(roomWord);
    if (LessonWord::teacher(lesson) == 0 || takeoverCode(ws.base.rooms, room) != change.oldRoom) continue;
    const std::string teacher = takeoverCode(ws.base.teachers, LessonWord::teacher(lesson));
    const int newRoom = ws.base.findRoom(change.newRoom);
    if (supervisors.contains(teacher) && newRoom != 0) {
      // The teacher supervises then: the day must not show them teaching the moved class
      // as well. The lesson waits in its new room for a substitute.
      addOpenLesson(ws.plan.openLessons, {LessonWord::teacher(lesson), c, run.day, period, LessonWord::subject(lesson),
                                          RoomWord::coupling(roomWord), newRoom});
      clearPeriods(ws, run.day, period, period, c);
      ws.plan.modifiedPlan = true;
      continue;
    }
    const std::string text =
        teacher + "-" + takeoverCode(ws.base.subjects, LessonWord::subject(lesson)) + " " + change.newRoom;
    if (!setExamLesson(run, c, period, text, kExamReason))
      run.refused.push_back(std::to_string(shown) + ".Std. " + change.schoolClass + "->" + change.newRoom);
  }
}

void dropLessons(TakeOver& run, const std::vector<int>& classes, int period) {
  for (int c : classes) {
    if (run.ws.plan.timetable.lessonWord.at(c, period, run.day) == 0) continue;
    setExamLesson(run, c, period, "*", kExamReason);
  }
}

// Each supervision goes into a class of the grade that has no lesson left in the period;
// one class holds one supervision.
void setSupervisions(TakeOver& run, const ExamOfDay& exam, int shown, int period) {
  const Workspace& ws = run.ws;
  std::set<int> used;
  for (const ExamSupervision& supervision : exam.supervisions) {
    if (supervision.period != shown) continue;
    int target = 0;
    for (int c = 1; c <= ws.base.nClasses() && target == 0; ++c) {
      if (classMatches(ws.base, c, exam.grade) && !used.contains(c) &&
          ws.plan.timetable.lessonWord.at(c, period, run.day) == 0)
        target = c;
    }
    const std::string text = supervision.teacher + " " + supervision.room;
    if (target != 0 && setExamLesson(run, target, period, text, kSupervisionReason)) {
      used.insert(target);
    } else {
      run.refused.push_back(std::to_string(shown) + "." + supervision.teacher + " " + supervision.room);
    }
  }
}

std::set<int> examPeriods(const ExamOfDay& exam) {
  std::set<int> periods;
  for (const ExamSupervision& s : exam.supervisions) periods.insert(s.period);
  for (const ExamRoomChange& r : exam.roomChanges) periods.insert(r.period);
  for (const ExamFreedLesson& f : exam.freed) periods.insert(f.period);
  periods.erase(0);
  return periods;
}

}  // namespace

std::vector<std::string> examNoteLines(const std::vector<ExamOfDay>& exams) {
  std::vector<std::string> notes;
  for (const ExamOfDay& exam : exams) {
    std::vector<std::pair<std::string, std::string>> rooms;  // room, items
    for (const ExamSupervision& s : exam.supervisions) {
      auto room = std::find_if(rooms.begin(), rooms.end(), [&](const auto& r) { return r.first == s.room; });
      if (room == rooms.end()) room = rooms.insert(rooms.end(), {s.room, {}});
      room->second += (room->second.empty() ? "" : ",") + std::to_string(s.period) + "." + s.teacher;
    }
    for (const auto& [room, items] : rooms) {
      std::string note = "Klausur " + exam.grade;
      if (!room.empty()) note += " in " + room;
      note += ": ";
      notes.push_back(note + items);
    }
    for (const ExamRoomChange& r : exam.roomChanges) {
      notes.push_back("Klausur " + exam.grade + ": " + std::to_string(r.period) + ".Std. " + r.schoolClass + " " +
                      r.oldRoom + "->" + r.newRoom);
    }
  }
  return notes;
}

std::vector<std::string> examAbsenceItems(const Workspace& ws, const std::vector<ExamOfDay>& exams) {
  std::map<std::string, std::set<int>> supervisors;
  std::map<int, std::set<int>> classes;
  for (const ExamOfDay& exam : exams) {
    for (const ExamSupervision& s : exam.supervisions) {
      if (ws.base.findTeacher(s.teacher) != 0 && periodOfDay(ws, s.period)) supervisors[s.teacher].insert(s.period);
    }
    for (const auto& [period, dropped] : droppedClasses(ws, exam)) {
      for (int c : dropped) classes[c].insert(period);
    }
  }
  std::vector<std::string> items;
  for (const auto& [teacher, periods] : supervisors) addItems(items, teacher, periods, kSupervisionReason);
  for (const auto& [c, periods] : classes) addItems(items, takeoverCode(ws.base.classes, c), periods, kExamReason);
  return items;
}

bool readExamsIntoDay(Workspace& ws, Ui& ui, const std::string& date) {
  const std::vector<ExamOfDay> exams = examsOrReport(ui, date);
  if (exams.empty()) return false;
  for (const std::string& item : examAbsenceItems(ws, exams)) {
    removeAbsenceItems(ws, absenceKey(item));
    ws.substitution.absences.push_back(item);
  }
  if (!addDayNotes(ws, ui, date, examNoteLines(exams))) return false;
  const std::vector<std::string> outside = itemsOutsideTheDay(ws, exams);
  if (outside.empty()) return true;
  reportNotTakenOver(ui, outside);
  return false;
}

bool takeOverExams(Workspace& ws, Ui& ui, const std::string& date) {
  const std::vector<ExamOfDay> exams = examsOrReport(ui, date);
  if (exams.empty()) return false;
  TakeOver run{ws, ui, date, Weekday(date), itemsOutsideTheDay(ws, exams)};
  for (const ExamOfDay& exam : exams) {
    const std::map<int, std::vector<int>> dropped = droppedClasses(ws, exam);
    for (int shown : examPeriods(exam)) {
      if (!periodOfDay(ws, shown)) continue;
      // With week alternation an odd day's last shown period has its A period only.
      const int last = std::min(lastInternalPeriod(shown, ws.base.weekAlternation), ws.base.periodsPerDay);
      const std::set<std::string> supervisors = supervisorsAt(exams, shown);
      for (int p = firstInternalPeriod(shown, ws.base.weekAlternation); p <= last; ++p) {
        applyRoomChanges(run, exam, supervisors, shown, p);
        if (const auto found = dropped.find(shown); found != dropped.end()) dropLessons(run, found->second, p);
        setSupervisions(run, exam, shown, p);
      }
    }
  }
  if (!addDayNotes(ws, ui, date, examNoteLines(exams))) return false;
  ui.message("Klausuren in " + gradesText(exams) +
                 " \xFC"
                 "bernommen!",
             MessageStyle{Icon::Information});
  if (run.refused.empty()) return true;
  reportNotTakenOver(ui, run.refused);
  return false;
}

}  // namespace quort
