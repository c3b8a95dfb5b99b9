#include "exams/exam_proposals.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exams/exam_text.h"

namespace {

using quort::SupervisorPool;

// Each room prefers its own teachers; a teacher taken for one room is gone for the next
// room in the same period; an already supervised room is not proposed again, and "R1"
// being supervised does not count for "R12".
TEST(ExamProposals, SupervisorsAreOwnTeachersFirstAndNeverTwice) {
  const std::vector<SupervisorPool> pools = {{3, {"MA", "KR", "SC"}}, {4, {"KR", "MA"}}};
  const std::string field = quort::proposeSupervisions("R12:D1 KR,M2 MA\nR14:E1 SC\nR1:X1 ZZ", "R1:3.ZZ,4.ZZ\n", pools);
  EXPECT_EQ(field, "R1:3.ZZ,4.ZZ\nR12:3.KR,4.KR,\nR14:3.SC,4.MA,\n");
}

// Two displaced classes in one period are sent to two different free rooms; a third
// without a free room is marked.
TEST(ExamProposals, FreeRoomIsTakenForItsPeriod) {
  const std::string field =
      quort::proposeRoomChanges({{3, "11A", "R12"}, {3, "11B", "R14"}, {3, "10A", "R15"}, {4, "11A", "R12"}},
                                {{3, {"R20", "R21"}}, {4, {"R20"}}});
  EXPECT_EQ(field, "3.: 11A R12>R20, 11B R14>R21, 10A R15>?\n4.: 11A R12>R20\n");
}

// Lists are matched entry by entry, never as substrings.
TEST(ExamProposals, ListEntriesMatchWhole) {
  EXPECT_FALSE(quort::listHasEntry("13MU,12D1,", "3MU"));
  EXPECT_TRUE(quort::listHasEntry("13MU, 3MU ,", "3MU"));
  EXPECT_FALSE(quort::listHasEntry("R12,", "R1"));
}

}  // namespace
