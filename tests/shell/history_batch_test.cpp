#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

int runHistoryScript(const fs::path& dir, const std::string& script, std::string& output) {
  fs::create_directories(dir);
  std::ofstream(dir / "history.batch", std::ios::binary) << script;
  const std::string command =
      "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch history.batch > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  output = quort::test::readFile(dir / "out.txt") + quort::test::readFile(dir / "err.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> openPeriodLines(const std::string& output) {
  std::vector<std::string> lines;
  for (size_t at = output.find("openPeriods: "); at != std::string::npos; at = output.find("openPeriods: ", at + 1)) {
    lines.push_back(output.substr(at, output.find('\n', at) - at));
  }
  return lines;
}

// A generation run is one step: "undo" gives the opened plan back, "redo" the generated
// one, while "U" (zurück) keeps its own backup.
TEST(HistoryBatch, UndoAndRedoWalkOverAGenerationRun) {
  quort::test::TempDir temp;
  std::string output;
  const std::string script = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() +
                             "\ninfo\nanswer Auswerten\ncommand ^K1\ninfo\nundo\ninfo\nredo\ninfo\n";
  ASSERT_EQ(runHistoryScript(temp.path(), script, output), 0) << output;
  const std::vector<std::string> lines = openPeriodLines(output);
  ASSERT_EQ(lines.size(), 4U) << output;
  EXPECT_NE(lines[0], lines[1]) << output;
  EXPECT_EQ(lines[2], lines[0]) << output;
  EXPECT_EQ(lines[3], lines[1]) << output;
}

// Nothing to undo or redo, a move with bad slots and a move from an empty cell each fail
// their line, so a script does not run on believing it changed the plan.
TEST(HistoryBatch, WalksAndMovesThatDoNothingFailTheirLine) {
  quort::test::TempDir temp;
  std::string output;
  const std::string open = "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() + "\n";
  EXPECT_EQ(runHistoryScript(temp.path() / "undo", open + "undo\n", output), 1) << output;
  EXPECT_NE(output.find("undo: nichts"), std::string::npos) << output;
  EXPECT_EQ(runHistoryScript(temp.path() / "redo", open + "redo\n", output), 1) << output;
  EXPECT_EQ(runHistoryScript(temp.path() / "bad", open + "move MO1\n", output), 1) << output;
  EXPECT_NE(output.find("move: Eingabefehler"), std::string::npos) << output;
  EXPECT_EQ(runHistoryScript(temp.path() / "empty", open + "move MO1 DI2 K:5A\n", output), 1) << output;
}

}  // namespace
