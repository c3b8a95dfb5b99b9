#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kInfo =
    "days: 5\nperiods: 10\nafternoonStart: 6\nweekAlternation: 0\n"
    "classes: 36\nteachers: 60\nsubjects: 25\nrooms: 45\n"
    "assignments: 0\nbuffer: 0\ncouplings: 0\nblocks: 0\nplacedCells: 0\nopenPeriods: 0\n"
    "openLessons: 0\nfreedLessons: 0\n";

using quort::test::readFile;

// The planner binary runs a script in a temporary working directory of its own.
class PlannerBatch : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir = fs::temp_directory_path() / ("quort_batch_" + test + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }

  // Runs script (from standard input when fromStdin); output receives standard output.
  int run(const std::string& script, bool fromStdin = false) {
    std::ofstream(dir / "test.batch", std::ios::binary) << script;
    const std::string command = "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch " +
                                (fromStdin ? "- < test.batch" : "test.batch") + " > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    output = readFile(dir / "out.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  bool printed(const std::string& line) const { return output.find(line + "\n") != std::string::npos; }

  fs::path dir;
  std::string output;
};

// Comments and blank lines are skipped; a script read from standard input runs the same.
TEST_F(PlannerBatch, InfoPrintsTheDemoSchoolCountsFromFileOrStandardInput) {
  const std::string script = "# Z\xC3\xA4hlen\n\n   \nopen " + quort::test::demoFile() + "\r\n\ninfo\n";
  EXPECT_EQ(run(script), 0);
  EXPECT_EQ(output, kInfo);
  EXPECT_EQ(run(script, true), 0);
  EXPECT_EQ(output, kInfo);
}

// Base data saved under a new name are the very bytes that were loaded.
TEST_F(PlannerBatch, SavedBaseDataAreByteIdenticalToTheLoadedFile) {
  EXPECT_EQ(run("open " + quort::test::demoFile() + "\nsave-base " + (dir / "NEU").string() + "\n"), 0);
  ASSERT_TRUE(fs::exists(dir / "NEU.GD"));
  EXPECT_EQ(readFile(dir / "NEU.GD"), readFile(quort::test::demoFile()));
}

// A header that counts no classes makes the data defective; "Nein" ends the program.
TEST_F(PlannerBatch, DefectiveBaseDataEndTheProgramWhenNoNewDataAreWanted) {
  std::string content = readFile(quort::test::demoFile());
  const size_t header = content.find("362,36,61,26,45");
  ASSERT_EQ(header, 0U);
  content.replace(header, 15, "362,0,61,26,45");
  std::ofstream(dir / "LEER.GD", std::ios::binary) << content;
  EXPECT_EQ(run("answer Nein\nopen " + (dir / "LEER.GD").string() + "\ninfo\n"), 1);
  EXPECT_TRUE(printed("question: Keine oder defekte Grunddaten! Neue Daten aufnehmen? -> Nein")) << output;
  EXPECT_TRUE(printed("message: Programmabbruch!")) << output;
  EXPECT_FALSE(printed("days: 5"));
}

// Commands print their messages in UTF-8; an unknown keyword stops the script.
TEST_F(PlannerBatch, UnknownKeywordStopsTheScriptAfterEarlierLinesRan) {
  EXPECT_EQ(run("open " + quort::test::demoFile() + "\ncommand o\nfrobnicate 1\ninfo\n"), 1);
  EXPECT_EQ(output, "message: Funktion nicht verf\xC3\xBCgbar!\n");
}

// A name that does not sort after "A" is refused before any file is written.
TEST_F(PlannerBatch, RefusedFileNameFailsTheScriptAndWritesNothing) {
  EXPECT_EQ(run("open " + quort::test::demoFile() + "\nsave-base A\ninfo\n"), 1);
  EXPECT_EQ(output, "message: Dateifehler A! Datenverlust!\n");
  EXPECT_FALSE(fs::exists(dir / "A.GD"));
}

// An umlaut in a teacher's line reaches the output as UTF-8.
TEST_F(PlannerBatch, UmlautsAppearAsUtf8) {
  EXPECT_EQ(run("open " + quort::test::demoFile() + "\nshow teacher MR\n"), 0);
  EXPECT_TRUE(printed("line: MR M\xC3\xBCller 0 25.5")) << output;
  EXPECT_FALSE(printed("line: MR M\xFCller 0 25.5"));
}

// A school kept in a directory with an umlaut in its name opens like any other.
TEST_F(PlannerBatch, BaseDataOpenFromADirectoryWithAnUmlaut) {
  fs::create_directories(dir / "J\xC3\xBCrgen");
  fs::copy_file(quort::test::demoFile(), dir / "J\xC3\xBCrgen" / "DEMO.GD");
  EXPECT_EQ(run("open " + (dir / "J\xC3\xBCrgen" / "DEMO.GD").string() + "\ninfo\n"), 0);
  EXPECT_EQ(output, kInfo);
}

}  // namespace

namespace {

// The demo plan loads without a message and is saved back byte for byte.
TEST_F(PlannerBatch, DemoPlanSavesByteIdentical) {
  EXPECT_EQ(run("open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() + "\ninfo\nsave-plan NEU\n"), 0);
  EXPECT_EQ(output.find("message: Keine"), std::string::npos) << output;
  EXPECT_TRUE(printed("couplings: 26"));
  EXPECT_TRUE(printed("blocks: 4"));
  EXPECT_TRUE(printed("openPeriods: 788"));
  EXPECT_TRUE(printed("message: Daten unter 'NEU' gesichert."));
  EXPECT_EQ(readFile(dir / "NEU.PL"), readFile(quort::test::demoPlanFile()));
  EXPECT_EQ(readFile(dir / "NEU.GD"), readFile(quort::test::demoFile()));
}

// A plan save whose base-data file cannot be written fails its line and writes no plan.
TEST_F(PlannerBatch, SavePlanFailsWhenTheBaseDataCannotBeWritten) {
  fs::create_directories(dir / "NEU.GD.tmp" / "inhalt");
  EXPECT_EQ(run("open " + quort::test::demoFile() + " " + quort::test::demoPlanFile() + "\nsave-plan NEU\ninfo\n"), 1);
  EXPECT_TRUE(printed("message: Dateifehler NEU! Datenverlust!")) << output;
  EXPECT_FALSE(printed("message: Daten unter 'NEU' gesichert."));
  EXPECT_FALSE(fs::exists(dir / "NEU.PL"));
  EXPECT_FALSE(fs::exists(dir / "NEU.GD"));
}

// A snapshot name loads its plan file first and then the snapshot; the next save proposes the snapshot.
TEST_F(PlannerBatch, SnapshotNameLoadsPlanAndSnapshot) {
  fs::copy_file(quort::test::demoFile(), dir / "SCHULE.GD");
  fs::copy_file(quort::test::demoPlanFile(), dir / "SCHULE.PL");
  std::string snapshot = readFile(quort::test::demoPlanFile());
  snapshot.replace(snapshot.find("\r\n#5#\r\n0,0,0,0"), 14, "\r\n#5#\r\n6,1,257,0\r\n0,0,0,0");
  std::ofstream(dir / "SCHULE_MO.PV", std::ios::binary) << snapshot;
  EXPECT_EQ(run("open SCHULE.GD SCHULE_MO.PV\ninfo\nshow class 5A\nanswer Ja\nsave-plan SCHULE_MO\n"), 0);
  EXPECT_TRUE(printed("placedCells: 1")) << output;
  EXPECT_TRUE(printed("question: QUORT-Plan - Plan sichern [*.pv] -> SCHULE_MO"));
  EXPECT_NE(output.find("    1   D  HB"), std::string::npos) << output;
  EXPECT_EQ(run("open SCHULE.GD FEHLT.PL\n"), 1);
  EXPECT_TRUE(printed("message: Keine oder fehlerhafte Daten!"));
}

// A picture of the window is only written when everything named on the command line was
// opened: a missing base-data file or an unknown class gives no picture and status 1. A
// good run says nothing.
TEST_F(PlannerBatch, ScreenshotOfWhatCouldNotBeOpenedWritesNoPicture) {
  const auto screenshot = [&](const std::string& arguments) {
    const std::string command = "cd '" + dir.string() + "' && env -u XDG_RUNTIME_DIR QT_QPA_PLATFORM=offscreen '" +
                                QUORT_PLANNER_BINARY + "' --screenshot out.png " + arguments + " > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(screenshot("--open NICHTDA.GD"), 1);
  EXPECT_FALSE(fs::exists(dir / "out.png"));
  EXPECT_NE(readFile(dir / "err.txt").find("message: Programmabbruch!"), std::string::npos);
  EXPECT_EQ(screenshot("--open " + quort::test::demoFile() + " --class ZZ"), 1);
  EXPECT_FALSE(fs::exists(dir / "out.png"));
  EXPECT_NE(readFile(dir / "err.txt").find("Klasse nicht gefunden: ZZ"), std::string::npos);
  EXPECT_EQ(screenshot("--open " + quort::test::demoFile() + " --class 7B"), 0) << readFile(dir / "err.txt");
  EXPECT_TRUE(fs::exists(dir / "out.png"));
  EXPECT_EQ(readFile(dir / "err.txt"), "");  // Qt's notes of a run without a display are no news
}

}  // namespace
