#include "timetable/block_placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "data/plan_grids.h"
#include "demo_school.h"
#include "lesson_periods.h"
#include "timetable/block_building.h"
#include "timetable/coupling_blocks.h"
#include "timetable/generation_filter.h"
#include "timetable/lesson_removal.h"
#include "timetable/plan_generator.h"

namespace quort {
namespace {

using test::DemoSchool;
using test::InTempDirectory;
using SlotSet = std::set<std::pair<int, int>>;

// The slots (day, period) at which the coupling's first member class carries it.
SlotSet slotsOf(const Workspace& ws, int coupling) {
  SlotSet slots;
  const std::string& members = ws.plan.couplings[static_cast<size_t>(coupling)];
  const int c = CouplingMemberView(members, 0).schoolClass();
  for (int day = 1; day <= kGridDays; ++day)
    for (int p = 1; p <= ws.base.periodsPerDay; ++p)
      if (ws.plan.timetable.lessonWord.at(c, p, day) != 0 &&
          RoomWord::coupling(ws.plan.timetable.roomWord.at(c, p, day)) == coupling)
        slots.insert({day, p});
  return slots;
}

// Every coupled lesson of the demo back into the assignments, so that the generator
// places the couplings anew.
void takeOutCouplings(DemoSchool& school) {
  Workspace& ws = school.ws;
  for (int c = 1; c <= ws.base.nClasses(); ++c)
    for (int day = 1; day <= kGridDays; ++day)
      for (int p = 1; p <= ws.base.periodsPerDay; ++p)
        if (RoomWord::coupling(ws.plan.timetable.roomWord.at(c, p, day)) != 0 &&
            ws.plan.timetable.lessonWord.at(c, p, day) != 0)
          removeLesson(ws, school.ui, Slot{day, p}, c, RemoveMode::kUnprotected, ws.plan.assignments);
}

// Couplings of one block share their slots: the one with fewer periods stands only where
// the others stand. The faults as text.
std::string blocksApart(const Workspace& ws, int& placedTogether) {
  std::string faults;
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) {
    const std::vector<int> block = blockCouplings(ws.plan.blocks[static_cast<size_t>(b)]);
    for (size_t i = 0; i < block.size(); ++i) {
      for (size_t j = i + 1; j < block.size(); ++j) {
        SlotSet a = slotsOf(ws, block[i]);
        SlotSet b2 = slotsOf(ws, block[j]);
        if (a.size() > b2.size()) std::swap(a, b2);
        if (!std::includes(b2.begin(), b2.end(), a.begin(), a.end()))
          faults += std::to_string(block[i]) + "/" + std::to_string(block[j]) + " ";
        placedTogether += static_cast<int>(a.size());
      }
    }
  }
  return faults;
}

// The upper-school couplings of the demo, built into blocks and generated again, stand
// block by block in the same slots, whether couplings may be moved or not; no period is
// lost and the grids agree.
TEST(BlockGeneration, EveryBlockOfTheDemoIsPlacedInSharedSlots) {
  for (const bool shift : {false, true}) {
    InTempDirectory dir;
    DemoSchool school;
    takeOutCouplings(school);
    ASSERT_EQ(buildBlocks(school.ws, school.ui, {"7-26#", true, true}), BlockBuildOutcome::Stored);
    ASSERT_EQ(school.ws.plan.nBlocks(), 10);
    const auto before = test::periodsPerLesson(school.ws);
    GenerationFilter filter;
    filter.couplings = true;
    generateWorkList(school.ws, school.ui, buildWorkList(school.ws, filter), GenerationSwitches{shift, true, false});
    int together = 0;
    EXPECT_EQ(blocksApart(school.ws, together), "") << "shift " << shift;
    EXPECT_GT(together, 20) << "shift " << shift;
    EXPECT_EQ(test::periodsPerLesson(school.ws), before);
    EXPECT_TRUE(school.consistent());
  }
}

// A long work list is cut into chunks; a block's couplings always share one, however far
// apart their entries stand, and nothing is lost or doubled. Without blocks the chunks are
// the plain 800-byte pieces.
TEST(BlockGeneration, BlockMatesShareAChunkOfALongWorkList) {
  InTempDirectory dir;
  DemoSchool school;
  takeOutCouplings(school);
  ASSERT_EQ(buildBlocks(school.ws, school.ui, {"7-26#", true, true}), BlockBuildOutcome::Stored);
  GenerationFilter filter;
  filter.couplings = true;
  const std::string generated = buildWorkList(school.ws, filter);
  std::string couplings;
  for (size_t pos = 0; pos + 4 <= generated.size(); pos += 4)
    if (AssignmentView(generated, pos / 4).isCoupling()) couplings += generated.substr(pos, 4);
  const size_t half = couplings.size() / 8 * 4;
  std::string filler;
  for (size_t pos = 0; pos + 4 <= school.ws.plan.assignments.size() && filler.size() < 1200; pos += 4)
    if (!AssignmentView(school.ws.plan.assignments, pos / 4).isCoupling())
      filler += school.ws.plan.assignments.substr(pos, 4);
  const std::string workList = couplings.substr(0, half) + filler + filler + couplings.substr(half);

  const std::vector<std::string> chunks = workChunks(school.ws.plan, workList);
  const BlockGroups groups(school.ws.plan);
  std::multiset<std::string> in, out;
  for (size_t pos = 0; pos < workList.size(); pos += 4) in.insert(workList.substr(pos, 4));
  std::map<int, size_t> chunkOfBlock;
  for (size_t i = 0; i < chunks.size(); ++i) {
    for (size_t pos = 0; pos < chunks[i].size(); pos += 4) {
      out.insert(chunks[i].substr(pos, 4));
      const AssignmentView entry(chunks[i], pos / 4);
      if (!entry.isCoupling() || groups.blockOf(entry.couplingNumber()) == 0) continue;
      const auto [at, fresh] = chunkOfBlock.emplace(groups.blockOf(entry.couplingNumber()), i);
      EXPECT_EQ(at->second, i) << "coupling " << entry.couplingNumber();
    }
  }
  EXPECT_EQ(in, out);
  EXPECT_GE(chunkOfBlock.size(), 5U);
  EXPECT_GT(chunks.size(), 2U);

  school.ws.plan.blocks.resize(1);
  const std::vector<std::string> plain = workChunks(school.ws.plan, workList);
  ASSERT_EQ(plain.size(), (workList.size() + kChunkBytes - 1) / kChunkBytes);
  for (size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(plain[i], workList.substr(i * kChunkBytes, kChunkBytes));
}

// A coupling named by two blocks goes with the first; the second keeps the rest, so no
// coupling is asked into two slots at once. Block texts with junk keep their numbers.
TEST(BlockGeneration, OverlappingBlocksGroupEachCouplingOnce) {
  EXPECT_EQ(blockCouplings("9,20"), (std::vector<int>{9, 20}));
  EXPECT_EQ(blockCouplings("3,,x,0,7"), (std::vector<int>{3, 7}));
  PlanTables plan;
  plan.couplings.resize(6);
  plan.blocks = {"", "1,2", "2,3,99", "4"};
  const BlockGroups groups(plan);
  EXPECT_EQ(groups.groupOf(2), (std::vector<int>{2, 1}));
  EXPECT_EQ(groups.groupOf(3), (std::vector<int>{3}));
  EXPECT_EQ(groups.blockOf(3), 2);
  EXPECT_EQ(groups.blockOf(5), 0);
  EXPECT_EQ(groups.groupOf(5), (std::vector<int>{5}));
  EXPECT_TRUE(BlockGroups(PlanTables{}).empty());
}

// By hand: a block goes into one slot whole, or not at all when one of its couplings is
// refused there; taking it out gives every period back.
TEST(BlockPlacement, BlockIsPlacedAndRemovedWholeOrNotAtAll) {
  InTempDirectory dir;
  DemoSchool school;
  Workspace& ws = school.ws;
  takeOutCouplings(school);
  ASSERT_EQ(buildBlocks(ws, school.ui, {"7-26#", true, true}), BlockBuildOutcome::Stored);
  const std::vector<int> block = blockCouplings(ws.plan.blocks[1]);
  ASSERT_EQ(block.size(), 2U);
  const auto before = test::periodsPerLesson(ws);

  ASSERT_EQ(placeCouplings(ws, school.ui, block, Slot{1, 1}), PlaceOutcome::Placed);
  // Both are double lessons.
  for (const int k : block) EXPECT_EQ(slotsOf(ws, k), (SlotSet{{1, 1}, {1, 2}})) << k;
  EXPECT_EQ(test::periodsPerLesson(ws), before);

  // Out again only where every coupling of the list stands.
  const std::vector<int> more = blockCouplings(ws.plan.blocks[2]);
  const TimetableGrids placed = ws.plan.timetable;
  EXPECT_TRUE(removeCouplings(ws, school.ui, {block[0], block[1], more[0]}, Slot{1, 1}));
  EXPECT_EQ(ws.plan.timetable, placed);
  // Coupled lessons are protected: each is asked for.
  school.ui.queueAnswer("Ja");
  school.ui.queueAnswer("Ja");
  EXPECT_FALSE(removeCouplings(ws, school.ui, block, Slot{1, 2}));
  for (const int k : block) EXPECT_TRUE(slotsOf(ws, k).empty()) << k;
  EXPECT_EQ(test::periodsPerLesson(ws), before);

  // The second coupling's class is locked at a slot where the first fits: declining the
  // question leaves the first one out as well.
  const int lockedClass = CouplingMemberView(ws.plan.couplings[static_cast<size_t>(block[1])], 0).schoolClass();
  ws.plan.timetable.lessonWord.at(lockedClass, 2, 2) = classLockWord(ws.base);
  recomputeDerivedGrids(ws.base, ws.plan);
  const TimetableGrids locked = ws.plan.timetable;
  school.ui.queueAnswer("Nein");
  EXPECT_EQ(placeCouplings(ws, school.ui, block, Slot{2, 2}), PlaceOutcome::Declined);
  EXPECT_EQ(ws.plan.timetable, locked);
  EXPECT_EQ(test::periodsPerLesson(ws), before);
  EXPECT_TRUE(school.consistent());
  EXPECT_EQ(placeCouplings(ws, school.ui, {block[0], 999}, Slot{1, 1}), PlaceOutcome::NothingToPlace);
}

}  // namespace
}  // namespace quort
