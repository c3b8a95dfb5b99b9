#pragma once

#include <string>
#include <vector>

namespace quort {

// The records of the open plan: assignments, couplings, blocks and the grids.
// Sized from the base data whenever base data or a plan are loaded.
struct PlanTables {
  std::string assignments;                         // 4-byte records back to back
  std::string assignmentBuffer;                    // 4-byte records set aside
  std::vector<std::string> blocks{std::string()};  // [1..nBlocks]: coupling numbers separated by ","
  bool modifiedPlan = false;
  bool modifiedCouplings = false;
  bool modifiedLocks = false;
  std::string planName;

  int nBlocks() const { return static_cast<int>(blocks.size()) - 1; }
  bool anyChange() const { return modifiedPlan || modifiedCouplings || modifiedLocks; }
};

}  // namespace quort
