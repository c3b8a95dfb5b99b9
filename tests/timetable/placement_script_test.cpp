#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = QUORT_SOURCE_DIR;

// The script in data/placement.batch sets, forces, removes and undoes lessons on a copy of
// the demo school; the planner prints exactly the messages, questions, lists and grids of
// data/placement.expected. The refusals in it let the script run on, but fail it.
TEST(PlacementScript, PrintsTheExpectedMessagesAndGrids) {
  const quort::test::TempDir dir;
  fs::copy_file(kSource / "demo" / "DEMO.GD", dir.path() / "DEMO.GD");
  fs::copy_file(kSource / "demo" / "DEMO.PL", dir.path() / "DEMO.PL");
  const fs::path script = kSource / "tests" / "timetable" / "data" / "placement.batch";
  const std::string command = "cd '" + dir.path().string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch '" +
                              script.string() + "' > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << status;
  EXPECT_EQ(quort::test::readFile(dir.file("err.txt"))
                .rfind("Zeile 29: nicht ausgef\xC3\xBChrt: Daten nicht mehr zuverl\xC3\xA4ssig!\n", 0),
            0U)
      << quort::test::readFile(dir.file("err.txt"));
  const std::string expected =
      quort::test::readFile((kSource / "tests" / "timetable" / "data" / "placement.expected").string());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(quort::test::readFile(dir.file("out.txt")), expected);
  EXPECT_TRUE(fs::exists(dir.path() / "safe.PL"));  // every set and remove command keeps a safety copy
}

}  // namespace
