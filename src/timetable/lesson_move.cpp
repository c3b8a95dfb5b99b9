#include "timetable/lesson_move.h"

#include <optional>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_removal.h"
#include "timetable/manual_placement.h"
#include "workspace/plan_history.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::optional<size_t> entryIndexOf(const std::string& list, const std::string& key) {
  const AssignmentView wanted(key, 0);
  if (!wanted.isCoupling()) return findAssignment(list, key);
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView entry(list, i);
    if (entry.isCoupling() && entry.couplingNumber() == wanted.couplingNumber() && entry.periods() > 0) return i;
  }
  return std::nullopt;
}

std::string trimmedAt(const auto& table, int index) {
  if (index < 1 || index >= static_cast<int>(table.size())) return "?";
  return trimmedCode(table[static_cast<size_t>(index)].code);
}

}  // namespace

std::string entryKeyAt(const Workspace& ws, int schoolClass, Slot slot) {
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(schoolClass, slot.period, slot.day);
  const int coupling = RoomWord::coupling(ws.plan.timetable.roomWord.at(schoolClass, slot.period, slot.day));
  if (coupling == 0) return makeAssignment(LessonWord::teacher(lesson), schoolClass, LessonWord::subject(lesson), 0);
  return makeAssignment(0, 0, coupling, 0);
}

std::string lessonMoveName(const Workspace& ws, int schoolClass, Slot from, Slot to) {
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(schoolClass, from.period, from.day);
  return trimmedAt(ws.base.subjects, LessonWord::subject(lesson)) + " " + trimmedAt(ws.base.classes, schoolClass) +
         " nach " + DayAbbrev(to.day) + " " + std::to_string(to.period);
}

MoveOutcome moveLesson(Workspace& ws, Ui& ui, MoveRequest request) {
  const int c = request.schoolClass;
  if (c < 1 || c > ws.base.nClasses() ||
      LessonWord::teacher(ws.plan.timetable.lessonWord.at(c, request.from.period, request.from.day)) == 0) {
    return MoveOutcome::NoLesson;
  }
  const PlanSnapshot before = PlanSnapshot::of(ws.plan);
  const std::string key = entryKeyAt(ws, c, request.from);
  ws.history.name(lessonMoveName(ws, c, request.from, request.to));
  recountHoursToPlace(ws);
  if (removeLesson(ws, ui, request.from, c, RemoveMode::kAsk, ws.plan.assignments)) return MoveOutcome::Refused;
  const auto index = entryIndexOf(ws.plan.assignments, key);
  if (index && placeAssignment(ws, ui, *index, request.to) == PlaceOutcome::Placed) return MoveOutcome::Moved;
  before.restoreInto(ws.plan);
  recountHoursToPlace(ws);
  return MoveOutcome::Refused;
}

}  // namespace quort
