#include "timetable/block_building.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/base_data_format.h"
#include "data/plan_records.h"
#include "demo_school.h"
#include "timetable/coupling_analysis.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

using Block = std::vector<int>;

// Read straight from the members, independent of the analysis: whether the couplings of a
// set share no teacher (but the sentinel) and no class, and fit every room count
// (a count of 0 sets no limit; subjects that use another's rooms count with it).
bool feasible(const Workspace& ws, const Block& set) {
  std::set<int> teachers;
  std::set<int> classes;
  std::map<int, int> rooms;
  for (const int k : set) {
    const std::string& members = ws.plan.couplings[static_cast<size_t>(k)];
    for (size_t i = 0; i < members.size() / 4; ++i) {
      const CouplingMemberView m(members, i);
      if (m.teacher() != ws.base.nTeachers() && !teachers.insert(m.teacher()).second) return false;
      if (!classes.insert(m.schoolClass()).second) return false;
      if (m.teacher() == ws.base.nTeachers()) continue;
      int subject = m.subject();
      if (ws.base.subjects[subject].roomSpec < 0) subject = -ws.base.subjects[subject].roomSpec;
      const int spec = ws.base.subjects[subject].roomSpec;
      if (spec > 0 && (spec & 255) > 0 && ++rooms[subject] > (spec & 255)) return false;
    }
  }
  return true;
}

std::string blockFaults(const Workspace& ws) {
  std::string faults;
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) {
    Block block;
    std::string text = ws.plan.blocks[static_cast<size_t>(b)] + ",";
    for (size_t start = 0, comma = text.find(','); comma != std::string::npos;
         start = comma + 1, comma = text.find(',', start)) {
      block.push_back(std::stoi(text.substr(start, comma - start)));
    }
    if (!feasible(ws, block)) faults += ws.plan.blocks[static_cast<size_t>(b)] + "; ";
  }
  return faults;
}

std::set<int> coveredCouplings(const Workspace& ws) {
  std::set<int> covered;
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) {
    std::string text = ws.plan.blocks[static_cast<size_t>(b)] + ",";
    for (size_t start = 0, comma = text.find(','); comma != std::string::npos;
         start = comma + 1, comma = text.find(',', start)) {
      covered.insert(std::stoi(text.substr(start, comma - start)));
    }
  }
  return covered;
}

// The upper school of the demo: the blocks pair bands of different years, break no rule
// and cover every band; the grades 11 and 12 give the same blocks as the range 7-26, and
// ranges beyond the couplings are clamped.
TEST(BlockBuilding, DemoUpperSchoolBlocksAreSoundAndCoverEveryBand) {
  test::DemoSchool demo;
  ASSERT_EQ(buildBlocks(demo.ws, demo.ui, {"7-26#", true, true}), BlockBuildOutcome::Stored);
  EXPECT_EQ(blockFaults(demo.ws), "");
  EXPECT_TRUE(demo.ws.plan.modifiedCouplings);
  const std::set<int> covered = coveredCouplings(demo.ws);
  for (int k = 7; k <= 26; ++k) EXPECT_TRUE(covered.count(k)) << k;
  EXPECT_EQ(*covered.begin(), 7);
  EXPECT_LT(demo.ws.plan.nBlocks(), 20);
  const std::vector<std::string> byRange = demo.ws.plan.blocks;

  test::DemoSchool byGrade;
  buildBlocks(byGrade.ws, byGrade.ui, {"11#12#", true, true});
  EXPECT_EQ(byGrade.ws.plan.blocks, byRange);
  test::DemoSchool clamped;
  buildBlocks(clamped.ws, clamped.ui, {"0-500#", true, true});
  EXPECT_EQ(blockFaults(clamped.ws), "");
  EXPECT_EQ(coveredCouplings(clamped.ws).size(), 26U);
}

// Without "Automatische Blockwahl" every candidate is stored behind the old blocks; with
// it and old blocks kept, they come first and their couplings get no block of their own.
TEST(BlockBuilding, OldBlocksComeFirstAndCandidatesFollow) {
  test::DemoSchool demo;
  const std::vector<std::string> old = demo.ws.plan.blocks;
  ASSERT_GT(old.size(), 1U);
  const CandidateList candidates = analyseCouplings(demo.ws, demo.ui, "7-26#");
  buildBlocks(demo.ws, demo.ui, {"7-26#", false, false});
  ASSERT_EQ(demo.ws.plan.nBlocks(),
            static_cast<int>(old.size()) - 1 + static_cast<int>(splitCandidates(candidates.bytes).size()));
  EXPECT_TRUE(std::equal(old.begin(), old.end(), demo.ws.plan.blocks.begin()));

  test::DemoSchool chosen;
  chosen.ws.plan.blocks = {"", "7,17"};
  buildBlocks(chosen.ws, chosen.ui, {"7-26#", false, true});
  EXPECT_EQ(chosen.ws.plan.blocks[1], "7,17");
  for (int b = 2; b <= chosen.ws.plan.nBlocks(); ++b) {
    EXPECT_NE(chosen.ws.plan.blocks[static_cast<size_t>(b)], "7") << b;
    EXPECT_NE(chosen.ws.plan.blocks[static_cast<size_t>(b)], "17") << b;
  }
}

// An abort during "Blockwahl" leaves the old blocks as they were.
TEST(BlockBuilding, AbortDuringChoiceKeepsTheOldBlocks) {
  test::DemoSchool demo;
  const std::vector<std::string> old = demo.ws.plan.blocks;
  demo.ws.plan.clearChanges();
  for (const char* answer : {"Nein", "Nein", "Ja"}) {
    demo.ui.pressKey();
    demo.ui.queueAnswer(answer);
  }
  EXPECT_EQ(buildBlocks(demo.ws, demo.ui, {"7-26#", true, true}), BlockBuildOutcome::Aborted);
  EXPECT_EQ(demo.ws.plan.blocks, old);
  EXPECT_FALSE(demo.ws.plan.modifiedCouplings);
}

// More blocks than the list holds: the first 5,000 are kept and the rest is reported.
TEST(BlockBuilding, FullBlockListIsReported) {
  std::vector<std::string> blocks{std::string()};
  std::string list;
  for (int i = 0; i < kMaxBlocks + 3; ++i) list += std::string{static_cast<char>(1 + i % 90), '\0'};
  EXPECT_EQ(storeBlocks(blocks, list), 3);
  EXPECT_EQ(static_cast<int>(blocks.size()) - 1, kMaxBlocks);
  EXPECT_EQ(blocks[1], "1");

  test::DemoSchool demo;
  demo.ws.plan.blocks.assign(kMaxBlocks, "1");
  buildBlocks(demo.ws, demo.ui, {"7-26#", false, false});
  EXPECT_EQ(demo.ws.plan.nBlocks(), kMaxBlocks);
  bool reported = false;
  for (const ScriptedUi::Record& r : demo.ui.records()) reported |= r.text.rfind("Blockliste voll! ", 0) == 0;
  EXPECT_TRUE(reported);
}

// A school of couplings built from member lists: teachers AA-FF and the sentinel, classes
// 1A-1F, subjects D (no limit), BI (2 rooms), NW (BI's rooms), SP (room field "0").
struct CouplingSchool {
  Workspace ws;
  ScriptedUi ui;
  CouplingSchool() {
    const std::vector<std::string> lines = {
        "1A",          "1B",         "1C",    "1D",   "1E", "1F",        "AA",
        "BB",          "CC",         "DD",    "EE",   "FF", "D Deutsch", "BI Biologie 2",
        "NW Natur BI", "SP Sport 0", "B1 BI", "B2 BI"};
    std::string text = std::to_string(256 + 16 * 4 + 6) + ",6,7,5,2\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
    text += "20,4,1,20,2,2,1,100,6,4,5,1\r\n";
    if (parseBaseDataFile(text, ws.base).outcome != ParseOutcome::Ok) throw std::runtime_error("coupling school");
    ws.plan.reset(ws.base);
  }
  // Members as (teacher, class, subject) indexes.
  void coupling(const std::vector<std::array<int, 3>>& members) {
    std::string text;
    for (const auto& m : members) text += makeCouplingMember(m[0], m[1], m[2], ' ');
    ws.plan.couplings.push_back(text);
  }
  int sentinel() const { return ws.base.nTeachers(); }
};

bool containsBlock(const std::string& bytes, const Block& block) {
  for (const Block& candidate : splitCandidates(bytes))
    if (candidate == block) return true;
  return false;
}

// The room rules of the analysis: a count of 0 is no limit, subjects sharing rooms count
// together, and the sentinel teacher holds nobody up.
TEST(CouplingAnalysis, RoomCountsAndTheSentinelTeacher) {
  CouplingSchool school;
  const int D = 1, BI = 2, NW = 3, SP = 4;
  school.coupling({{1, 1, SP}, {2, 2, SP}, {school.sentinel(), 3, D}});  // 1
  school.coupling({{3, 4, SP}, {4, 5, SP}, {school.sentinel(), 6, D}});  // 2
  school.coupling({{5, 1, BI}});                                         // 3 (class 1A as coupling 1)
  school.coupling({{5, 2, NW}, {6, 3, BI}});                             // 4
  school.coupling({{1, 4, BI}});                                         // 5
  const CandidateList list = enumerateBlocks(analyseCouplingTables(school.ws, ""), EnumerationLimits{});
  EXPECT_TRUE(containsBlock(list.bytes, {1, 2})) << "room field 0 or the sentinel kept 1 and 2 apart";
  for (const Block& block : splitCandidates(list.bytes)) {
    const bool both = std::count(block.begin(), block.end(), 4) && std::count(block.begin(), block.end(), 5);
    EXPECT_FALSE(both) << "NW and BI share two rooms";
    EXPECT_TRUE(feasible(school.ws, block));
  }
}

// Random small coupling sets (seeded), checked by brute force over every subset: each
// candidate is a feasible set in increasing order, none ends another, and every maximal
// feasible set is a candidate; the chosen blocks cover every coupling that fits on its own.
TEST(CouplingAnalysis, BruteForceOnSmallCases) {
  const unsigned seed = std::random_device{}();
  std::printf("CouplingAnalysis seed %u\n", seed);
  std::mt19937 random(seed);
  for (int round = 0; round < 60; ++round) {
    CouplingSchool school;
    const int n = 2 + static_cast<int>(random() % 9);
    for (int k = 0; k < n; ++k) {
      std::vector<std::array<int, 3>> members;
      const int size = static_cast<int>(random() % 4);  // some couplings without members
      // As the coupling editor allows: no class and no teacher but the sentinel twice.
      std::set<int> teachers;
      std::set<int> classes;
      for (int m = 0; m < size; ++m) {
        const int teacher = random() % 5 == 0 ? school.sentinel() : 1 + static_cast<int>(random() % 6);
        const int schoolClass = 1 + static_cast<int>(random() % 6);
        if ((teacher != school.sentinel() && !teachers.insert(teacher).second) || !classes.insert(schoolClass).second)
          continue;
        members.push_back({teacher, schoolClass, 1 + static_cast<int>(random() % 4)});
      }
      school.coupling(members);
    }
    const std::string ranges = round % 2 == 0 ? "" : "2-" + std::to_string(n) + "#";
    const CandidateList list = enumerateBlocks(analyseCouplingTables(school.ws, ranges), EnumerationLimits{});
    const std::vector<Block> candidates = splitCandidates(list.bytes);
    const auto selected = [&](int k) {
      return !school.ws.plan.couplings[static_cast<size_t>(k)].empty() && (round % 2 == 0 || k >= 2);
    };
    for (const Block& c : candidates) {
      ASSERT_TRUE(std::is_sorted(c.begin(), c.end()) && std::adjacent_find(c.begin(), c.end()) == c.end());
      ASSERT_TRUE(feasible(school.ws, c)) << "seed " << seed << " round " << round;
      for (const int k : c) ASSERT_TRUE(selected(k));
    }
    for (unsigned mask = 1; mask < (1U << n); ++mask) {
      Block set;
      for (int k = 1; k <= n; ++k)
        if (mask & (1U << (k - 1))) set.push_back(k);
      if (!std::all_of(set.begin(), set.end(), selected) || !feasible(school.ws, set)) continue;
      bool maximal = true;
      for (int k = 1; k <= n && maximal; ++k) {
        if ((mask & (1U << (k - 1))) || !selected(k)) continue;
        Block bigger = set;
        bigger.push_back(k);
        std::sort(bigger.begin(), bigger.end());
        maximal = !feasible(school.ws, bigger);
      }
      if (maximal) {
        ASSERT_TRUE(containsBlock(list.bytes, set)) << "seed " << seed << " round " << round;
      }
    }
    school.ws.plan.blocks = {""};
    buildBlocks(school.ws, school.ui, {ranges, true, true});
    EXPECT_EQ(blockFaults(school.ws), "") << "seed " << seed;
    const std::set<int> covered = coveredCouplings(school.ws);
    for (int k = 1; k <= n; ++k) {
      if (selected(k) && feasible(school.ws, {k})) {
        EXPECT_TRUE(covered.count(k)) << "seed " << seed << " k " << k;
      }
    }
  }
}

// The descent asks about an abort again and again, so an exponential case can be stopped;
// with the byte limit it ends on its own and says the list is incomplete.
TEST(CouplingAnalysis, EnumerationPollsAndStopsAtItsLimit) {
  CouplingAnalysis analysis;
  analysis.nCouplings = 100;
  analysis.selected.assign(101, true);
  analysis.compatible.assign(101, CouplingAnalysis::CouplingSet().set());
  analysis.capacity.assign(2, 0);
  analysis.roomUse.assign(101, std::vector<int>(2, 0));
  int polls = 0;
  EnumerationLimits endless;
  endless.maxBytes = static_cast<size_t>(-1);
  endless.pollInterval = 100;
  endless.abortRequested = [&] { return ++polls == 5; };
  const CandidateList stopped = enumerateBlocks(analysis, endless);
  EXPECT_TRUE(stopped.aborted);
  EXPECT_EQ(polls, 5);

  const CandidateList limited = enumerateBlocks(analysis, EnumerationLimits{});
  EXPECT_TRUE(limited.incomplete);
  EXPECT_GE(limited.bytes.size(), kCandidateBytes);
  EXPECT_LT(limited.bytes.size(), kCandidateBytes + 102);
  EXPECT_EQ(splitCandidates(limited.bytes).front().size(), 100U);
}

}  // namespace
}  // namespace quort
