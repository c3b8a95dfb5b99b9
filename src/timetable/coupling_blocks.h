#pragma once

#include <string_view>
#include <vector>

namespace quort {

struct PlanTables;

// The coupling numbers of a block text ("9,20"), in its order; numbers that are not
// above 0 are left out.
std::vector<int> blockCouplings(std::string_view text);

// Which couplings go into the plan together. A coupling may stand in several blocks (the
// block choice can overlap, and without it every candidate is stored); it goes with the
// first block that names it, so that the groups never overlap and a coupling is placed
// in exactly one slot per period.
class BlockGroups {
 public:
  explicit BlockGroups(const PlanTables& plan);

  bool empty() const { return m_empty; }
  // The block a coupling goes with, 0 for none.
  int blockOf(int coupling) const;
  // The couplings placed together with coupling (itself first); just {coupling} for one
  // that belongs to no block.
  std::vector<int> groupOf(int coupling) const;

 private:
  std::vector<int> m_blockOf;  // [coupling]
  bool m_empty = true;
};

}  // namespace quort
