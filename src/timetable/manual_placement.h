#pragma once

#include <cstddef>
#include <string>

#include "timetable/lesson_grid.h"

namespace quort {

struct Workspace;
class Ui;

enum class PlaceOutcome {
  Placed,
  NothingToPlace,  // an empty entry, no periods left, or a coupling without courses
  Declined,        // the user did not override a refusal
  Unreliable,      // a lesson in the way could not be removed: "Daten nicht mehr zuverlässig!"
};

// Places one assignment entry at the slot the way the user does it by hand: every refusal
// of the slot check is shown and may be overridden, one check at a time; lessons in the
// way then go back into the assignments. entry keeps the periods still to place (its
// markers stay); mode collects the CheckMode bits of the overridden checks.
PlaceOutcome placeEntry(Workspace& ws, Ui& ui, std::string& entry, Slot slot, int& mode);

// Places entry index of the assignments. What is left of it keeps its place in the list,
// so the "zu setzen" list does not reorder under the user's hands.
PlaceOutcome placeAssignment(Workspace& ws, Ui& ui, size_t index, Slot slot);

// The text for a refusal of the last slot check, as placeEntry shows it.
std::string refusalText(const Workspace& ws);

}  // namespace quort
