#include "substitution/day_plan.h"

#include <algorithm>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "editors/coupling_editing.h"
#include "substitution/absence_register.h"
#include "substitution/day_files.h"
#include "substitution/day_records.h"
#include "timetable/lesson_grid.h"
#include "timetable/lesson_writing.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string planTrimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

template <typename T>
std::string dayCodeOf(const std::vector<T>& list, int index) {
  return index >= 1 && index < static_cast<int>(list.size()) ? planTrimmed(list[static_cast<size_t>(index)].code)
                                                             : std::string();
}

// Internal periods of a shown range; 0 and 0 mean the whole day.
struct PeriodRange {
  int first = 0;
  int last = 0;
};
PeriodRange internalRange(const BaseData& base, int shownFirst, int shownLast) {
  const int lastShown = lastShownPeriod(base);
  const int a = shownFirst > 0 ? shownFirst : 1;
  const int b = shownLast > 0 ? std::min(shownLast, lastShown) : lastShown;
  if (!base.weekAlternation) return {a, b};
  return {2 * a - 1, std::min(2 * b, base.periodsPerDay)};
}

// What evaluating one absence works with.
struct Evaluation {
  Workspace& ws;
  Ui& ui;
  int day = 0;
  PeriodRange range;
  bool countFlag = true;
};

OpenLessonRecord lessonAt(const Workspace& ws, int c, int day, int period, int teacher) {
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, period, day);
  const uint16_t roomWord = ws.plan.timetable.roomWord.at(c, period, day);
  return {teacher, c, day, period, LessonWord::subject(lesson), RoomWord::coupling(roomWord), RoomWord::room(roomWord)};
}

// A course lesson is taken out only when the user says so; "Ab hier alle" stops asking.
bool takeCourseLesson(Evaluation& e, int c, int coupling, bool& all) {
  if (coupling == 0 || all) return true;
  const std::string prompt =
      "Kurs " + dayCodeOf(e.ws.base.classes, c) + " " + couplingText(e.ws, coupling) + " l\xF6schen:";
  const int answer = ChoiceBox(e.ws, e.ui, prompt, "#Nein|Ja|Ab hier alle").choiceResult;
  if (answer == 3) all = true;
  return answer >= 2;
}

void evaluateClass(Evaluation& e, const std::string& who) {
  Workspace& ws = e.ws;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    if (!classMatches(ws.base, c, who)) continue;
    bool all = false;
    for (int p = e.range.first; p <= e.range.last; ++p) {
      const uint16_t lesson = ws.plan.timetable.lessonWord.at(c, p, e.day);
      if (lesson == 0 || lesson == classLockWord(ws.base)) continue;
      const int t = LessonWord::teacher(lesson);
      const OpenLessonRecord open = lessonAt(ws, c, e.day, p, t);
      if (!takeCourseLesson(e, c, open.coupling, all)) continue;
      removeFreedLessonsOf(ws.plan.freedLessons, c, p, e.day);
      removeOpenLesson(ws.plan.openLessons, c, e.day, p);
      if (e.countFlag) addOpenLesson(ws.plan.openLessons, open);
      if (hasTeacherGrid(ws.base, t)) ws.plan.freedLessons += makeFreedLesson(t, c, p, e.day);
      clearPeriods(ws, e.day, p, p, c);
    }
  }
}

void markAbsent(Workspace& ws, int t, int p, int day) {
  uint16_t& cell = ws.plan.timetable.teacher.at(t, p, day);
  if ((cell & 255) != 0) return;  // a lock stays what it was; it blocks the teacher already
  ws.substitution.marks.push_back({t, p, day, 0});
  cell = static_cast<uint16_t>((cell & 0xFF00) | 2);
}

void evaluateTeacher(Evaluation& e, int t) {
  Workspace& ws = e.ws;
  for (int p = e.range.first; p <= e.range.last; ++p) {
    // The lesson is read before the mark is written over the cell.
    const int k = ws.plan.timetable.teacher.at(t, p, e.day) >> 8;
    if (k >= 1 && k <= ws.base.nClasses()) {
      addOpenLesson(ws.plan.openLessons, lessonAt(ws, k, e.day, p, t));
      const std::string freed = makeFreedLesson(t, k, p, e.day);
      if (e.countFlag && !findFreedLesson(ws.plan.freedLessons, freed)) ws.plan.freedLessons += freed;
      clearPeriods(ws, e.day, p, p, k);
    }
    markAbsent(ws, t, p, e.day);
  }
  if (!e.countFlag) removeFreedLessonsOnDay(ws.plan.freedLessons, t, e.day);
}

void evaluateRoom(Evaluation& e, int r) {
  Workspace& ws = e.ws;
  for (int p = e.range.first; p <= e.range.last; ++p) {
    const int k = ws.plan.timetable.room.at(r, p, e.day);
    if (k < 1 || k > ws.base.nClasses()) continue;
    const uint16_t lesson = ws.plan.timetable.lessonWord.at(k, p, e.day);
    addOpenLesson(ws.plan.openLessons, lessonAt(ws, k, e.day, p, LessonWord::teacher(lesson)));
    clearPeriods(ws, e.day, p, p, k);
  }
}

}  // namespace

int shownPeriod(const Workspace& ws, int period) { return ws.base.weekAlternation ? (period + 1) / 2 : period; }

bool evaluateDay(Workspace& ws, Ui& ui, const std::string& date) {
  const int day = Weekday(date);
  if (day < 1 || day > 6) return true;
  // Substitutions are measured against the plan as it stands when the day's work begins
  // (a plan generated or edited since it was opened included); a day in progress keeps
  // the plan it started from.
  if (ws.plan.openLessons.empty() && ws.plan.freedLessons.empty() && ws.substitution.marks.empty()) {
    ws.plan.reference.lessonWord = ws.plan.timetable.lessonWord;
    ws.plan.reference.roomWord = ws.plan.timetable.roomWord;
  }
  std::vector<std::string> processed;
  const std::vector<std::string> items = ws.substitution.absences;
  for (const std::string& item : items) {
    const AbsenceItemFields fields = parseAbsenceItem(item);
    const AbsenceTarget target = findAbsenceTarget(ws.base, fields.who);
    if (target.kind == AbsenceKind::None) continue;
    Evaluation e{ws, ui, day, internalRange(ws.base, fields.first, fields.last), fields.countFlag};
    if (target.kind == AbsenceKind::Class) evaluateClass(e, fields.who);
    if (target.kind == AbsenceKind::Teacher) evaluateTeacher(e, target.index);
    if (target.kind == AbsenceKind::Room) evaluateRoom(e, target.index);
    processed.push_back(item);
  }
  ws.plan.modifiedPlan = true;
  if (!settleForeignDayFile(ws, ui, date)) return false;
  if (!extendDayNotes(ui, date, processed)) return false;
  ws.shell.mainView = MainView::WeekGrid;
  ws.shell.showOriginalPlan = false;
  return true;
}

std::string absenceReasonFor(const Workspace& ws, int teacher, int schoolClass, int room, int period) {
  const int shown = shownPeriod(ws, period);
  for (const std::string& item : ws.substitution.absences) {
    const AbsenceItemFields fields = parseAbsenceItem(item);
    if (fields.first > 0 && (shown < fields.first || (fields.last > 0 && shown > fields.last))) continue;
    const AbsenceTarget target = findAbsenceTarget(ws.base, fields.who);
    const bool hit = (target.kind == AbsenceKind::Teacher && target.index == teacher) ||
                     (target.kind == AbsenceKind::Class && classMatches(ws.base, schoolClass, fields.who)) ||
                     (target.kind == AbsenceKind::Room && target.index == room && room > 0);
    if (hit) return fields.reason;
  }
  return {};
}

std::vector<std::string> openLessonLines(const Workspace& ws, int day) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < recordCount(ws.plan.openLessons, OpenLessonView::kSize); ++i) {
    const OpenLessonRecord open = openLessonAt(ws.plan.openLessons, i);
    if (day != 0 && open.day != day) continue;
    std::string line = DayAbbrev(open.day) + " " + std::to_string(shownPeriod(ws, open.period)) + ".Std. " +
                       dayCodeOf(ws.base.classes, open.schoolClass) + " " + dayCodeOf(ws.base.teachers, open.teacher) +
                       "-" + dayCodeOf(ws.base.subjects, open.subject);
    if (open.room > 0) line += " " + dayCodeOf(ws.base.rooms, open.room);
    if (open.coupling > 0) line += " K" + std::to_string(open.coupling);
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> freedLessonLines(const Workspace& ws) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < recordCount(ws.plan.freedLessons, FreedLessonView::kSize); ++i) {
    const FreedLessonView view(ws.plan.freedLessons, i);
    lines.push_back(dayCodeOf(ws.base.teachers, view.teacher()) + " st. " +
                    dayCodeOf(ws.base.classes, view.schoolClass()) + " " + DayAbbrev(view.day()) + " " +
                    std::to_string(shownPeriod(ws, view.period())) + ".Std.");
  }
  return lines;
}

}  // namespace quort
