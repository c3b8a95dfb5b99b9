#pragma once

#include <string>
#include <vector>

#include "timetable/generation_filter.h"

namespace quort {

struct Workspace;
class Ui;

// What "Plan vervollständigen" works on and how long it may try.
struct CompletionSettings {
  GenerationFilter filter;      // the entries to place, chosen as "Autom.Setzen" chooses them
  bool shiftCouplings = false;  // coupled lessons outside blocks may move to make room
  long iterationBudget = 0;     // moves to try; 0: a budget from the number of open periods
  double timeLimitSeconds = 10;
};

struct CompletionReport {
  int openBefore = 0;  // periods in the assignments
  int openAfter = 0;
  int gapsBefore = 0;  // teacher gaps over the week
  int gapsAfter = 0;
  long iterations = 0;
  bool aborted = false;   // "Aktion abbrechen?" answered Yes
  bool timedOut = false;  // the time limit ended the run
  // Why each entry still open cannot be placed, "MA 7B: Lehrer MR an allen freien Stunden
  // der Klasse belegt" (Windows-1252).
  std::vector<std::string> reasons;
};

// Places the open periods of the filtered assignment entries without breaking any rule of
// the slot check, moving lessons already placed (never fixed ones, class locks, or
// couplings that belong to a block) where that makes room. The run keeps the best plan it
// has seen, fewest open periods first, then fewest teacher gaps, and ends in it: open
// periods never increase. Random choices draw from ws.random, so the same plan gives the
// same result; the time limit is only a safety net behind the iteration budget (which a
// run without a given number of moves extends while it still finds fewer open periods).
// Shows placed and open periods in the progress window, which the caller opens.
CompletionReport completePlan(Workspace& ws, Ui& ui, const CompletionSettings& settings);

// Periods still in the assignments (a coupling entry's periods count once).
int openPeriodCount(const Workspace& ws);
// Free periods between a teacher's first and last lesson of a day, over all teachers.
int teacherGapCount(const Workspace& ws);

}  // namespace quort
