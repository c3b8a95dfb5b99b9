#pragma once

#include <string_view>

#include "timetable/lesson_grid.h"

namespace quort {

struct Workspace;

struct UnitPlacement {
  int extra = 0;    // further consecutive periods
  int markers = 0;  // 1 marker "¹" (bit 7 of the room word), 2 marker "²" (index mark)
  int source = 0;   // not 0: the teacher locks come from the reference plan's teacher grid
};

// Writes the units into the class grid and everything that follows from it, for the period
// of the slot and the extra periods after it (cut at the end of the day). The cells must be
// free; the rooms already in them stay. Returns the number of periods written per unit.
int placeUnits(Workspace& ws, std::string_view units, Slot slot, UnitPlacement placement);

// Empties the class's cells from first to last on the day and undoes what they meant for
// rooms, teachers, subjects and the lesson counts.
void clearPeriods(Workspace& ws, int day, int first, int last, int schoolClass);

}  // namespace quort
