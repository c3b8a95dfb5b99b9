#include "timetable/block_building.h"

#include <algorithm>
#include <vector>

#include "data/plan_tables.h"
#include "timetable/coupling_analysis.h"
#include "workspace/dialogs.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// "3,7,12" as bytes; numbers that cannot be a coupling byte are left out.
std::string blockBytes(std::string_view text) {
  std::string bytes;
  int value = -1;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (c >= '0' && c <= '9') {
      value = std::min((value < 0 ? 0 : value) * 10 + (c - '0'), 1000);
    } else {
      if (value >= 1 && value <= 255) bytes += static_cast<char>(value);
      value = -1;
    }
  }
  return bytes;
}

std::string blockText(const std::vector<int>& block) {
  std::string text;
  for (const int k : block) text += (text.empty() ? "" : ",") + std::to_string(k);
  return text;
}

std::string asBytes(const std::vector<int>& block) {
  std::string bytes;
  for (const int k : block) bytes += static_cast<char>(k);
  return bytes + '\0';
}

class BlockChoice {
 public:
  BlockChoice(std::string_view candidates, const std::string& kept) : m_candidates(splitCandidates(candidates)) {
    for (const auto& block : m_candidates)
      for (const int k : block) m_inCandidates[static_cast<size_t>(k)] = true;
    for (const auto& block : splitCandidates(kept))
      for (const int k : block) m_inBlock[static_cast<size_t>(k)] = true;
    m_remaining.assign(m_candidates.size(), true);
  }

  // The best remaining candidate, or -1 when no coupling needs covering any more.
  int next() const {
    std::vector<int> frequency(256, 0);
    bool needed = false;
    for (size_t i = 0; i < m_candidates.size(); ++i) {
      if (!m_remaining[i]) continue;
      for (const int k : m_candidates[i]) {
        if (m_inBlock[static_cast<size_t>(k)]) continue;
        ++frequency[static_cast<size_t>(k)];
        needed = true;
      }
    }
    if (!needed) return -1;
    const int total = static_cast<int>(m_candidates.size());
    int best = -1;
    long bestSum = -1;
    for (size_t i = 0; i < m_candidates.size(); ++i) {
      if (!m_remaining[i]) continue;
      long sum = 0;
      for (const int k : m_candidates[i]) {
        if (!m_inBlock[static_cast<size_t>(k)]) sum += total - frequency[static_cast<size_t>(k)];
      }
      // On equal sums the later candidate wins.
      if (sum >= bestSum) {
        bestSum = sum;
        best = static_cast<int>(i);
      }
    }
    return best;
  }

  const std::vector<int>& take(int i) {
    m_remaining[static_cast<size_t>(i)] = false;
    for (const int k : m_candidates[static_cast<size_t>(i)]) m_inBlock[static_cast<size_t>(k)] = true;
    return m_candidates[static_cast<size_t>(i)];
  }

  size_t size() const { return m_candidates.size(); }

  // Candidate couplings that no block holds, each as a block of its own.
  std::string singles() const {
    std::string list;
    for (size_t k = 1; k < m_inCandidates.size(); ++k) {
      if (m_inCandidates[k] && !m_inBlock[k]) list += asBytes({static_cast<int>(k)});
    }
    return list;
  }

 private:
  std::vector<std::vector<int>> m_candidates;
  std::vector<bool> m_remaining;
  std::vector<bool> m_inCandidates = std::vector<bool>(256, false);
  std::vector<bool> m_inBlock = std::vector<bool>(256, false);
};

}  // namespace

std::string keepOldBlocks(const Workspace& ws, bool deleteOld) {
  std::string kept;
  if (deleteOld) return kept;
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) {
    const std::string bytes = blockBytes(ws.plan.blocks[static_cast<size_t>(b)]);
    if (!bytes.empty()) kept += bytes + '\0';
  }
  return kept;
}

std::optional<std::string> chooseBlocks(Workspace& ws, Ui& ui, std::string_view candidates, std::string kept) {
  ProgressPoll(ws, ui, "Blockwahl");
  if (ws.dialogs.abortRequested) return std::nullopt;
  BlockChoice choice(candidates, kept);
  for (size_t round = 0; round < choice.size(); ++round) {
    const int best = choice.next();
    if (best < 0) break;
    kept += asBytes(choice.take(best));
    ProgressPoll(ws, ui, "Blockwahl");
    if (ws.dialogs.abortRequested) return std::nullopt;
  }
  return kept + choice.singles();
}

int storeBlocks(std::vector<std::string>& blocks, std::string_view list) {
  int dropped = 0;
  for (const std::vector<int>& block : splitCandidates(list)) {
    if (static_cast<int>(blocks.size()) - 1 >= kMaxBlocks) {
      ++dropped;
    } else {
      blocks.push_back(blockText(block));
    }
  }
  return dropped;
}

BlockBuildOutcome buildBlocks(Workspace& ws, Ui& ui, const BlockBuildRequest& request) {
  ProgressOpen(ws, ui);
  ui.progressTitle("Automatische Blockerstellung");
  const CandidateList candidates = analyseCouplings(ws, ui, request.ranges);
  BlockBuildOutcome outcome = BlockBuildOutcome::NothingFound;
  if (candidates.aborted || ws.dialogs.abortRequested) {
    outcome = BlockBuildOutcome::Aborted;
  } else if (!candidates.bytes.empty()) {
    std::string kept = keepOldBlocks(ws, request.deleteOld);
    std::optional<std::string> list = request.automaticChoice ? chooseBlocks(ws, ui, candidates.bytes, std::move(kept))
                                                              : std::optional<std::string>(kept + candidates.bytes);
    if (list) {
      std::vector<std::string> blocks{std::string()};
      if (const int dropped = storeBlocks(blocks, *list)) {
        ui.message("Blockliste voll! " + std::to_string(dropped) +
                       " Bl\xF6"
                       "cke nicht gespeichert.",
                   MessageStyle{Icon::Exclamation, kProgramTitle, true});
      }
      ws.plan.blocks = std::move(blocks);
      ws.plan.modifiedCouplings = true;
      outcome = BlockBuildOutcome::Stored;
    } else {
      outcome = BlockBuildOutcome::Aborted;
    }
  }
  ProgressClose(ui);
  return outcome;
}

}  // namespace quort
