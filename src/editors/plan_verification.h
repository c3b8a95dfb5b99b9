#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;

// Checks every index the plan holds against the base data (assignments and buffer,
// couplings and blocks, the class grid, the open and freed lessons, the sizes of the
// grids), then recomputes the teacher, room and subject grids from the class grids and
// compares. One German line per finding; empty when the plan is sound.
std::vector<std::string> verifyPlan(const Workspace& ws);

}  // namespace quort
