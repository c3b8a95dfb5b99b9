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

// A moved lesson takes its rooms along: each class's cell the placement wrote gets the room
// the same class had at the matching period of the old slot, as long as nobody holds that
// room at the new time. Otherwise the cell stays without a room, like any new placement.
void keepRooms(Workspace& ws, const PlanSnapshot& before, Slot from, Slot to) {
  TimetableGrids& grids = ws.plan.timetable;
  const TimetableGrids& old = before.timetable;
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    for (int q = 1; q <= ws.base.periodsPerDay; ++q) {
      const int source = from.period + (q - to.period);
      if (source < 1 || source > ws.base.periodsPerDay) continue;
      const uint16_t lesson = grids.lessonWord.at(c, q, to.day);
      uint16_t& roomWord = grids.roomWord.at(c, q, to.day);
      const bool written = lesson != old.lessonWord.at(c, q, to.day) || roomWord != old.roomWord.at(c, q, to.day);
      if (LessonWord::teacher(lesson) == 0 || RoomWord::room(roomWord) != 0 || !written) continue;
      const uint16_t was = old.lessonWord.at(c, source, from.day);
      if (LessonWord::teacher(was) != LessonWord::teacher(lesson) ||
          LessonWord::subject(was) != LessonWord::subject(lesson)) {
        continue;
      }
      const int room = RoomWord::room(old.roomWord.at(c, source, from.day));
      if (room < 1 || room > ws.base.nRooms() || grids.room.at(room, q, to.day) != 0) continue;
      roomWord = static_cast<uint16_t>((roomWord & ~127U) | static_cast<unsigned>(room));
      grids.room.at(room, q, to.day) = static_cast<uint16_t>(c);
    }
  }
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
  if (index && placeAssignment(ws, ui, *index, request.to) == PlaceOutcome::Placed) {
    keepRooms(ws, before, request.from, request.to);
    return MoveOutcome::Moved;
  }
  before.restoreInto(ws.plan);
  recountHoursToPlace(ws);
  return MoveOutcome::Refused;
}

}  // namespace quort

namespace quort {

std::vector<SlotFit> lessonFits(Workspace& ws, Ui& ui, int schoolClass, Slot from) {
  if (schoolClass < 1 || schoolClass > ws.base.nClasses()) return {};
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(schoolClass, from.period, from.day);
  if (LessonWord::teacher(lesson) == 0 || lesson == classLockWord(ws.base)) return {};
  const PlanSnapshot before = PlanSnapshot::of(ws.plan);
  const PlacementState placement = ws.placement;
  const int currentClass = ws.shell.currentClass;
  const int currentTeacher = ws.shell.currentTeacher;
  std::string taken;
  std::vector<SlotFit> fits;
  // Unprotected: the marks only look, so a fixed or coupled lesson needs no question here.
  if (!removeLesson(ws, ui, from, schoolClass, RemoveMode::kUnprotected, taken) &&
      taken.size() >= AssignmentView::kSize) {
    fits = entryFits(ws, taken.substr(0, AssignmentView::kSize));
  }
  before.restoreInto(ws.plan);
  ws.placement = placement;
  ws.shell.currentClass = currentClass;
  ws.shell.currentTeacher = currentTeacher;
  return fits;
}

}  // namespace quort
