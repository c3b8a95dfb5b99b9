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
int runScript(const fs::path& dir, const std::string& script, std::string& output) {
  fs::create_directories(dir);
  std::ofstream(dir / "auto.batch", std::ios::binary) << script;
  const std::string command =
      "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch auto.batch > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  output = quort::test::readFile(dir / "out.txt") + quort::test::readFile(dir / "err.txt");
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string openDemo() { return "open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() + "\n"; }

// The block dialog answered from a script: the range is composed from "Kopplung:" and
// "Letzte Kopplung:" and added, then evaluated; "^B 11 12" gives the same blocks. Blocks
// pair a band of year 11 with one of year 12.
TEST(AutomationBatch, BlockDialogFromScript) {
  quort::test::TempDir temp;
  std::string dialog;
  ASSERT_EQ(runScript(temp.path() / "a",
                      openDemo() + "answer $\nanswer $7\nanswer $26\nanswer Hinzuf\xC3\xBCgen\nanswer Auswerten\n"
                                   "command ^B\nlist blocks\n",
                      dialog),
            0)
      << dialog;
  EXPECT_NE(dialog.find("question: Blockerstellung - Vorgaben"), std::string::npos) << dialog;
  EXPECT_NE(dialog.find("-> Hinzuf\xC3\xBCgen"), std::string::npos) << dialog;
  const size_t list = dialog.find("\n1:");
  ASSERT_NE(list, std::string::npos) << dialog;
  std::string grades;
  ASSERT_EQ(runScript(temp.path() / "b", openDemo() + "answer Auswerten\ncommand ^B 11 12\nlist blocks\n", grades), 0);
  EXPECT_EQ(dialog.substr(list), grades.substr(grades.find("\n1:")));
  EXPECT_NE(dialog.find("\n10:"), std::string::npos) << dialog;
  EXPECT_EQ(dialog.find("\n11:"), std::string::npos) << dialog;

  std::string bad;
  EXPECT_EQ(runScript(temp.path() / "c", openDemo() + "command ^B 7-x\n", bad), 1) << bad;
  EXPECT_NE(bad.find("Eingabefehler!"), std::string::npos) << bad;
}

// A block of the upper school by hand on an emptied plan: ">+1" sets both couplings in
// one slot, "<+1" takes both out after their questions; where the block does not stand
// the line fails, and a block number beyond the list stops the script.
TEST(AutomationBatch, BlockSetAndRemovedByItsNumber) {
  quort::test::TempDir temp;
  std::string output;
  const std::string prepare =
      openDemo() + "answer ?1\nanswer alle Klassen\nmenu 107\nanswer Auswerten\ncommand ^B 7-26\n";
  ASSERT_EQ(runScript(temp.path() / "a",
                      prepare + "command >+1 MO1\nshow class 11A\nshow class 12A\ninfo\n"
                                "answer Ja\nanswer Ja\ncommand <+1 MO2\ninfo\nverify\n",
                      output),
            0)
      << output;
  EXPECT_NE(output.find("1   E  SD -   K9"), std::string::npos) << output;
  EXPECT_NE(output.find("2   L  MQ -   K20"), std::string::npos) << output;
  const size_t placed = output.find("placedCells: ");
  EXPECT_EQ(output.substr(placed, 16), "placedCells: 22\n") << output;
  EXPECT_NE(output.find("placedCells: 0\n", placed), std::string::npos) << output;
  EXPECT_NE(output.find("verify: ok"), std::string::npos) << output;

  EXPECT_EQ(runScript(temp.path() / "b", prepare + "command <+1 MO2\n", output), 1) << output;
  EXPECT_NE(output.find("Kopplung 9 in MO 2 nicht gesetzt!"), std::string::npos) << output;
  EXPECT_EQ(runScript(temp.path() / "c", prepare + "command >+11 MO1\n", output), 1) << output;
}

// Room distribution with "^" in work mode 2 after a generation: a second run changes no
// room plan, an unknown class code fails its line, and "zurück" takes the rooms back.
TEST(AutomationBatch, RoomDistributionFromScript) {
  quort::test::TempDir temp;
  std::string output;
  const std::string rooms = "show room PH1\nshow room A01\nshow room 101\n";
  const std::string script = openDemo() + "answer Auswerten\ncommand ^\nmode 2\ncommand ^\nshow room 101\n" +
                             "command U:\nshow room 101\ncommand ^\n" + rooms + "command ^\n" + rooms +
                             "consistency\ncommand ^K:5A,XX\n";
  ASSERT_EQ(runScript(temp.path(), script, output), 1) << output;
  EXPECT_NE(output.find("text: Fehlende R\xC3\xA4ume"), std::string::npos) << output;
  EXPECT_NE(output.find("consistency: ok"), std::string::npos) << output;
  EXPECT_NE(output.find("Fehler: XX"), std::string::npos) << output;
  const size_t distributed = output.find("room: 101");
  const size_t undone = output.find("room: 101", distributed + 1);
  ASSERT_NE(undone, std::string::npos) << output;
  EXPECT_NE(output.substr(distributed, undone - distributed).find("5A "), std::string::npos) << output;
  EXPECT_EQ(output.substr(undone, output.find("text: Fehlende", undone) - undone).find("5A "), std::string::npos)
      << output;
  const size_t first = output.find("room: PH1");
  const size_t second = output.find("room: PH1", first + 1);
  ASSERT_NE(second, std::string::npos) << output;
  const size_t firstEnd = output.find("text: Fehlende", first);
  const size_t secondEnd = output.find("consistency", second);
  EXPECT_EQ(output.substr(first, firstEnd - first), output.substr(second, secondEnd - second));
}

}  // namespace
