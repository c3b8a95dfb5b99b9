#include "timetable/coupling_blocks.h"

#include "data/plan_tables.h"

namespace quort {

std::vector<int> blockCouplings(std::string_view text) {
  std::vector<int> couplings;
  size_t at = 0;
  while (at <= text.size()) {
    const size_t comma = std::min(text.find(',', at), text.size());
    int k = 0;
    bool digits = comma > at;
    for (size_t i = at; i < comma && digits; ++i) {
      digits = text[i] >= '0' && text[i] <= '9';
      if (digits && k < 100000) k = k * 10 + (text[i] - '0');
    }
    if (digits && k > 0) couplings.push_back(k);
    at = comma + 1;
  }
  return couplings;
}

BlockGroups::BlockGroups(const PlanTables& plan) : m_blockOf(static_cast<size_t>(plan.nCouplings()) + 1, 0) {
  for (int b = 1; b <= plan.nBlocks(); ++b) {
    for (const int k : blockCouplings(plan.blocks[static_cast<size_t>(b)])) {
      if (k > plan.nCouplings() || m_blockOf[static_cast<size_t>(k)] != 0) continue;
      m_blockOf[static_cast<size_t>(k)] = b;
      m_empty = false;
    }
  }
}

int BlockGroups::blockOf(int coupling) const {
  return coupling >= 1 && static_cast<size_t>(coupling) < m_blockOf.size() ? m_blockOf[static_cast<size_t>(coupling)]
                                                                           : 0;
}

std::vector<int> BlockGroups::groupOf(int coupling) const {
  std::vector<int> group{coupling};
  const int block = blockOf(coupling);
  if (block == 0) return group;
  for (size_t k = 1; k < m_blockOf.size(); ++k) {
    if (m_blockOf[k] == block && static_cast<int>(k) != coupling) group.push_back(static_cast<int>(k));
  }
  return group;
}

}  // namespace quort
