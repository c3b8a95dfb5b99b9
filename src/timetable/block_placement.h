#pragma once

#include <vector>

#include "timetable/lesson_grid.h"
#include "timetable/manual_placement.h"

namespace quort {

struct Workspace;
class Ui;

// Places the couplings of a block ("#9,20" after ">+n") by hand in one slot: each with
// the checks and questions of placeEntry, one after the other, all or nothing. When one
// of them has no periods left, is declined or cannot be placed, the plan and the
// assignments are as before.
PlaceOutcome placeCouplings(Workspace& ws, Ui& ui, const std::vector<int>& couplings, Slot slot);

// Takes the lessons of the couplings out of the slot and gives their periods back to the
// assignments, all or none: every coupling must stand there, and a protected lesson the
// user keeps leaves the others in place. true when nothing was taken out.
bool removeCouplings(Workspace& ws, Ui& ui, const std::vector<int>& couplings, Slot slot);

}  // namespace quort
