#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quort {

struct BaseData;
struct PlanTables;

// Enters one stored timetable cell into the class grid and what follows from it: the
// room (a class holding it already in that slot loses it), the teacher grid with the
// teacher's day count, the subject usage and the lessons per class.
struct TimetableCell {
  int schoolClass = 0;
  int period = 0;
  int day = 0;
  uint16_t lessonWord = 0;
  uint16_t roomWord = 0;
};
void enterTimetableCell(const BaseData& base, PlanTables& plan, TimetableCell cell, bool readingPlanFile);

// Rebuilds lessons per class, the room grid and the derived parts of the teacher and
// subject grids from the class grid, keeping the locks.
void recomputeDerivedGrids(const BaseData& base, PlanTables& plan);

// Every difference between the stored derived grids and what the class grid and the
// locks imply, one line each.
std::vector<std::string> derivedGridDifferences(const BaseData& base, const PlanTables& plan);

}  // namespace quort
