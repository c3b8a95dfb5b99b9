#include <gtest/gtest.h>

#include "shell/placement_commands.h"

namespace quort {
namespace {

// The items of ">" and "<" come in any order, separated by blanks, commas or semicolons.
TEST(PlacementArguments, ItemsNameSlotEntitiesAndEntries) {
  const auto args = parsePlacementArguments(" 2,3 L:MR F:D;K:5A");
  ASSERT_TRUE(args);
  ASSERT_TRUE(args->slot);
  EXPECT_EQ(args->slot->day, 2);
  EXPECT_EQ(args->slot->period, 3);
  EXPECT_EQ(*args->teacherCode, "MR");
  EXPECT_EQ(*args->subjectCode, "D");
  EXPECT_EQ(*args->classCode, "5A");

  const auto room = parsePlacementArguments("R:CH1,K:11F,DI 4");
  ASSERT_TRUE(room);
  EXPECT_EQ(*room->roomCode, "CH1");
  EXPECT_EQ(*room->classCode, "11F");
  EXPECT_EQ(room->slot->day, 2);
  EXPECT_EQ(room->slot->period, 4);

  const auto numbered = parsePlacementArguments("N:12 FR10");
  ASSERT_TRUE(numbered);
  EXPECT_EQ(numbered->listNumber, 12);
  EXPECT_EQ(numbered->slot->day, 5);
  EXPECT_EQ(numbered->slot->period, 10);
  EXPECT_EQ(parsePlacementArguments("#17 1:2")->coupling, 17);
  // A block's couplings: the list ends at a blank, and "d:p" behind a comma stays a slot.
  const auto block = parsePlacementArguments("#9,20,3 MO1");
  ASSERT_TRUE(block);
  EXPECT_EQ(block->couplings, (std::vector<int>{9, 20, 3}));
  EXPECT_EQ(block->slot->period, 1);
  const auto slotAfter = parsePlacementArguments("#9,2:3");
  ASSERT_TRUE(slotAfter);
  EXPECT_EQ(slotAfter->couplings, (std::vector<int>{9}));
  EXPECT_EQ(slotAfter->slot->day, 2);
  EXPECT_FALSE(parsePlacementArguments("#9,20x"));

  const auto empty = parsePlacementArguments("");
  ASSERT_TRUE(empty);
  EXPECT_FALSE(empty->slot);
  EXPECT_FALSE(empty->classCode);
}

// Anything that is not one of the items is an input error.
TEST(PlacementArguments, UnknownItemsAreRejected) {
  for (const char* bad : {"2", "2,", "XY3", "K:", "N:1A", "#", "Q:1", "2,3X", "MO"}) {
    EXPECT_FALSE(parsePlacementArguments(bad)) << bad;
  }
}

}  // namespace
}  // namespace quort
