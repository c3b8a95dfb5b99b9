#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "exams/exam_log.h"
#include "exams/exam_text.h"
#include "substitution/extra_work_log.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kSource = QUORT_SOURCE_DIR;

std::string pdfTextOf(const quort::test::TempDir& dir, const std::string& pdf) {
  const std::string text = dir.file(pdf + ".txt");
  EXPECT_EQ(std::system(("pdftotext -layout '" + dir.file(pdf) + "' '" + text + "'").c_str()), 0)
      << "poppler-utils needed";
  return quort::test::readFile(text);
}

void expectAll(const std::string& text, const std::vector<std::string>& parts, const std::string& where) {
  for (const std::string& part : parts)
    EXPECT_NE(text.find(part), std::string::npos) << where << ": " << part << "\n" << text;
}

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

// One exam from the presets to the day's outputs in one run (exam_to_day.batch): planned
// with rooms and supervisions, saved, its plan saved and printed, taken over into the day
// of the exam, the lesson a supervisor leaves given to a substitute; the day's files,
// notice board, web page and print show the exam, and each supervisor's extra work counts
// once.
TEST(ExamScript, ExamGoesFromThePresetsIntoTheDaysOutputs) {
  const quort::test::TempDir dir;
  fs::copy_file(kSource / "demo" / "DEMO.GD", dir.path() / "DEMO.GD");
  fs::copy_file(kSource / "demo" / "DEMO.PL", dir.path() / "DEMO.PL");
  const std::string command = "cd '" + dir.path().string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch '" +
                              (kSource / "tests" / "exams" / "data" / "exam_to_day.batch").string() +
                              "' > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << quort::test::readFile(dir.file("err.txt"));
  const std::string out = quort::test::readFile(dir.file("out.txt"));

  // The record: the proposals' room changes with the supervisions typed over them.
  const auto exams = quort::examsOfDayIn(quort::test::readFile(dir.file("klausauf.x")), "03.02.2025");
  ASSERT_EQ(exams.size(), 1U);
  EXPECT_EQ(exams[0].supervisions.size(), 4U);
  EXPECT_EQ(exams[0].roomChanges.size(), 2U);
  expectAll(quort::test::readFile(dir.file("klausauf.txt")),
            {"Klausuren am MO,03.02.2025\r\nStufe: 11      Zeit: 1-2\r\nAufsichten:\r\n", "102: 1.HW,2.MR(*)\r\n",
             "2.:  5A 101->103, 5B 102->104\r\n"},
            "klausauf.txt");
  expectAll(pdfTextOf(dir, "exams.pdf"), {"Klausuren am MO,03.02.2025", "Stufe: 11", "102: 1.HW,2.MR(*)"}, "exams.pdf");

  // The day: MR supervises in period 2, so 5A's lesson, moved out of the exam room, waits
  // open in its new room instead of showing MR in two places; KS takes it there.
  expectAll(out,
            {"message: Klausuren in 11 \xC3\xBC"
             "bernommen!\ntext: Zu vertreten:\n  MO 2.Std. 5A MR-D 103\n",
             "message: 5A in KS-D in 103 gesetzt!", "consistency: ok"},
            "out.txt");
  const std::string day = quort::test::readFile(dir.file("sMO.x"));
  expectAll(day,
            {"Vertretungen MO,03.02.2025\r\n", "11A  1.Std.: EC-* in 101 Klausuraufsicht\r\n",
             "11B  2.Std.: MR-* in 102 Klausuraufsicht\r\n", "11D  1.Std.: frei Klausur\r\n",
             " 5B  2.Std.: JG-D in 104 Klausur\r\n", " 5A  2.Std.: KS-D in 103 (*)\r\n"},
            "sMO.x");
  const std::string log = quort::test::readFile(dir.file("prot.x"));
  // Neither the day as taken over (printed before KS is set) nor the log ever had MR in 5A.
  for (const std::string& text : {out, log}) EXPECT_EQ(text.find("5A  2.Std.: MR-D"), std::string::npos) << text;
  expectAll(quort::test::readFile(dir.file("tMO.x")),
            {"Aufsichten:\r\nKlausur 11 in 101: 1.EC,2.EC\r\nKlausur 11 in 102: 1.HW,2.MR\r\n",
             "Klausur 11: 2.Std. 5A 101->103\r\n"},
            "tMO.x");
  expectAll(quort::test::readFile(dir.file("gMO.txt")),
            {"11B       : MR-* in 102", " 5A       : KS-D in 103", "[ Hinweise ]", "Klausur 11 in 102: 1.HW,2.MR"},
            "gMO.txt");
  expectAll(quort::test::readFile(dir.file("vertretung.html")),
            {"Klausur 11 in 101: 1.EC,2.EC", "<td data-label=\"Vertretung\">KS</td>"}, "vertretung.html");
  expectAll(pdfTextOf(dir, "day.pdf"), {"MR-* in 102", "KS-D in 103", "Klausur 11: 2.Std. 5B 102->104"}, "day.pdf");

  // The supervisions count through the exam's lines in prot.x, not once more through the
  // day's supervision lines; the substitute's "(*)" counts as well.
  const std::string counts = "extra-work: MR 1\nextra-work: KS 1\nextra-work: HW 1\nextra-work: EC 2\n";
  EXPECT_TRUE(out.ends_with(counts)) << out;
  for (const char* line : {"11A  1.Std.: EC-*  (#2)", "11A  1.Std.: HW-*  (#1)", "11A  1.Std.: MR-*  (#1)"})
    EXPECT_NE(log.find(line), std::string::npos) << line << "\n" << log;
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
