#pragma once

#include <string_view>

#include "timetable/lesson_grid.h"
#include "workspace/placement_state.h"

namespace quort {

struct Workspace;

struct SlotCheckOptions {
  int level = 0;  // teacher cells up to this value count as free: locks up to it are overridden
  int extra = 0;  // further consecutive periods
  int mode = 0;   // CheckMode bits
};

// Whether the unit list can be placed at the slot (and the extra periods after it). The
// checks run in a fixed order and the first that fails gives the code; the workspace keeps
// where it stopped (placement.result) and the days on which the combination stands already.
CheckCode checkSlot(Workspace& ws, std::string_view units, Slot slot, SlotCheckOptions options);

}  // namespace quort
