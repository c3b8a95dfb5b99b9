#include "timetable/block_placement.h"

#include <algorithm>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_removal.h"
#include "workspace/plan_history.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const MessageStyle kRefusal{Icon::Exclamation, kProgramTitle, true};

// Each coupling once, in the order given.
std::vector<int> distinct(const std::vector<int>& couplings) {
  std::vector<int> out;
  for (const int k : couplings) {
    if (std::find(out.begin(), out.end(), k) == out.end()) out.push_back(k);
  }
  return out;
}

bool couplingsValid(const Workspace& ws, Ui& ui, const std::vector<int>& couplings) {
  for (const int k : couplings) {
    if (k < 1 || k > ws.plan.nCouplings()) {
      ui.message("Keine zul\xE4ssige Kopplung!", kRefusal);
      return false;
    }
  }
  return !couplings.empty();
}

std::optional<size_t> openEntryOf(const std::string& list, int coupling) {
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView entry(list, i);
    if (entry.isCoupling() && entry.couplingNumber() == coupling && entry.periods() > 0) return i;
  }
  return std::nullopt;
}

// A class of the coupling whose cell at the slot carries the coupling; 0 for none.
int classOfCouplingAt(const Workspace& ws, int coupling, Slot slot) {
  const std::string& members = ws.plan.couplings[static_cast<size_t>(coupling)];
  const TimetableGrids& grids = ws.plan.timetable;
  for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
    const int c = CouplingMemberView(members, m).schoolClass();
    if (c < 1 || c > ws.base.nClasses()) continue;
    if (grids.lessonWord.at(c, slot.period, slot.day) != 0 &&
        RoomWord::coupling(grids.roomWord.at(c, slot.period, slot.day)) == coupling)
      return c;
  }
  return 0;
}

std::string slotText(Slot slot) { return DayAbbrev(slot.day) + " " + std::to_string(slot.period); }

}  // namespace

PlaceOutcome placeCouplings(Workspace& ws, Ui& ui, const std::vector<int>& couplings, Slot slot) {
  const std::vector<int> block = distinct(couplings);
  if (!couplingsValid(ws, ui, block)) return PlaceOutcome::NothingToPlace;
  for (const int k : block) {
    if (!openEntryOf(ws.plan.assignments, k)) {
      ui.message("Keine Stunden f\xFCr Kopplung " + std::to_string(k) + " zu setzen!");
      return PlaceOutcome::NothingToPlace;
    }
  }
  const PlanSnapshot before = PlanSnapshot::of(ws.plan);
  for (const int k : block) {
    // Placing one coupling may clear lessons out of the way and so move the others' entries.
    const auto index = openEntryOf(ws.plan.assignments, k);
    const PlaceOutcome outcome = index ? placeAssignment(ws, ui, *index, slot) : PlaceOutcome::NothingToPlace;
    if (outcome != PlaceOutcome::Placed) {
      before.restoreInto(ws.plan);
      recountHoursToPlace(ws);
      return outcome;
    }
  }
  return PlaceOutcome::Placed;
}

bool removeCouplings(Workspace& ws, Ui& ui, const std::vector<int>& couplings, Slot slot) {
  const std::vector<int> block = distinct(couplings);
  if (!couplingsValid(ws, ui, block)) return true;
  for (const int k : block) {
    if (classOfCouplingAt(ws, k, slot) == 0) {
      ui.message("Kopplung " + std::to_string(k) + " in " + slotText(slot) + " nicht gesetzt!", kRefusal);
      return true;
    }
  }
  const PlanSnapshot before = PlanSnapshot::of(ws.plan);
  for (const int k : block) {
    const int c = classOfCouplingAt(ws, k, slot);
    if (c == 0 || removeLesson(ws, ui, slot, c, RemoveMode::kAsk, ws.plan.assignments)) {
      before.restoreInto(ws.plan);
      recountHoursToPlace(ws);
      return true;
    }
  }
  return false;
}

}  // namespace quort
