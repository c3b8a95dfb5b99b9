#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Runs a script with the planner binary in a directory of its own; returns the exit status.
int runCompletionScript(const fs::path& dir, const std::string& script, std::string& output) {
  fs::create_directories(dir);
  std::ofstream(dir / "complete.batch", std::ios::binary) << script;
  const std::string command =
      "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch complete.batch > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  output = quort::test::readFile(dir / "out.txt") + quort::test::readFile(dir / "err.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// On the demo school "Autom.Setzen" leaves periods open; "Plan vervollständigen" places all
// of them, so every class has its whole week, and "zurück" returns to the generated plan.
TEST(CompletionBatch, DemoSchoolIsCompleteAndUndoReturnsToTheGeneratedPlan) {
  quort::test::TempDir temp;
  std::string output;
  const std::string script = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() +
                             "\nanswer Auswerten\ncommand ^K1\ninfo\ncomplete K1\ninfo\ncommand U\ninfo\n";
  ASSERT_EQ(runCompletionScript(temp.path(), script, output), 0) << output;
  const size_t completed = output.find("message: Plan vervollst\xC3\xA4ndigt: ");
  ASSERT_NE(completed, std::string::npos) << output;
  EXPECT_NE(output.find(" Stunden gesetzt, 0 offen.", completed), std::string::npos) << output;
  const size_t full = output.find("openPeriods: 0\n", completed);
  EXPECT_NE(full, std::string::npos) << output;
  // After "zurück" the periods the generator left are open again.
  const size_t generated = output.find("openPeriods: ");
  const std::string before = output.substr(generated, output.find('\n', generated) - generated);
  EXPECT_NE(output.find(before, full), std::string::npos) << output;
}

// A bad item fails its line with "Eingabefehler!"; with nothing open the note only informs.
TEST(CompletionBatch, BadItemsFailAndNothingOpenOnlyInforms) {
  quort::test::TempDir temp;
  std::string output;
  const std::string bad = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() + "\ncomplete Z:x\n";
  EXPECT_EQ(runCompletionScript(temp.path() / "bad", bad, output), 1) << output;
  EXPECT_NE(output.find("Eingabefehler!"), std::string::npos) << output;
  const std::string empty = "open " + quort::test::demoFile() + "\ncomplete\n";
  EXPECT_EQ(runCompletionScript(temp.path() / "empty", empty, output), 0) << output;
  EXPECT_NE(output.find("message: Keine Stunden mehr zu setzen!"), std::string::npos) << output;
}

}  // namespace
