#include "timetable/coupling_analysis.h"

#include <algorithm>
#include <bitset>
#include <utility>

#include "data/base_data.h"
#include "data/number_text.h"
#include "data/plan_records.h"
#include "timetable/lesson_grid.h"
#include "workspace/dialogs.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// Teachers and classes as one set of resources: teacher t at t, class c at 128 + c.
using ResourceSet = std::bitset<256>;
constexpr int kClassResourceBase = 128;

struct RangeSelection {
  std::vector<bool> couplings;  // [0..n]
  bool anyCoupling = false;
  std::vector<int> grades;
};

RangeSelection parseRanges(std::string_view ranges, int n) {
  RangeSelection selection;
  selection.couplings.assign(static_cast<size_t>(n) + 1, false);
  size_t start = 0;
  while (start < ranges.size()) {
    const size_t end = std::min(ranges.find('#', start), ranges.size());
    const std::string_view item = ranges.substr(start, end - start);
    start = end + 1;
    const size_t dash = item.find('-');
    if (dash == std::string_view::npos) {
      const int grade = static_cast<int>(numericValue(item));
      if (grade > 0) selection.grades.push_back(grade);
      continue;
    }
    selection.anyCoupling = true;
    int first = static_cast<int>(std::clamp(numericValue(item.substr(0, dash)), 0.0, 1000.0));
    int last = static_cast<int>(std::clamp(numericValue(item.substr(dash + 1)), 0.0, 1000.0));
    if (first > last) std::swap(first, last);
    for (int k = std::max(first, 1); k <= std::min(last, n); ++k) selection.couplings[static_cast<size_t>(k)] = true;
  }
  return selection;
}

bool inGrades(const Workspace& ws, const std::string& members, const std::vector<int>& grades) {
  for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
    const int c = CouplingMemberView(members, i).schoolClass();
    if (c < 1 || c > ws.base.nClasses()) continue;
    const int grade = static_cast<int>(numericValue(ws.base.classes[static_cast<size_t>(c)].code));
    if (std::find(grades.begin(), grades.end(), grade) != grades.end()) return true;
  }
  return false;
}

// The sentinel teacher stands for "some teacher" and holds no resource of its own.
ResourceSet resourcesOf(const BaseData& base, const std::string& members) {
  ResourceSet uses;
  for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
    const CouplingMemberView member(members, i);
    if (hasTeacherGrid(base, member.teacher()) && member.teacher() < kClassResourceBase) uses.set(member.teacher());
    if (member.schoolClass() >= 1 && member.schoolClass() <= base.nClasses() &&
        member.schoolClass() < kClassResourceBase) {
      uses.set(static_cast<size_t>(kClassResourceBase + member.schoolClass()));
    }
  }
  return uses;
}

// Members count against the room group they use, as the slot check counts them: only
// lessons with a real teacher, subjects sharing rooms together.
std::vector<int> roomUseOf(const BaseData& base, const std::string& members) {
  std::vector<int> use(static_cast<size_t>(base.nSubjects()) + 1, 0);
  for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
    const CouplingMemberView member(members, i);
    if (!hasTeacherGrid(base, member.teacher())) continue;
    if (const int group = roomGroup(base, member.subject())) ++use[static_cast<size_t>(group)];
  }
  return use;
}

// A room count of 0 (the field "0") sets no limit, as in the slot check.
std::vector<int> capacities(const BaseData& base) {
  std::vector<int> capacity(static_cast<size_t>(base.nSubjects()) + 1, 0);
  for (int s = 1; s <= base.nSubjects(); ++s) {
    const int spec = base.subjects[static_cast<size_t>(s)].roomSpec;
    if (spec > 0) capacity[static_cast<size_t>(s)] = spec & 255;
  }
  return capacity;
}

// The stored candidates read backwards: a new set is already there when it ends one of
// them, i.e. when its reversed bytes are a path from the root.
class SuffixTrie {
 public:
  bool contains(const std::vector<int>& set) const {
    int node = 0;
    for (auto it = set.rbegin(); it != set.rend() && node >= 0; ++it) node = child(node, *it);
    return node >= 0;
  }
  void insert(const std::vector<int>& set) {
    int node = 0;
    for (auto it = set.rbegin(); it != set.rend(); ++it) {
      int next = child(node, *it);
      if (next < 0) {
        next = static_cast<int>(m_children.size());
        m_children.emplace_back();
        m_children[static_cast<size_t>(node)].emplace_back(*it, next);
      }
      node = next;
    }
  }

 private:
  int child(int node, int value) const {
    for (const auto& [v, next] : m_children[static_cast<size_t>(node)])
      if (v == value) return next;
    return -1;
  }
  std::vector<std::vector<std::pair<int, int>>> m_children{1};
};

// The descent of enumerateBlocks. The stack holds coupling numbers in increasing order;
// the members below the top are "committed": their room use is summed and the couplings
// compatible with all of them are known.
class BlockEnumerator {
 public:
  BlockEnumerator(const CouplingAnalysis& analysis, const EnumerationLimits& limits)
      : m_a(analysis), m_limits(limits), m_n(analysis.nCouplings), m_sums(analysis.capacity.size(), 0) {
    for (int k = 0; k <= m_n; ++k) {
      std::vector<std::pair<int, int>> uses;
      const std::vector<int>& use = m_a.roomUse[static_cast<size_t>(k)];
      for (size_t g = 0; g < use.size(); ++g) {
        if (use[g] > 0 && m_a.capacity[g] > 0) uses.emplace_back(static_cast<int>(g), use[g]);
      }
      m_uses.push_back(std::move(uses));
    }
  }

  CandidateList run() {
    if (m_n < 1) return std::move(m_result);
    m_stack.assign(2, 0);
    m_masks.assign(2, CouplingAnalysis::CouplingSet().set());
    m_stack[1] = 1;
    int depth = 1;
    long steps = 0;
    for (;;) {
      if (m_result.bytes.size() >= m_limits.maxBytes) {
        m_result.incomplete = true;
        break;
      }
      if (++steps % m_limits.pollInterval == 0 && m_limits.abortRequested && m_limits.abortRequested()) {
        m_result.aborted = true;
        break;
      }
      int& top = m_stack[static_cast<size_t>(depth)];
      while (top <= m_n && !m_a.selected[static_cast<size_t>(top)]) ++top;
      if (top > m_n) {
        if (!backAndMark(depth)) break;
      } else if (fits(top, depth)) {
        if (top == m_n) {
          mark(depth);
          if (!back(depth)) break;
        } else {
          push(depth);
        }
      } else if (top >= m_n) {
        if (!backAndMark(depth)) break;
      }
      ++m_stack[static_cast<size_t>(depth)];
    }
    return std::move(m_result);
  }

 private:
  bool fits(int k, int depth) const {
    if (!m_masks[static_cast<size_t>(depth)].test(static_cast<size_t>(k))) return false;
    return std::all_of(m_uses[static_cast<size_t>(k)].begin(), m_uses[static_cast<size_t>(k)].end(), [&](auto use) {
      return m_sums[static_cast<size_t>(use.first)] + use.second <= m_a.capacity[static_cast<size_t>(use.first)];
    });
  }

  void addUse(int k, int sign) {
    for (const auto& [group, count] : m_uses[static_cast<size_t>(k)])
      m_sums[static_cast<size_t>(group)] += sign * count;
  }

  void push(int& depth) {
    const int top = m_stack[static_cast<size_t>(depth)];
    addUse(top, 1);
    const CouplingAnalysis::CouplingSet mask =
        m_masks[static_cast<size_t>(depth)] & m_a.compatible[static_cast<size_t>(top)];
    ++depth;
    if (m_stack.size() <= static_cast<size_t>(depth)) {
      m_stack.push_back(0);
      m_masks.push_back({});
    }
    m_stack[static_cast<size_t>(depth)] = top;
    m_masks[static_cast<size_t>(depth)] = mask;
  }

  // One level up; the element that becomes the top is no longer committed. false at the bottom.
  bool back(int& depth) {
    --depth;
    if (depth < 1) return false;
    addUse(m_stack[static_cast<size_t>(depth)], -1);
    return true;
  }

  bool backAndMark(int& depth) {
    if (!back(depth)) return false;
    mark(depth);
    return true;
  }

  void mark(int depth) {
    const std::vector<int> set(m_stack.begin() + 1, m_stack.begin() + 1 + depth);
    if (m_stored.contains(set)) return;
    m_stored.insert(set);
    for (const int k : set) m_result.bytes += static_cast<char>(k);
    m_result.bytes += '\0';
  }

  const CouplingAnalysis& m_a;
  const EnumerationLimits& m_limits;
  int m_n;
  std::vector<std::vector<std::pair<int, int>>> m_uses;
  std::vector<int> m_sums;
  std::vector<int> m_stack;
  std::vector<CouplingAnalysis::CouplingSet> m_masks;
  SuffixTrie m_stored;
  CandidateList m_result;
};

}  // namespace

CouplingAnalysis analyseCouplingTables(const Workspace& ws, std::string_view ranges) {
  CouplingAnalysis analysis;
  const int n = std::min(ws.plan.nCouplings(), kMaxCouplings);
  analysis.nCouplings = n;
  analysis.selected.assign(static_cast<size_t>(n) + 1, false);
  analysis.compatible.assign(static_cast<size_t>(n) + 1, {});
  analysis.capacity = capacities(ws.base);
  analysis.roomUse.assign(static_cast<size_t>(n) + 1, std::vector<int>(analysis.capacity.size(), 0));
  const RangeSelection selection = parseRanges(ranges, n);
  std::vector<ResourceSet> uses(static_cast<size_t>(n) + 1);
  for (int k = 1; k <= n; ++k) {
    const std::string& members = ws.plan.couplings[static_cast<size_t>(k)];
    const bool chosen = (!selection.anyCoupling || selection.couplings[static_cast<size_t>(k)]) &&
                        (selection.grades.empty() || inGrades(ws, members, selection.grades));
    if (members.size() < CouplingMemberView::kSize || !chosen) continue;
    analysis.selected[static_cast<size_t>(k)] = true;
    uses[static_cast<size_t>(k)] = resourcesOf(ws.base, members);
    analysis.roomUse[static_cast<size_t>(k)] = roomUseOf(ws.base, members);
  }
  for (int i = 1; i <= n; ++i) {
    if (!analysis.selected[static_cast<size_t>(i)]) continue;
    for (int j = 1; j <= n; ++j) {
      if (analysis.selected[static_cast<size_t>(j)] &&
          (uses[static_cast<size_t>(i)] & uses[static_cast<size_t>(j)]).none()) {
        analysis.compatible[static_cast<size_t>(i)].set(static_cast<size_t>(j));
      }
    }
    analysis.compatible[static_cast<size_t>(i)].set(static_cast<size_t>(i));
  }
  return analysis;
}

CandidateList enumerateBlocks(const CouplingAnalysis& analysis, const EnumerationLimits& limits) {
  return BlockEnumerator(analysis, limits).run();
}

CandidateList analyseCouplings(Workspace& ws, Ui& ui, std::string_view ranges) {
  ProgressPoll(ws, ui, "Kopplungsanalyse");
  const CouplingAnalysis analysis = analyseCouplingTables(ws, ranges);
  ProgressPoll(ws, ui, "Blockbildung    ");
  if (ws.dialogs.abortRequested) return CandidateList{{}, false, true};
  EnumerationLimits limits;
  limits.abortRequested = [&] {
    ProgressPoll(ws, ui, "Blockbildung    ");
    return ws.dialogs.abortRequested;
  };
  CandidateList candidates = enumerateBlocks(analysis, limits);
  if (candidates.incomplete) {
    ui.message("Kombinationen unvollst\xE4ndig!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
  }
  return candidates;
}

std::vector<std::vector<int>> splitCandidates(std::string_view bytes) {
  std::vector<std::vector<int>> blocks;
  std::vector<int> block;
  for (const char byte : bytes) {
    if (byte == '\0') {
      if (!block.empty()) blocks.push_back(std::move(block));
      block.clear();
    } else {
      block.push_back(static_cast<unsigned char>(byte));
    }
  }
  if (!block.empty()) blocks.push_back(std::move(block));
  return blocks;
}

}  // namespace quort
