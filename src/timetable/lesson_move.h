#pragma once

#include <string>
#include <vector>

#include "timetable/lesson_grid.h"
#include "timetable/plan_views.h"

namespace quort {

struct Workspace;
class Ui;

struct MoveRequest {
  int schoolClass = 0;
  Slot from;
  Slot to;
};

enum class MoveOutcome {
  Moved,
  NoLesson,  // the class has no lesson at the slot it comes from
  Refused,   // a removal or a placement was refused or declined: the plan is as it was
};

// The assignment key a lesson of the class at the slot goes back under: the coupling for
// a coupled lesson, otherwise teacher, class and subject.
std::string entryKeyAt(const Workspace& ws, int schoolClass, Slot slot);

// "MA 7B nach DI 3": how the undo history names the lesson going to a slot.
std::string lessonMoveName(const Workspace& ws, int schoolClass, Slot from, Slot to);

// Moves the lesson (with its block and coupling) as one step: removeLesson takes it out
// and placeEntry sets it at the new slot, with the same checks and questions as the
// commands. Anything refused puts every table back the way it was.
MoveOutcome moveLesson(Workspace& ws, Ui& ui, MoveRequest request);

// Where the class's lesson at the slot could be moved: the slot check's answer for its
// entry at every slot of the week (as entryFits gives it) with the lesson, its coupling and
// its block already taken out, so its own slot counts as free. The plan stays as it was;
// empty when there is no lesson to move.
std::vector<SlotFit> lessonFits(Workspace& ws, Ui& ui, int schoolClass, Slot from);

}  // namespace quort
