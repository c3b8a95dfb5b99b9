#pragma once

#include "shell/main_view_model.h"

namespace quort {

struct Workspace;

// How the cell of the current class, teacher or room at (period, day) stands on the
// substitution day (the weekday of the current date) compared with the plan: substituted,
// cancelled, still open, or an absent teacher's. Other days are never marked.
GridCell::DayMark substitutionDayMark(const Workspace& ws, int period, int day);

}  // namespace quort
