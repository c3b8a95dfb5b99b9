#pragma once

#include <bitset>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "data/plan_tables.h"

namespace quort {

struct Workspace;
class Ui;

// Which couplings may run at the same time, and what each takes of the subjects' rooms.
struct CouplingAnalysis {
  using CouplingSet = std::bitset<kMaxCouplings + 1>;

  int nCouplings = 0;
  std::vector<bool> selected;             // [1..n]: takes part
  std::vector<CouplingSet> compatible;    // [k]: couplings that share no teacher or class with k
  std::vector<std::vector<int>> roomUse;  // [k][group subject]: members that need a room of it
  std::vector<int> capacity;              // [group subject]: rooms at once; 0 = no limit
};

// Selection, resources and compatibility for the "#"-separated range items: "a-b" selects
// the couplings a to b (clamped to the couplings there are), an item without "-" a grade,
// the numeric value of member class codes. No item of a kind means no restriction of it;
// couplings without members never take part.
CouplingAnalysis analyseCouplingTables(const Workspace& ws, std::string_view ranges);

// Candidate blocks: each the coupling numbers as bytes in increasing order, ended by a 0 byte.
struct CandidateList {
  std::string bytes;
  bool incomplete = false;  // stopped at the byte limit
  bool aborted = false;     // the user asked to stop
};

inline constexpr size_t kCandidateBytes = 30000;

struct EnumerationLimits {
  size_t maxBytes = kCandidateBytes;
  // Asked every pollInterval steps of the descent; true stops it.
  std::function<bool()> abortRequested;
  long pollInterval = 1L << 16;
};

// Depth-first enumeration of sets of compatible couplings that also fit the room counts.
// A coupling joins the set only when it is compatible with every member and the room
// counts still hold, so a coupling that fits on its own always ends in some candidate.
// A set whose bytes already end a stored candidate is not stored again.
CandidateList enumerateBlocks(const CouplingAnalysis& analysis, const EnumerationLimits& limits);

// Stages one and two of the automatic block creation with their progress texts;
// "Kombinationen unvollständig!" when the list was cut at its limit.
CandidateList analyseCouplings(Workspace& ws, Ui& ui, std::string_view ranges);

// The candidates (or any 0-separated list) as separate blocks of coupling numbers.
std::vector<std::vector<int>> splitCandidates(std::string_view bytes);

}  // namespace quort
