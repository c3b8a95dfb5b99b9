#include "editors/coupling_editing.h"

#include <gtest/gtest.h>

#include "data/plan_records.h"
#include "editors/block_editing.h"
#include "timetable/demo_school.h"

namespace quort {
namespace {

using test::DemoSchool;

class CouplingEditing : public ::testing::Test {
 protected:
  std::string member(const char* c, const char* t, const char* s, char suffix) const {
    return makeCouplingMember(demo.teacher(t), demo.schoolClass(c), demo.subject(s), suffix);
  }
  // The first coupling with periods to place, placed in the first slot that takes it.
  int placeACoupling() {
    for (size_t i = 0; i < recordCount(demo.ws.plan.assignments, 4); ++i) {
      const AssignmentView view(demo.ws.plan.assignments, i);
      if (!view.isCoupling() || view.periods() == 0) continue;
      const int k = view.couplingNumber();
      for (int slot = 0; slot < 40 && !couplingPlaced(demo.ws, k); ++slot) {
        demo.app.typeCommand(">#" + std::to_string(k) + " " + std::to_string(slot / 8 + 1) + "," +
                             std::to_string(slot % 8 + 1));
      }
      return couplingPlaced(demo.ws, k) ? k : 0;
    }
    return 0;
  }
  // The periods still to place of every entry of the coupling.
  int periodsOfCoupling(int k) const {
    int periods = 0;
    for (size_t i = 0; i < recordCount(demo.ws.plan.assignments, 4); ++i) {
      const AssignmentView view(demo.ws.plan.assignments, i);
      if (view.isCoupling() && view.couplingNumber() == k) periods += view.periods();
    }
    return periods;
  }
  test::InTempDirectory dir;
  DemoSchool demo;
};

// Every coupling and every block of the demo plan reads back from its text unchanged.
TEST_F(CouplingEditing, EveryDemoCouplingAndBlockRoundTrips) {
  const Workspace& ws = demo.ws;
  ASSERT_EQ(ws.plan.nCouplings(), 26);
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) {
    const auto parsed = parseCouplingText(ws, &demo.ui, couplingText(ws, k));
    ASSERT_TRUE(parsed) << couplingText(ws, k);
    EXPECT_EQ(parsed->number, k);
    EXPECT_EQ(parsed->members, ws.plan.couplings[static_cast<size_t>(k)]) << couplingText(ws, k);
  }
  ASSERT_EQ(ws.plan.nBlocks(), 4);
  for (int b = 1; b <= ws.plan.nBlocks(); ++b) {
    EXPECT_EQ(parseBlockText(ws, &demo.ui, blockText(ws, b)), ws.plan.blocks[static_cast<size_t>(b)])
        << blockText(ws, b);
  }
  EXPECT_TRUE(demo.ui.records().empty());
}

TEST_F(CouplingEditing, TextReadsCodesSuffixesAndSpacing) {
  const auto parsed = parseCouplingText(demo.ws, &demo.ui, "3:  11a  sd d1 ,11B AL M2,11C YI EKA,11D FA DA;");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->number, 3);
  EXPECT_EQ(parsed->members, member("11A", "SD", "D", '1') + member("11B", "AL", "M", '2') +
                                 member("11C", "YI", "EK", 'A') + member("11D", "FA", "D", 'A'));
}

// Course groups "a" and "A" are different suffixes; reading a coupling back keeps them.
TEST_F(CouplingEditing, SuffixKeepsItsCase) {
  const auto parsed = parseCouplingText(demo.ws, &demo.ui, "11a sd Ea,11b al SPA");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->members, member("11A", "SD", "E", 'a') + member("11B", "AL", "SP", 'A'));
}

TEST_F(CouplingEditing, SuffixOutsideDigitsAndLettersIsStoredBlank) {
  const auto parsed = parseCouplingText(demo.ws, &demo.ui, "11A SD D~,11B AL M!,11C YI E");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->members,
            member("11A", "SD", "D", ' ') + member("11B", "AL", "M", ' ') + member("11C", "YI", "E", ' '));
}

TEST_F(CouplingEditing, RepeatedTeacherOrClassIsRefusedAndTheCouplingStays) {
  Workspace& ws = demo.ws;
  const std::string before = ws.plan.couplings[2];
  EXPECT_FALSE(replaceCoupling(ws, demo.ui, 2, "2:11A SD D1,11B SD M1"));
  EXPECT_TRUE(demo.ui.saw("SD mehrfach eingesetzt!"));
  EXPECT_FALSE(replaceCoupling(ws, demo.ui, 2, "2:11A SD D1,11A AL M1"));
  EXPECT_TRUE(demo.ui.saw("11A mehrfach eingesetzt!"));
  EXPECT_EQ(ws.plan.couplings[2], before);
  EXPECT_FALSE(ws.plan.modifiedCouplings);
  EXPECT_EQ(addCoupling(ws, demo.ui, "11A SD D1,11B SD M1"), 0);
  EXPECT_EQ(ws.plan.nCouplings(), 26);
}

// The sentinel teacher stands for "some teacher" and may occur more than once.
TEST_F(CouplingEditing, SentinelTeacherMayRepeat) {
  const auto parsed = parseCouplingText(demo.ws, &demo.ui, "11A * D1,11B * M1");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(recordCount(parsed->members, 4), 2U);
}

TEST_F(CouplingEditing, UnknownCodeStoresNothing) {
  const std::string before = demo.ws.plan.couplings[2];
  EXPECT_FALSE(replaceCoupling(demo.ws, demo.ui, 2, "11A SD D1,11B QQ M1"));
  EXPECT_TRUE(demo.ui.saw("Fehler: QQ"));
  EXPECT_EQ(demo.ws.plan.couplings[2], before);
}

TEST_F(CouplingEditing, AddAppendsAndFlagsTheCouplings) {
  EXPECT_EQ(addCoupling(demo.ws, demo.ui, "99:11A SD D1,11B AL M1,"), 27);
  EXPECT_EQ(demo.ws.plan.couplings[27], member("11A", "SD", "D", '1') + member("11B", "AL", "M", '1'));
  EXPECT_TRUE(demo.ws.plan.modifiedCouplings);
  EXPECT_EQ(couplingText(demo.ws, 27), "27:11A SD D1,11B AL M1,");
}

// The plan holds 100 couplings; a 101st is refused rather than stored past the table.
TEST_F(CouplingEditing, AddingPastTheCapacityIsRefused) {
  Workspace& ws = demo.ws;
  while (ws.plan.nCouplings() < kMaxCouplings) ws.plan.couplings.push_back(member("5A", "MR", "D", '1'));
  EXPECT_EQ(addCoupling(ws, demo.ui, "5B WS D1"), 0);
  EXPECT_TRUE(demo.ui.saw("Keine zul\xE4ssige Kopplung!"));
  EXPECT_EQ(ws.plan.nCouplings(), kMaxCouplings);
}

TEST_F(CouplingEditing, DeletingTheLastLowersTheCountAMiddleOneLeavesItEmpty) {
  Workspace& ws = demo.ws;
  demo.ui.queueAnswer("Nein");
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(deleteCouplings(ws, demo.ui, 26), 1);
  EXPECT_EQ(ws.plan.nCouplings(), 25);
  demo.ui.queueAnswer("Nein");
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(deleteCouplings(ws, demo.ui, 10), 1);
  EXPECT_EQ(ws.plan.nCouplings(), 25);
  EXPECT_TRUE(ws.plan.couplings[10].empty());
  EXPECT_TRUE(ws.plan.modifiedCouplings);
  EXPECT_TRUE(demo.ui.saw("Alle Kopplungen ab 10 l\xF6schen?"));
  EXPECT_TRUE(demo.ui.saw("Alle Kurse der Kopplung 10 l\xF6schen?"));
}

// Emptying the couplings before an empty one drops both from the count.
TEST_F(CouplingEditing, TrailingEmptyCouplingsAreDropped) {
  Workspace& ws = demo.ws;
  demo.ui.queueAnswer("Nein");
  demo.ui.queueAnswer("Ja");
  deleteCouplings(ws, demo.ui, 25);
  demo.ui.queueAnswer("Nein");
  demo.ui.queueAnswer("Ja");
  deleteCouplings(ws, demo.ui, 26);
  EXPECT_EQ(ws.plan.nCouplings(), 24);
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(deleteCouplings(ws, demo.ui, 20), 5);
  EXPECT_EQ(ws.plan.nCouplings(), 19);
}

TEST_F(CouplingEditing, NoToBothDeleteQuestionsDeletesNothing) {
  const auto before = demo.ws.plan.couplings;
  EXPECT_EQ(deleteCouplings(demo.ws, demo.ui, 5), 0);
  EXPECT_EQ(demo.ws.plan.couplings, before);
  EXPECT_FALSE(demo.ws.plan.modifiedCouplings);
}

TEST_F(CouplingEditing, CopyCoursesGivesTheMembersAsText) {
  EXPECT_FALSE(copyCoursesFrom(demo.ws, demo.ui, 3));
  demo.ui.queueAnswer("Ja");
  const auto text = copyCoursesFrom(demo.ws, demo.ui, 3);
  ASSERT_TRUE(text);
  EXPECT_TRUE(demo.ui.saw("Kurse aus Kopplung 3 kopieren?"));
  EXPECT_EQ(parseCouplingText(demo.ws, &demo.ui, *text)->members, demo.ws.plan.couplings[3]);
}

// Replacing a placed coupling after "Ja" takes its lessons out; the periods come back.
TEST_F(CouplingEditing, ReplacingAPlacedCouplingRemovesItsLessons) {
  const int k = placeACoupling();
  ASSERT_GT(k, 0);
  ASSERT_TRUE(couplingPlaced(demo.ws, k));
  const int periodsBefore = periodsOfCoupling(k);
  const std::string text = couplingText(demo.ws, k);
  demo.ui.queueAnswer("Nein");
  EXPECT_TRUE(replaceCoupling(demo.ws, demo.ui, k, text));
  EXPECT_TRUE(couplingPlaced(demo.ws, k));
  demo.ui.queueAnswer("Ja");
  EXPECT_TRUE(replaceCoupling(demo.ws, demo.ui, k, text));
  EXPECT_TRUE(demo.ui.saw("Kopplung aus dem Plan l\xF6schen?"));
  EXPECT_FALSE(couplingPlaced(demo.ws, k));
  EXPECT_GT(periodsOfCoupling(k), periodsBefore);
  EXPECT_TRUE(demo.consistent());
}

TEST_F(CouplingEditing, DeletingAPlacedCouplingRemovesItWithoutAsking) {
  const int k = placeACoupling();
  ASSERT_GT(k, 0);
  demo.ui.queueAnswer("Nein");
  demo.ui.queueAnswer("Ja");
  EXPECT_EQ(deleteCouplings(demo.ws, demo.ui, k), 1);
  EXPECT_FALSE(couplingPlaced(demo.ws, k));
  EXPECT_FALSE(demo.ui.saw("Kopplung aus dem Plan l\xF6schen?"));
  EXPECT_TRUE(demo.consistent());
}

TEST_F(CouplingEditing, BlocksAreCheckedAcrossTheirCouplings) {
  Workspace& ws = demo.ws;
  const int k = addCoupling(ws, demo.ui, "5A MR D1");
  const int l = addCoupling(ws, demo.ui, "5B MR M1");
  ASSERT_GT(l, 0);
  const std::string text = std::to_string(k) + "," + std::to_string(l);
  EXPECT_EQ(addBlock(ws, demo.ui, text), 0);
  EXPECT_TRUE(demo.ui.saw("MR mehrfach eingesetzt!"));
  EXPECT_EQ(ws.plan.nBlocks(), 4);
  EXPECT_EQ(addBlock(ws, demo.ui, "5: " + std::to_string(k) + " , 0"), 0);
  EXPECT_TRUE(demo.ui.saw("Keine zul\xE4ssige Kopplung!"));
  ws.plan.modifiedCouplings = false;
  EXPECT_EQ(addBlock(ws, demo.ui, "5:" + std::to_string(k)), 5);
  EXPECT_EQ(blockText(ws, 5), "5:" + std::to_string(k));
  EXPECT_TRUE(ws.plan.modifiedCouplings);
  EXPECT_FALSE(replaceBlock(ws, demo.ui, 5, text));
  EXPECT_EQ(ws.plan.blocks[5], std::to_string(k));
}

TEST_F(CouplingEditing, DeletingABlockAsksFirst) {
  const std::string third = demo.ws.plan.blocks[3];
  EXPECT_FALSE(deleteBlock(demo.ws, demo.ui, 2));
  EXPECT_EQ(demo.ws.plan.nBlocks(), 4);
  demo.ui.queueAnswer("Ja");
  EXPECT_TRUE(deleteBlock(demo.ws, demo.ui, 2));
  EXPECT_TRUE(demo.ui.saw("Block l\xF6schen?"));
  EXPECT_EQ(demo.ws.plan.nBlocks(), 3);
  EXPECT_EQ(demo.ws.plan.blocks[2], third);
}

}  // namespace
}  // namespace quort
