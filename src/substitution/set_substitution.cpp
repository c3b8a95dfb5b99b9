#include <algorithm>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "substitution/day_files.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "substitution/day_snapshot.h"
#include "timetable/lesson_grid.h"
#include "timetable/lesson_writing.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string trimmedText(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

template <typename T>
std::string entityCode(const std::vector<T>& list, int index) {
  return index >= 1 && index < static_cast<int>(list.size()) ? trimmedText(list[static_cast<size_t>(index)].code)
                                                             : std::string();
}

// "MR-D R12 (st. 5A MO)" taken apart.
struct ParsedEntry {
  std::string teacher;
  std::string subject;
  std::string room;
  std::string note;
};
ParsedEntry parseEntry(const std::string& text) {
  ParsedEntry entry;
  const size_t open = text.find('(');
  if (open != std::string::npos) {
    const size_t close = text.find(')', open);
    entry.note = text.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
  }
  const std::string codes = trimmedText(text.substr(0, open));
  const size_t end = codes.find_first_of(" -");
  entry.teacher = codes.substr(0, end);
  if (end == std::string::npos) return entry;
  std::string rest = codes.substr(end);
  if (rest[0] == '-') {
    const size_t blank = rest.find(' ');
    entry.subject = rest.substr(1, blank == std::string::npos ? std::string::npos : blank - 1);
    rest = blank == std::string::npos ? std::string() : rest.substr(blank);
  }
  entry.room = trimmedText(rest);
  return entry;
}

struct Resolved {
  bool cancelled = false;
  int teacher = 0;
  int subject = 0;
  int room = 0;
};

std::optional<Resolved> resolveEntry(const Workspace& ws, Ui& ui, const ParsedEntry& entry, int plannedRoom) {
  Resolved resolved;
  resolved.cancelled = entry.teacher == "*";
  if (resolved.cancelled) return resolved;
  resolved.teacher = entry.teacher.empty() ? 0 : ws.base.findTeacher(entry.teacher);
  if (resolved.teacher < 1 || resolved.teacher >= ws.base.nTeachers()) {
    ui.message("Kein Lehrer angegeben!");
    return std::nullopt;
  }
  resolved.subject = entry.subject.empty() ? ws.base.nSubjects() : ws.base.findSubject(entry.subject);
  if (resolved.subject == 0) {
    ui.message("Fach fehlt!");
    return std::nullopt;
  }
  resolved.room = entry.room.empty() ? plannedRoom : ws.base.findRoom(entry.room);
  if (!entry.room.empty() && resolved.room == 0) {
    ui.message("Kein Raum angegeben!");
    return std::nullopt;
  }
  return resolved;
}

// The checks of a manual placement, each overridable after "Kombination dennoch setzen?";
// the automatic run only sets what passes them. The class the teacher is taken from, or 0.
std::optional<int> checkTeacher(Workspace& ws, Ui& ui, const SubstitutionRequest& request, const Resolved& entry) {
  const uint16_t cell = ws.plan.timetable.teacher.at(entry.teacher, request.period, request.day);
  const int busyClass = cell >> 8;
  const std::string where = DayAbbrev(request.day) + " " + std::to_string(shownPeriod(ws, request.period)) + ": ";
  const std::string teacher = entityCode(ws.base.teachers, entry.teacher);
  const auto overridden = [&](const std::string& refusal) {
    if (request.unattended) return false;
    ui.message(where + refusal);
    return ui.askYesNo("Kombination dennoch setzen?", MessageStyle{Icon::Question});
  };
  if (busyClass != 0 && busyClass != request.schoolClass && !request.examPeriod &&
      !overridden("Eintrag f\xFCr " + teacher)) {
    return std::nullopt;
  }
  if ((cell & 255) != 0 && !request.reconstruct && !overridden("Sperre f\xFCr " + teacher)) return std::nullopt;
  return busyClass != request.schoolClass ? busyClass : 0;
}

bool roomFree(const Workspace& ws, Ui& ui, const SubstitutionRequest& request, int room, int releasedClass) {
  if (room == 0) return true;
  const int holder = ws.plan.timetable.room.at(room, request.period, request.day);
  if (holder == 0 || holder == request.schoolClass || holder == releasedClass) return true;
  if (!request.unattended) ui.message("Raum " + entityCode(ws.base.rooms, room) + " belegt!");
  return false;
}

// The freed lesson a note "st. 5A MO" names (class padded to 3, then the weekday); a note
// "st. MO3" (a moved lesson) names none.
void consumeNamedFreedLesson(Workspace& ws, int teacher, const std::string& note) {
  if (!note.starts_with("st. ") || note.size() < 9) return;
  const int c = ws.base.findClass(trimmedText(note.substr(4, 3)));
  const std::string dayName = note.substr(7, 2);
  if (c == 0) return;
  std::string& records = ws.plan.freedLessons;
  for (size_t i = 0; i < recordCount(records, FreedLessonView::kSize); ++i) {
    const FreedLessonView view(records, i);
    if (view.teacher() == teacher && view.schoolClass() == c && DayAbbrev(view.day()) == dayName) {
      removeRecordAt(records, i, FreedLessonView::kSize);
      return;
    }
  }
}

void placeLesson(Workspace& ws, const SubstitutionRequest& request, const Resolved& entry) {
  const Slot slot{request.day, request.period};
  const int c = request.schoolClass;
  placeUnits(ws, makeAssignment(entry.teacher, c, entry.subject, 1), slot, UnitPlacement{});
  uint16_t& roomWord = ws.plan.timetable.roomWord.at(c, request.period, request.day);
  if (request.reconstruct) {
    // The planned cell comes back bit for bit: coupling, markers and room.
    ws.plan.timetable.lessonWord.at(c, request.period, request.day) =
        ws.plan.reference.lessonWord.at(c, request.period, request.day);
    roomWord = ws.plan.reference.roomWord.at(c, request.period, request.day);
  } else {
    roomWord = static_cast<uint16_t>((roomWord & ~127U) | static_cast<unsigned>(entry.room));
  }
  const int room = RoomWord::room(roomWord);
  if (room >= 1 && room <= ws.base.nRooms()) ws.plan.timetable.room.at(room, request.period, request.day) = c;
}

std::string lineText(const Workspace& ws, const Resolved& entry, const ParsedEntry& parsed, const std::string& remark) {
  const std::string reason = remark.empty() ? std::string() : " " + remark;
  if (entry.cancelled) return "frei" + reason;
  std::string text = entityCode(ws.base.teachers, entry.teacher) + "-" + entityCode(ws.base.subjects, entry.subject);
  if (entry.room > 0) text += " in " + entityCode(ws.base.rooms, entry.room);
  text += reason;
  if (!parsed.note.empty()) text += " (" + parsed.note + ")";
  return text;
}

std::string doneMessage(const Workspace& ws, const SubstitutionRequest& request, const Resolved& entry) {
  std::string text = entityCode(ws.base.classes, request.schoolClass);
  if (entry.cancelled) return text + " frei gesetzt!";
  text += " in " + entityCode(ws.base.teachers, entry.teacher) + "-" + entityCode(ws.base.subjects, entry.subject);
  if (entry.room > 0) text += " in " + entityCode(ws.base.rooms, entry.room);
  return text + " gesetzt!";
}

}  // namespace

bool setSubstitution(Workspace& ws, Ui& ui, const SubstitutionRequest& request) {
  const int c = request.schoolClass;
  if (c < 1 || c > ws.base.nClasses() || request.day < 1 || request.day > 6 || request.period < 1 ||
      request.period > ws.base.periodsPerDay) {
    ui.message("Eingabefehler!");
    return false;
  }
  const auto openIndex = findOpenLesson(ws.plan.openLessons, c, request.day, request.period);
  const int plannedRoom = openIndex ? openLessonAt(ws.plan.openLessons, *openIndex).room
                                    : RoomWord::room(ws.plan.reference.roomWord.at(c, request.period, request.day));
  const ParsedEntry parsed = parseEntry(request.text);
  const auto entry = resolveEntry(ws, ui, parsed, plannedRoom);
  if (!entry) return false;
  const bool occupied = ws.plan.timetable.lessonWord.at(c, request.period, request.day) != 0;
  if (occupied && !request.examPeriod &&
      (request.unattended || !ui.askYesNo("Eintrag \xFC"
                                          "berschreiben?",
                                          MessageStyle{Icon::Question}))) {
    return false;
  }
  int takenFrom = 0;
  if (!entry->cancelled) {
    const auto busy = checkTeacher(ws, ui, request, *entry);
    if (!busy) return false;
    takenFrom = *busy;
    if (!roomFree(ws, ui, request, entry->room, takenFrom)) return false;
  }
  const DaySnapshot snapshot(ws);
  if (occupied) clearPeriods(ws, request.day, request.period, request.period, c);
  if (takenFrom != 0) {
    // The class the substitute leaves must not lose its teacher unnoticed.
    const uint16_t lesson = ws.plan.timetable.lessonWord.at(takenFrom, request.period, request.day);
    const uint16_t roomWord = ws.plan.timetable.roomWord.at(takenFrom, request.period, request.day);
    addOpenLesson(ws.plan.openLessons,
                  {entry->teacher, takenFrom, request.day, request.period, LessonWord::subject(lesson),
                   RoomWord::coupling(roomWord), RoomWord::room(roomWord)});
    clearPeriods(ws, request.day, request.period, request.period, takenFrom);
  }
  if (!entry->cancelled) placeLesson(ws, request, *entry);
  removeOpenLesson(ws.plan.openLessons, c, request.day, request.period);
  if (!request.reconstruct && !entry->cancelled) consumeNamedFreedLesson(ws, entry->teacher, parsed.note);
  ws.plan.modifiedPlan = true;
  const int coupling = openIndex ? openLessonAt(snapshot.openLessons, *openIndex).coupling : 0;
  const std::string line =
      substitutionLine(ws, c, request.period, coupling, lineText(ws, *entry, parsed, request.remark));
  if (!writeSubstitutionLines(ws, ui, request.date, {{line, request.remark}})) {
    snapshot.restore(ws);
    return false;
  }
  if (!request.unattended) ui.message(doneMessage(ws, request, *entry), MessageStyle{Icon::Information});
  return true;
}

std::string plannedLessonText(const Workspace& ws, int schoolClass, int day, int period) {
  const uint16_t lesson = ws.plan.reference.lessonWord.at(schoolClass, period, day);
  if (LessonWord::teacher(lesson) == 0) return {};
  std::string text = entityCode(ws.base.teachers, LessonWord::teacher(lesson)) + "-" +
                     entityCode(ws.base.subjects, LessonWord::subject(lesson));
  const int room = RoomWord::room(ws.plan.reference.roomWord.at(schoolClass, period, day));
  if (room > 0) text += " " + entityCode(ws.base.rooms, room);
  return text + " (st. " + DayAbbrev(day) + std::to_string(shownPeriod(ws, period)) + ")";
}

bool reconstructLesson(Workspace& ws, Ui& ui, const std::string& date, int schoolClass, int period) {
  const int day = Weekday(date);
  const std::string text = plannedLessonText(ws, schoolClass, day, period);
  if (text.empty()) {
    ui.message("Eingabefehler!");
    return false;
  }
  return setSubstitution(ws, ui, {date, day, period, schoolClass, text, {}, false, true});
}

namespace {

struct ChangedCell {
  int schoolClass = 0;
  int period = 0;
};

std::vector<ChangedCell> cellsOffPlan(const Workspace& ws, int day) {
  std::vector<ChangedCell> cells;
  const TimetableGrids& now = ws.plan.timetable;
  const TimetableGrids& planned = ws.plan.reference;
  if (planned.lessonWord.entities() < ws.base.nClasses()) return cells;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
      if (now.lessonWord.at(c, p, day) != planned.lessonWord.at(c, p, day) ||
          now.roomWord.at(c, p, day) != planned.roomWord.at(c, p, day)) {
        cells.push_back({c, p});
      }
    }
  }
  return cells;
}

void restoreMarks(Workspace& ws, int day) {
  for (const AbsenceMark& mark : ws.substitution.marks) {
    if (mark.day != day) continue;
    uint16_t& cell = ws.plan.timetable.teacher.at(mark.teacher, mark.period, mark.day);
    cell = static_cast<uint16_t>((cell & 0xFF00) | mark.previousLock);
  }
  std::erase_if(ws.substitution.marks, [&](const AbsenceMark& mark) { return mark.day == day; });
}

}  // namespace

bool cancelDay(Workspace& ws, Ui& ui, const std::string& date) {
  const int day = Weekday(date);
  if (day < 1 || day > 6) return true;
  const DaySnapshot snapshot(ws);
  restoreMarks(ws, day);
  const std::vector<ChangedCell> cells = cellsOffPlan(ws, day);
  for (const ChangedCell& cell : cells) clearPeriods(ws, day, cell.period, cell.period, cell.schoolClass);
  std::vector<SubstitutionLine> lines;
  for (const ChangedCell& cell : cells) {
    const uint16_t planned = ws.plan.reference.lessonWord.at(cell.schoolClass, cell.period, day);
    const int teacher = LessonWord::teacher(planned);
    if (teacher == 0) continue;
    const Resolved entry{false, teacher, LessonWord::subject(planned), 0};
    placeLesson(ws, {date, day, cell.period, cell.schoolClass, {}, {}, false, true}, entry);
    const std::string text = plannedLessonText(ws, cell.schoolClass, day, cell.period);
    lines.push_back({substitutionLine(ws, cell.schoolClass, cell.period, 0, text), {}});
  }
  for (size_t i = recordCount(ws.plan.openLessons, OpenLessonView::kSize); i-- > 0;) {
    if (OpenLessonView(ws.plan.openLessons, i).day() == day)
      removeRecordAt(ws.plan.openLessons, i, OpenLessonView::kSize);
  }
  for (size_t i = recordCount(ws.plan.freedLessons, FreedLessonView::kSize); i-- > 0;) {
    if (FreedLessonView(ws.plan.freedLessons, i).day() == day) {
      removeRecordAt(ws.plan.freedLessons, i, FreedLessonView::kSize);
    }
  }
  ws.plan.modifiedPlan = true;
  if (!lines.empty() && !writeSubstitutionLines(ws, ui, date, lines)) {
    snapshot.restore(ws);
    return false;
  }
  return true;
}

}  // namespace quort
