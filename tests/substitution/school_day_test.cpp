#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "substitution/absence_register.h"
#include "substitution/day_files.h"
#include "substitution/day_text_file.h"
#include "substitution/extra_work_log.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = QUORT_SOURCE_DIR;

// Runs the test body inside a directory of its own: the day's files live in the current
// directory, as they do for the planner.
class InDirectory {
 public:
  explicit InDirectory(const fs::path& dir) : m_previous(fs::current_path()) { fs::current_path(dir); }
  ~InDirectory() { fs::current_path(m_previous); }

 private:
  fs::path m_previous;
};

std::string fileText(const fs::path& path) { return quort::test::readFile(path.string()); }

void writeText(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// The scripted school day on the demo school: absences of teachers (one for two periods),
// a class and a room; proposals, manual and automatic substitutions; the day files and
// the log printed line by line; the grids consistent throughout; the day cancelled at
// the end. Every line of the output is kept in school_day.expected.
TEST(SchoolDayScript, WritesTheExpectedDayFilesAndLog) {
  const quort::test::TempDir dir;
  fs::copy_file(kSource / "demo" / "DEMO.GD", dir.path() / "DEMO.GD");
  fs::copy_file(kSource / "demo" / "DEMO.PL", dir.path() / "DEMO.PL");
  const fs::path data = kSource / "tests" / "substitution" / "data";
  const std::string command = "cd '" + dir.path().string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch '" +
                              (data / "school_day.batch").string() + "' > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << fileText(dir.path() / "err.txt");
  const std::string expected = fileText(data / "school_day.expected");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(fileText(dir.path() / "out.txt"), expected);
  // The files themselves: CR LF lines, no end-of-file byte, backups beside them.
  const std::string day = fileText(dir.path() / "sMO.x");
  EXPECT_EQ(day.rfind("Vertretungen MO,03.02.2025\r\n", 0), 0U);
  EXPECT_EQ(day.find('\x1A'), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.path() / "sMO.xb"));
  EXPECT_TRUE(fs::exists(dir.path() / "termin.bx"));
  EXPECT_TRUE(fs::exists(dir.path() / "prot.bx"));
}

// Entries are keyed by everything before the reason: teacher "MU" must not take room
// "MUS" or a period range of its own with it.
TEST(AbsenceRegister, ReplacesAndDeletesOnlyEqualKeys) {
  const quort::test::TempDir dir;
  const InDirectory inside(dir.path());
  writeText("termin.x",
            "03.02.2025:MUS(Wasser)\r\n03.02.2025:MU:1-10(Kur)\r\n03.02.2025:MU(alt)\r\n\x1A"
            "03.02.2025:XX(hinter dem Dateiende)\r\n");
  quort::ScriptedUi ui;
  quort::AbsenceEntry entry{"03.02.2025", "03.02.2025", "MU", 0, 0, true, "neu"};
  ASSERT_TRUE(quort::writeAbsenceRegister(ui, entry, true));
  EXPECT_EQ(fileText("termin.x"), "03.02.2025:MUS(Wasser)\r\n03.02.2025:MU:1-10(Kur)\r\n03.02.2025:MU(neu)\r\n");
  ASSERT_TRUE(quort::writeAbsenceRegister(ui, entry, false));
  EXPECT_EQ(fileText("termin.x"), "03.02.2025:MUS(Wasser)\r\n03.02.2025:MU:1-10(Kur)\r\n");
  EXPECT_TRUE(fs::exists("termin.bx"));
}

// Items and lines as the register writes them, and read back with their fields.
TEST(AbsenceRegister, LineFormatsRoundTrip) {
  quort::AbsenceEntry range{"03.02.2025", "05.02.2025", "MU", 1, 3, false, "Fortbildung"};
  EXPECT_EQ(quort::absenceLine(range), "03.02.2025-05.02.2025:MU:1-3n(Fortbildung)");
  quort::AbsenceEntry day{"03.02.2025", "03.02.2025", "7A", 0, 0, false, "Wandertag"};
  EXPECT_EQ(quort::absenceLine(day), "03.02.2025:7A:n(Wandertag)");
  const auto parsed = quort::parseAbsenceLine("03.02.2025-05.02.2025:MU:1-3n(Fortbildung (Kur))");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->to, "05.02.2025");
  const quort::AbsenceItemFields fields = quort::parseAbsenceItem(parsed->item);
  EXPECT_EQ(fields.who, "MU");
  EXPECT_EQ(fields.first, 1);
  EXPECT_EQ(fields.last, 3);
  EXPECT_FALSE(fields.countFlag);
  EXPECT_EQ(fields.reason, "Fortbildung (Kur)");
  EXPECT_FALSE(quort::parseAbsenceLine("kurz"));
}

// A second substitution of a lesson keeps the lesson as first recorded left of ":".
TEST(DayFile, SecondSubstitutionKeepsTheFirstLeftPart) {
  std::vector<std::string> lines = {"Vertretungen MO,03.02.2025", " 5A  3.Std.11A-SD: MR-D in 101 (*)"};
  quort::mergeSubstitutionLine(lines, " 5A  3.Std.: KS-D (*)");
  quort::mergeSubstitutionLine(lines, " 5A  4.Std.: frei");
  ASSERT_EQ(lines.size(), 3U);
  EXPECT_EQ(lines[1], " 5A  3.Std.11A-SD: KS-D (*)");
  EXPECT_EQ(lines[2], " 5A  4.Std.: frei");
  EXPECT_EQ(quort::logLine("03.02.2025", "Krank, Arzt", " 5A  4.Std.: frei"),
            "03.02.2025[Krank; Arzt], 5A  4.Std.: frei");
  EXPECT_EQ(quort::tidyNotesLine(",MR(Krank)  ,  7A(Wandertag),"), "MR(Krank),7A(Wandertag)");
}

// Appending to a file that ends in 0x1A cuts it first; nothing behind it survives.
TEST(DayFile, AppendingCutsAtTheEndOfFileByte) {
  const quort::test::TempDir dir;
  const InDirectory inside(dir.path());
  writeText("prot.x", "03.02.2025[], 5A  1.Std.: MR-D (*)\r\n\x1A");
  writeText("sMO.x", "Vertretungen MO,03.02.2025\r\n\x1A");
  quort::Workspace ws;
  quort::ScriptedUi ui;
  ASSERT_TRUE(quort::writeSubstitutionLines(ws, ui, "03.02.2025", {{" 5B  2.Std.: frei", ""}}));
  EXPECT_EQ(fileText("prot.x"), "03.02.2025[], 5A  1.Std.: MR-D (*)\r\n03.02.2025[], 5B  2.Std.: frei\r\n");
  EXPECT_EQ(fileText("sMO.x"), "Vertretungen MO,03.02.2025\r\n 5B  2.Std.: frei\r\n");
}

// A weekday file of another week is cleared only after the question, and asked once.
TEST(DayFile, AnotherWeeksFileIsClearedAfterAsking) {
  const quort::test::TempDir dir;
  const InDirectory inside(dir.path());
  writeText("sMO.x", "Vertretungen MO,27.01.2025\r\n 5A  1.Std.: frei\r\n");
  quort::Workspace ws;
  quort::ScriptedUi ui;
  ui.queueAnswer("Ja");
  ASSERT_TRUE(quort::writeSubstitutionLines(ws, ui, "03.02.2025", {{" 5B  2.Std.: frei", ""}}));
  EXPECT_EQ(fileText("sMO.x"), "Vertretungen MO,03.02.2025\r\n 5B  2.Std.: frei\r\n");
  EXPECT_TRUE(fs::exists("sMO.xb"));
}

// Maintenance: the later line of a lesson wins, lines are sorted by date, class and period,
// exam and imported lines ("#") of one date are never merged, short lines survive.
TEST(ExtraWorkLog, MaintenanceKeepsLaterLinesAndNeverMergesTeachers) {
  const std::vector<std::string> log = {
      "04.02.2025[], 5A  1.Std.: MR-D (*)",
      "03.02.2025[], 5B  2.Std.: KS-D (*)",
      "03.02.2025[], 5B  2.Std.: WS-D (st. 5B MO)",
      "03.02.2025[Klausur], 9A  3.Std.: AB (#2)",
      "03.02.2025[Klausur], 9A  3.Std.: CD (#2)",
      "x.Std",
      "ohne Stunde",
  };
  const std::vector<std::string> expected = {
      "x.Std",
      "03.02.2025[], 5B  2.Std.: WS-D (st. 5B MO)",
      "03.02.2025[Klausur], 9A  3.Std.: AB (#2)",
      "03.02.2025[Klausur], 9A  3.Std.: CD (#2)",
      "04.02.2025[], 5A  1.Std.: MR-D (*)",
  };
  EXPECT_EQ(quort::maintainedLogLines(log), expected);
}

}  // namespace
