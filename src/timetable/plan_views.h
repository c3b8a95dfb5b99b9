#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "timetable/lesson_grid.h"
#include "workspace/placement_state.h"
#include "workspace/shell_state.h"

namespace quort {

struct Workspace;

// Restricts a list to what concerns one class or teacher; 0 takes everything.
struct ListFilter {
  int schoolClass = 0;
  int teacher = 0;
};

// "zu setzen": the assignments with periods still to place, each line headed by its
// number in the assignment list (the number "N:" chooses), couplings with their courses,
// and the sum of the periods at the end.
std::vector<std::string> lessonsToPlaceList(const Workspace& ws, ListFilter filter);

// The lessons of the timetable that have no room yet ("Raumplan").
std::vector<std::string> missingRoomsList(const Workspace& ws, ListFilter filter);

// Where an entry can go: the slot check's code for every slot of the week (Free where it is
// usable) and, for a refusal, the text placeEntry would show.
struct SlotFit {
  CheckCode code = CheckCode::Free;
  std::string reason;
};
// One per slot, periods down and days across: index fitIndex(ws, slot). The check's
// remembered values and the current class and teacher stay as they were.
std::vector<SlotFit> entryFits(Workspace& ws, const std::string& entry);
size_t fitIndex(const Workspace& ws, Slot slot);

// "Resourcen" at the slot: the free rooms, the free teachers, and for the chosen entry the
// whole week as the slot check sees it ("." usable, otherwise the refusal code).
std::vector<std::string> resourcesText(Workspace& ws, Slot slot);

// The week plan of one entity with the cells as the view switches ask: days across,
// periods down.
std::vector<std::string> planGridLines(const Workspace& ws, PlanViewKind kind, int entity);

enum class OverviewPart { Classes = 1, Teachers = 2, Rooms = 3, Total = 4 };
// "Planübersicht": every class, teacher or room plan in turn, or the totals of the plan.
std::vector<std::string> planOverview(const Workspace& ws, OverviewPart part);

// Lines joined with CR LF for the text viewer.
std::string joinLines(const std::vector<std::string>& lines);

}  // namespace quort
