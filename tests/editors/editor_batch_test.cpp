#include <gtest/gtest.h>

#include <sstream>

#include "editors/assignment_entry.h"
#include "shell/batch_runner.h"
#include "timetable/demo_school.h"

namespace quort {
namespace {

// Scripts drive the editors' operations on the demo plan without a window.
class EditorBatch : public ::testing::Test {
 protected:
  std::string run(const std::string& script) {
    std::ostringstream out;
    std::ostringstream err;
    BatchRunner runner(demo.app, demo.ui, out, err);
    std::istringstream in(script);
    status = runner.run(in);
    errors = err.str();
    return out.str();
  }
  std::vector<std::string> lines(const std::string& text) const {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
  }
  test::InTempDirectory dir;
  test::DemoSchool demo;
  int status = -1;
  std::string errors;
};

TEST_F(EditorBatch, ListAssignmentsPrintsEveryEntryInItsLongForm) {
  const auto printed = lines(run("list assignments\n"));
  ASSERT_EQ(printed.size(), 323U);
  EXPECT_EQ(status, 0);
  const auto couplings = lines(run("list couplings\n"));
  ASSERT_EQ(couplings.size(), 26U);
  EXPECT_EQ(couplings[0].rfind("1:", 0), 0U);
  EXPECT_EQ(lines(run("list blocks\n")).size(), 4U);
}

// Every refused line shows its message, the script runs on and ends with status 1; the
// reason names the first refused line.
TEST_F(EditorBatch, RefusedLinesAnswerWithTheirMessages) {
  const std::string out =
      run("assignment add #0:2\n"
          "assignment add MR D  5A  x\n"
          "assignment add QQ D 5A 4\n");
  EXPECT_EQ(out,
            "message: Keine zul\xC3\xA4ssige Kopplung!\n"
            "message: Keine zul\xC3\xA4ssige Stundenzahl: 0!\n"
            "message: Fehler: QQ\n");
  EXPECT_EQ(status, 1);
  EXPECT_NE(errors.find("Zeile 1: nicht ausgef\xC3\xBChrt: Keine zul\xC3\xA4ssige Kopplung!"), std::string::npos)
      << errors;
  EXPECT_NE(errors.find("Zeile 3: nicht ausgef\xC3\xBChrt: Fehler: QQ"), std::string::npos) << errors;
  EXPECT_EQ(demo.ws.plan.assignments.size(), 323U * 4);
  EXPECT_FALSE(demo.ws.plan.modifiedPlan);
}

TEST_F(EditorBatch, AssignmentKeywordsEditTheList) {
  run("assignment add MR\xC2\xB9"
      "D 5A 4\n"
      "assignment insert 1 #3:2D\n"
      "assignment replace 2 WS E 5B 3\n"
      "assignment remove 3\n");
  EXPECT_EQ(status, 0) << errors;
  const auto printed = lines(run("list assignments\n"));
  ASSERT_EQ(printed.size(), 324U);
  EXPECT_EQ(printed[0], "#3:2D");
  EXPECT_EQ(printed[1], "WS E  5B  3");
  EXPECT_EQ(printed.back(),
            "MR\xC2\xB9"
            "D  5A  4");
  EXPECT_TRUE(demo.ws.plan.modifiedPlan);
  EXPECT_NE(run("assignment remove 999\n").find("Keine Daten ausgew\xC3\xA4hlt!"), std::string::npos);
  run("assignment insert\n");
  EXPECT_EQ(status, 1);
}

TEST_F(EditorBatch, CopyFromCopiesIntoTheCurrentClass) {
  const std::string out =
      run("command D:K 5D\n"
          "answer Ja\n"
          "assignment copy-from 5A\n");
  EXPECT_NE(out.find("question: Deputat wirklich aus 5A kopieren? -> Ja"), std::string::npos) << out;
  EXPECT_GT(demo.ws.plan.assignments.size(), 323U * 4);
}

TEST_F(EditorBatch, CouplingTextNamingATeacherTwiceLeavesTheCouplingAsItWas) {
  const std::string before = lines(run("list couplings\n"))[1];
  const std::string out = run("coupling replace 2 2:11A SD D1,11B SD M1\n");
  EXPECT_EQ(out, "message: SD mehrfach eingesetzt!\n");
  EXPECT_EQ(lines(run("list couplings\n"))[1], before);
  EXPECT_FALSE(demo.ws.plan.modifiedCouplings);
}

TEST_F(EditorBatch, CouplingAndBlockKeywords) {
  run("coupling add 5A MR D1,5B WS M\n"
      "block add 27\n"
      "answer Nein\n"
      "answer Ja\n"
      "coupling delete 26\n");
  EXPECT_EQ(status, 0) << errors;
  const auto couplings = lines(run("list couplings\n"));
  ASSERT_EQ(couplings.size(), 27U);
  EXPECT_EQ(couplings[26], "27:5A MR D1,5B WS M ,");
  EXPECT_EQ(couplings[25], "26:");
  EXPECT_EQ(lines(run("list blocks\n")).back(), "5:27");
  run("answer Ja\nblock delete 5\n");
  EXPECT_EQ(lines(run("list blocks\n")).size(), 4U);
  run("block replace 1 1,2,x\n");
  EXPECT_EQ(status, 1);
  run("coupling frobnicate 1\n");
  EXPECT_EQ(status, 1);
}

// The commands of the main window open the editors; "H:K" and "H:L" choose first.
TEST_F(EditorBatch, CommandsOpenTheEditors) {
  const std::string out =
      run("answer 5B\n"
          "command H:K\n"
          "command H:L\n"
          "command t:3\n"
          "command b:2\n"
          "command d\n"
          "command D:L QQ\n");
  EXPECT_EQ(out,
            "question: Klasse w\xC3\xA4hlen -> 5B\n"
            "editor: Deputateingabe Klasse\n"
            "question: Lehrer w\xC3\xA4hlen -> Abbruch\n"
            "editor: Eingabe von Kopplung 3\n"
            "editor: Eingabe von Block 2\n"
            "editor: Deputateingabe Puffer\n"
            "message: Fehler: QQ\n");
  EXPECT_EQ(demo.ws.shell.currentClass, demo.schoolClass("5B"));
  run("command b\n");
  EXPECT_EQ(demo.ws.shell.mainView, MainView::BlockList);
  EXPECT_EQ(run("mode 2\ncommand d:k 5A\ncommand t:1\n"), "");
}

}  // namespace
}  // namespace quort
