#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Runs a script with the planner binary in a directory of its own; returns the exit status.
int runPlanner(const fs::path& dir, const std::string& script, std::string& output) {
  fs::create_directories(dir);
  std::ofstream(dir / "gen.batch", std::ios::binary) << script;
  const std::string command =
      "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch gen.batch > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  output = quort::test::readFile(dir / "out.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Two program starts that generate the same plan with the same filter save the same bytes.
TEST(GenerationBatch, TwoRunsWriteByteIdenticalPlans) {
  quort::test::TempDir temp;
  const std::string script = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() +
                             "\nanswer Auswerten\ncommand ^K1 W1\ninfo\nanswer Ja\nsave-plan GEN\n";
  std::string first;
  std::string second;
  ASSERT_EQ(runPlanner(temp.path() / "a", script, first), 0) << first;
  ASSERT_EQ(runPlanner(temp.path() / "b", script, second), 0) << second;
  EXPECT_EQ(first, second);
  EXPECT_NE(first.find("question: Planerstellung - Filter"), std::string::npos) << first;
  EXPECT_EQ(first.find("placedCells: 0\n"), std::string::npos) << first;
  const std::string plan = quort::test::readFile(temp.path() / "a" / "GEN.PL");
  ASSERT_FALSE(plan.empty());
  EXPECT_EQ(plan, quort::test::readFile(temp.path() / "b" / "GEN.PL"));
  EXPECT_NE(plan, quort::test::readFile(quort::test::demoPlanFile()));
}

// The dialog's fields answered from the script: a filter that matches nothing is reported
// and the dialog stays open; "^A" hides everything but the filtered entries.
TEST(GenerationBatch, ScriptAnswersTheFilterDialog) {
  quort::test::TempDir temp;
  std::string output;
  const std::string script = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() +
                             "\nanswer ?0\nanswer Auswerten\ncommand ^\n"
                             "answer $\nanswer $\nanswer $5A\nanswer Auswerten\ncommand ^A\ninfo\n";
  ASSERT_EQ(runPlanner(temp.path(), script, output), 0) << output;
  EXPECT_NE(output.find("message: Keine passenden Deputatseintr\xC3\xA4ge!"), std::string::npos) << output;
  EXPECT_NE(output.find("question: Ausblenden - Filter"), std::string::npos) << output;
  EXPECT_NE(output.find("placedCells: 0\n"), std::string::npos) << output;
  EXPECT_EQ(output.find("buffer: 0\n"), std::string::npos) << output;
  EXPECT_EQ(output.find("assignments: 323\n"), std::string::npos) << output;
}

// "zurück" after a generation with couplings brings back the empty plan and every assignment.
TEST(GenerationBatch, UndoRestoresThePlanAndTheCouplingEntries) {
  quort::test::TempDir temp;
  std::string output;
  const std::string script = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() +
                             "\nanswer Auswerten\ncommand ^K1\ninfo\ncommand U:\ninfo\n";
  ASSERT_EQ(runPlanner(temp.path(), script, output), 0) << output;
  const size_t undone = output.rfind("days: 5");
  ASSERT_NE(undone, std::string::npos);
  EXPECT_NE(output.find("placedCells: 0\n", undone), std::string::npos) << output;
  EXPECT_NE(output.find("assignments: 323\n", undone), std::string::npos) << output;
  EXPECT_NE(output.find("openPeriods: 788\n", undone), std::string::npos) << output;
}

}  // namespace
