#include "shell/day_view_marks.h"

#include <algorithm>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "substitution/day_records.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

using Mark = GridCell::DayMark;

Mark classMark(const Workspace& ws, int c, int period, int day) {
  if (c < 1 || c > ws.base.nClasses()) return Mark::None;
  if (findOpenLesson(ws.plan.openLessons, c, day, period)) return Mark::Open;
  const uint16_t now = ws.plan.timetable.lessonWord.at(c, period, day);
  const uint16_t planned = ws.plan.reference.lessonWord.at(c, period, day);
  const bool sameRoom = ws.plan.timetable.roomWord.at(c, period, day) == ws.plan.reference.roomWord.at(c, period, day);
  if (now == planned && sameRoom) return Mark::None;
  if (now == 0) return planned == 0 ? Mark::None : Mark::Cancelled;
  return Mark::Substituted;
}

bool markedAbsent(const Workspace& ws, int t, int period, int day) {
  return std::any_of(ws.substitution.marks.begin(), ws.substitution.marks.end(), [&](const AbsenceMark& mark) {
    return mark.teacher == t && mark.period == period && mark.day == day;
  });
}

}  // namespace

GridCell::DayMark substitutionDayMark(const Workspace& ws, int period, int day) {
  if (day != Weekday(ws.dialogs.currentDate)) return Mark::None;
  if (ws.plan.reference.lessonWord.entities() < ws.base.nClasses()) return Mark::None;
  if (period < 1 || period > ws.plan.reference.lessonWord.periods()) return Mark::None;
  const ShellState& shell = ws.shell;
  switch (shell.view.kind) {
    case PlanEntity::Class:
      return classMark(ws, shell.currentClass, period, day);
    case PlanEntity::Teacher: {
      const int t = shell.currentTeacher;
      if (t < 1 || t >= ws.base.nTeachers()) return Mark::None;
      if (markedAbsent(ws, t, period, day)) return Mark::Absent;
      const int c = ws.plan.timetable.teacher.at(t, period, day) >> 8;
      return classMark(ws, c, period, day) == Mark::Substituted ? Mark::Substituted : Mark::None;
    }
    case PlanEntity::Room: {
      const int r = shell.view.currentRoom;
      if (r < 1 || r > ws.base.nRooms()) return Mark::None;
      const int c = ws.plan.timetable.room.at(r, period, day);
      return classMark(ws, c, period, day) == Mark::Substituted ? Mark::Substituted : Mark::None;
    }
    case PlanEntity::Subject:
      break;
  }
  return Mark::None;
}

}  // namespace quort
