#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "exams/exam_log.h"
#include "exams/exam_text.h"
#include "substitution/extra_work_log.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = QUORT_SOURCE_DIR;

// One exam planned by script on the demo school: presets, main view, proposals, the
// record in klausauf.x and the supervisors' extra work in prot.x. Every output line is
// kept in exam_day.expected; the files are checked as the substitution day reads them.
TEST(ExamScript, PlansSavesAndCountsAnExamOnTheDemoSchool) {
  const quort::test::TempDir dir;
  fs::copy_file(kSource / "demo" / "DEMO.GD", dir.path() / "DEMO.GD");
  fs::copy_file(kSource / "demo" / "DEMO.PL", dir.path() / "DEMO.PL");
  const fs::path data = kSource / "tests" / "exams" / "data";
  const std::string command = "cd '" + dir.path().string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch '" +
                              (data / "exam_day.batch").string() + "' > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << quort::test::readFile(dir.file("err.txt"));
  const std::string expected = quort::test::readFile((data / "exam_day.expected").string());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(quort::test::readFile(dir.file("out.txt")), expected);

  const auto exams = quort::examsOfDayIn(quort::test::readFile(dir.file("klausauf.x")), "03.02.2025");
  ASSERT_EQ(exams.size(), 1U);
  EXPECT_EQ(exams[0].grade, "11");
  EXPECT_EQ(exams[0].supervisions.size(), 4U);
  for (const char* line : {"EC-*  (#2)", "HW-*  (#1)", "SD-*  (#1)"}) {
    EXPECT_NE(quort::test::readFile(dir.file("prot.x")).find(line), std::string::npos) << line;
  }
  // Log maintenance keeps the line of every supervisor.
  int hours = 0;
  for (const std::string& line :
       quort::maintainedLogLines(quort::fieldLines(quort::test::readFile(dir.file("prot.x"))))) {
    hours += quort::loggedHours(line);
  }
  EXPECT_EQ(hours, 4);
  // "Sichern" does nothing in the exam mode.
  EXPECT_FALSE(fs::exists(dir.path() / "EXAM.PL"));
}

// Refusals fail their line but the script runs on: a term on Sunday, a course file that is
// not there, the main view and the dialog without an exam.
TEST(ExamScript, RefusalsFailTheirLineAndTheScriptGoesOn) {
  const quort::test::TempDir dir;
  const std::string script =
      dir.write("refusals.batch", "open " + (kSource / "demo" / "DEMO.GD").string() +
                                      "\nmode 4\nexam preset SO1-2|11|\nexam courses FEHLT.BK\nexam show\n"
                                      "button einf\xC3\xBCgen\nexam fields\n");
  const std::string command = "cd '" + dir.path().string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch '" + script +
                              "' > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1);
  const std::string out = quort::test::readFile(dir.file("out.txt"));
  EXPECT_NE(out.find("message: Eingabefehler!"), std::string::npos) << out;
  EXPECT_NE(out.find("message: Datei-/Druckfehler!"), std::string::npos) << out;
  EXPECT_NE(out.find("message: Keine Eingaben!"), std::string::npos) << out;
  EXPECT_NE(out.find("Mehrarbeit abrechnen: 0"), std::string::npos) << out;  // the last line still ran
  const std::string err = quort::test::readFile(dir.file("err.txt"));
  for (const char* line : {"Zeile 3:", "Zeile 4:", "Zeile 5:", "Zeile 6:"}) {
    EXPECT_NE(err.find(line), std::string::npos) << line << "\n" << err;
  }
}

}  // namespace
