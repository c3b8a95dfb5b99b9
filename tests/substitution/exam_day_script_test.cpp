// The exams of klausauf.x on the substitution day of the demo school, and the exam plan
// printed, saved and uploaded, all through planner scripts.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/codepage.h"
#include "exams/exam_log.h"
#include "exams/exam_preset.h"
#include "substitution/test_servers.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const fs::path kExamDaySource = QUORT_SOURCE_DIR;

std::string examDayFile(const fs::path& path) { return quort::test::readFile(path.string()); }
void examDayWrite(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

int runExamDayScript(const fs::path& dir, const std::string& script) {
  examDayWrite(dir / "run.batch", script);
  const std::string command =
      "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch run.batch > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string pdfText(const fs::path& pdf) {
  const fs::path text = pdf.string() + ".txt";
  EXPECT_EQ(std::system(("pdftotext -layout '" + pdf.string() + "' '" + text.string() + "'").c_str()), 0)
      << "poppler-utils needed";
  return examDayFile(text);
}

// Grade 12 writes in periods 3 and 4 of Monday 03.02.2025. In period 3 the day's plan
// (kDemoDayStart) has coupling 22 with 12A KRa in A02, 12B ERa in A03, and 12C PLa and
// 12F PLb, which do not write; 5B sits in the exam room 102 and MR teaches 5A in 101.
// Grade 12 has no lesson in period 4.
const char* const kDemoSupervisions = "A02:3.MR,4.MR(*)\r\n102:3.NB(*),4.WZ(*)";

std::string demoExamRecord() {
  quort::ExamFields fields;
  fields.rooms = "A02:KRA WD,ERA SO\r\n102:KRA WD";
  fields.supervisions = kDemoSupervisions;
  fields.roomChanges = "3.: 5B 102>A01";
  fields.freed = "3.:12A KRA WD,12B ERA SO,12C(PLA TI),12F(PLB KS),";
  return quort::examRecordText(*quort::parseExamPreset("MO3-4|12|KRA,ERA", 10), "03.02.2025", fields);
}

// Another exam a week later: the plan output covers only the dates asked for.
std::string laterExamRecord() {
  quort::ExamFields fields;
  fields.rooms = "A05:D1 WZ";
  fields.supervisions = "A05:2.KS";
  return quort::examRecordText(*quort::parseExamPreset("MO2-2|11|D1", 10), "10.02.2025", fields);
}

void prepareDemoDay(const fs::path& dir) {
  fs::copy_file(kExamDaySource / "demo" / "DEMO.GD", dir / "DEMO.GD");
  fs::copy_file(kExamDaySource / "demo" / "DEMO.PL", dir / "DEMO.PL");
  examDayWrite(dir / "klausauf.x", demoExamRecord() + laterExamRecord());
}

// The lessons the exam meets are placed by hand, so that the day does not follow the
// generator's choices.
const char* const kDemoDayStart =
    "open DEMO.GD DEMO.PL\n"
    "command >#22 MO3\n"
    "command >MO3 K:5A L:MR F:D\n"
    "command >MO3 K:5B L:AL F:E\n"
    "mode 2\n"
    "command >R:A02 K:12A MO3\n"
    "command >R:A03 K:12B MO3\n"
    "command >R:101 K:5A MO3\n"
    "command >R:102 K:5B MO3\n"
    "mode 3\n"
    "clock 03.02.2025 07:45\n"
    "date 03.02.2025\n";

// "vorgeben" moves 5B out of the exam room, drops the writing courses, sets each
// supervisor into the exam room for a class of grade 12 and leaves the lesson the
// supervisor gives up open; the day file, the notes and the printed and saved plans then
// show it. The exam's extra-work lines of its three supervisors share class and period
// and all survive the log maintenance of the day.
TEST(ExamDayScript, TakenOverExamsShowInTheDayPlanAndItsOutputs) {
  const quort::test::TempDir dir;
  prepareDemoDay(dir.path());
  std::string log;
  for (const std::string& line : quort::examExtraWorkLines(
           "03.02.2025", "12", 3, quort::countSupervisions(kDemoSupervisions), [](const std::string&) { return true; }))
    log += line + "\r\n";
  examDayWrite(dir.path() / "prot.x", log);
  const std::string script = std::string(kDemoDayStart) +
                             "exams apply\n"
                             "maintain-log 03.02.2025\n"
                             "open-lessons\n"
                             "consistency\n"
                             "command O:VFG03.02.2025\n"
                             "print-to day.pdf\n"
                             "command O:VPG03.02.2025\n";
  ASSERT_EQ(runExamDayScript(dir.path(), script), 0) << examDayFile(dir.path() / "err.txt");
  const std::string out = examDayFile(dir.path() / "out.txt");
  EXPECT_NE(out.find("message: Klausuren in 12 \xC3\xBC"
                     "bernommen!"),
            std::string::npos);
  EXPECT_NE(out.find("MO 3.Std. 5A MR-D 101"), std::string::npos) << "MR's lesson in 5A is open:\n" << out;
  EXPECT_EQ(examDayFile(dir.path() / "sMO.x"),
            "Vertretungen MO,03.02.2025\r\n"
            " 5B  3.Std.: AL-E in A01 Klausur\r\n"
            "12A  3.Std.: MR-* in A02 Klausuraufsicht\r\n"
            "12B  3.Std.: NB-* in 102 Klausuraufsicht\r\n"
            "12A  4.Std.: MR-* in A02 Klausuraufsicht\r\n"
            "12B  4.Std.: WZ-* in 102 Klausuraufsicht\r\n");
  EXPECT_EQ(examDayFile(dir.path() / "tMO.x"),
            "\r\nAufsichten:\r\nKlausur 12 in A02: 3.MR,4.MR\r\nKlausur 12 in 102: 3.NB,4.WZ\r\n"
            "Klausur 12: 3.Std. 5B 102->A01\r\n");
  EXPECT_NE(out.find("extra-work: MR 1\nextra-work: NB 1\n"), std::string::npos) << out;
  EXPECT_NE(out.find("extra-work: WZ 1\n"), std::string::npos) << out;
  const std::string maintained = examDayFile(dir.path() / "prot.x");
  for (const char* kept : {"12A  3.Std.: MR-*  (#1)", "12A  3.Std.: NB-*  (#1)", "12A  3.Std.: WZ-*  (#1)"})
    EXPECT_NE(maintained.find(kept), std::string::npos) << kept << "\n" << maintained;
  const std::string board = examDayFile(dir.path() / "gMO.txt");
  for (const char* shown :
       {"12A       : MR-* in A02", " 5B       : AL-E in A01", "[ Hinweise ]", "Klausur 12 in A02: 3.MR,4.MR"}) {
    EXPECT_NE(board.find(shown), std::string::npos) << shown << "\n" << board;
  }
  const std::string page = examDayFile(dir.path() / "vertretung.html");
  EXPECT_NE(page.find("Klausur 12 in A02: 3.MR,4.MR"), std::string::npos) << page;
  EXPECT_NE(page.find("<td data-label=\"Vertretung\">MR</td><td data-label=\"Fach\">*</td><td "
                      "data-label=\"Raum\">A02</td>"),
            std::string::npos)
      << page;
  EXPECT_EQ(page.find("<h3>Abwesend</h3>"), std::string::npos) << "a day without absences lists none";
  const std::string printed = pdfText(dir.path() / "day.pdf");
  EXPECT_NE(printed.find("Klausur 12 in 102: 3.NB,4.WZ"), std::string::npos) << printed;
  EXPECT_NE(printed.find("NB-* in 102"), std::string::npos) << printed;
}

// "einlesen" of the day dialog puts supervisors and the classes that write into the
// day's list without counting; evaluating the day then leaves MR's lesson open and takes
// the writing classes' lessons out.
TEST(ExamDayScript, ReadExamsJoinTheAbsenceListAndTheNotes) {
  const quort::test::TempDir dir;
  prepareDemoDay(dir.path());
  const std::string script = std::string(kDemoDayStart) +
                             "answer ?0\n"
                             "answer einlesen\n"
                             "command V:\n"
                             "absence list\n"
                             "exams read\n"
                             "absence list\n"
                             "answer Ja\n"
                             "answer Ja\n"
                             "evaluate\n"
                             "open-lessons\n"
                             "show class 12A\n";
  ASSERT_EQ(runExamDayScript(dir.path(), script), 0) << examDayFile(dir.path() / "err.txt");
  const std::string out = examDayFile(dir.path() / "out.txt");
  const std::string items =
      "  MR:3-4n(Klausuraufsicht)\n  NB:3-3n(Klausuraufsicht)\n  WZ:4-4n(Klausuraufsicht)\n"
      "  12A:3-3n(Klausur)\n  12B:3-3n(Klausur)\n";
  // Read twice (dialog, then keyword) and listed after each: every item is in the list once.
  const size_t first = out.find(items);
  ASSERT_NE(first, std::string::npos) << out;
  EXPECT_EQ(out.find(items, first + 1), first + items.size()) << out;
  EXPECT_EQ(out.find("MR:3-4n", first + 2 * items.size()), std::string::npos) << out;
  EXPECT_NE(out.find("MO 3.Std. 5A MR-D 101"), std::string::npos) << out;
  EXPECT_NE(out.find("question: Kurs 12A 22:"), std::string::npos) << "12A had its course lesson:\n" << out;
  const size_t row = out.find("\n    3   ", out.find("class: 12A"));
  ASSERT_NE(row, std::string::npos);
  EXPECT_EQ(out[row + 9], '.') << "12A writes: its course lesson is out";
  const std::string notes = examDayFile(dir.path() / "tMO.x");
  EXPECT_NE(notes.find("Aufsichten:\r\nKlausur 12 in A02: 3.MR,4.MR\r\n"), std::string::npos) << notes;
  EXPECT_EQ(notes.find("Klausur 12 in A02", notes.find("Klausur 12 in A02") + 1), std::string::npos)
      << "a note read twice is written once";
}

// A day without exams says so and fails the line; so does an exam whose supervision finds
// no class of its grade (there is no grade 13). The rest of the script still runs.
TEST(ExamDayScript, DaysThatCannotBeTakenOverFailTheirLine) {
  const quort::test::TempDir dir;
  prepareDemoDay(dir.path());
  quort::ExamFields fields;
  fields.rooms = "A05:D1 WZ";
  fields.supervisions = "A05:2.KS";
  std::ofstream(dir.path() / "klausauf.x", std::ios::binary | std::ios::app)
      << quort::examRecordText(*quort::parseExamPreset("MI2-2|13|D1", 10), "05.02.2025", fields);
  const std::string script =
      "open DEMO.GD DEMO.PL\nmode 3\ndate 04.02.2025\nexams apply\nexam output save 04.02.2025 1\n"
      "date 05.02.2025\nexams apply\ninfo\n";
  EXPECT_EQ(runExamDayScript(dir.path(), script), 1);
  const std::string err = examDayFile(dir.path() / "err.txt");
  EXPECT_NE(err.find("Zeile 4: nicht ausgef\xC3\xBChrt: Keine Klausuren am 04.02.2025!"), std::string::npos) << err;
  EXPECT_NE(err.find("Zeile 5: nicht ausgef\xC3\xBChrt: Keine Klausuren ab 04.02.2025!"), std::string::npos) << err;
  EXPECT_NE(err.find("Zeile 7: nicht ausgef\xC3\xBChrt: Nicht \xC3\xBC"
                     "bernommen: 2.KS A05!"),
            std::string::npos)
      << err;
  EXPECT_NE(examDayFile(dir.path() / "out.txt").find("placedCells"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.path() / "klausauf.txt"));
}

// The exam plan of the week from Monday: printed to PDF, saved as klausauf.txt through
// the menu's dialog and, for one day, uploaded to a local FTP server, byte for byte what
// was saved.
TEST(ExamPlanScript, PrintsSavesAndUploadsThePlan) {
  const quort::test::TempDir serverDir;
  quort::test::FtpTestServer server;
  std::string error;
  ASSERT_TRUE(quort::test::startPythonFtpServer(server, serverDir.path(), "", "", error)) << error;
  const quort::test::TempDir dir;
  prepareDemoDay(dir.path());
  const std::string script =
      "print-to exams.pdf\n"
      "exam output print 03.02.2025 7\n"
      "print-to -\n"
      "open DEMO.GD DEMO.PL\n"
      "answer $03.02.2025\nanswer $MO\nanswer $7\nanswer Speichern\n"
      "menu 144\n"
      "print-file klausauf.txt\n"
      "answer $" +
      server.entry + "\nanswer $" + server.user + "\nanswer $www\nanswer $" + server.password +
      "\nanswer OK\nexam output upload 03.02.2025 1\n";
  ASSERT_EQ(runExamDayScript(dir.path(), script), 0)
      << examDayFile(dir.path() / "err.txt") << examDayFile(dir.path() / "out.txt");
  const std::string plan = examDayFile(dir.path() / "klausauf.txt");
  EXPECT_EQ(examDayFile(server.root / "www" / "klausauf.txt"), plan);
  EXPECT_NE(plan.find("Klausuren am MO,03.02.2025\r\nStufe: 12      Zeit: 3-4\r\nAufsichten:\r\n"), std::string::npos)
      << plan;
  EXPECT_EQ(plan.find("10.02.2025"), std::string::npos) << "one day asked for";
  const std::string out = examDayFile(dir.path() / "out.txt");
  EXPECT_NE(out.find("  Klausuren am MO,10.02.2025\n  Stufe: 11"), std::string::npos) << "seven days saved:\n" << out;
  const std::string printed = pdfText(dir.path() / "exams.pdf");
  for (const char* shown :
       {"Klausuren am MO,03.02.2025", "A02: 3.MR,4.MR(*)", "Klausuren am MO,10.02.2025", "A05: 2.KS"}) {
    EXPECT_NE(printed.find(shown), std::string::npos) << shown << "\n" << printed;
  }
}

// An upload that reaches no server fails its line and stops the script, as "upload" does;
// klausauf.txt is written all the same.
TEST(ExamPlanScript, FailedUploadFailsTheLine) {
  const quort::test::TempDir dir;
  prepareDemoDay(dir.path());
  const std::string script = "answer $127.0.0.1:" + std::to_string(quort::test::freePort()) +
                             "\nanswer $u\nanswer $www\nanswer $p\nanswer OK\n"
                             "exam output upload 03.02.2025 1\ninfo\n";
  EXPECT_EQ(runExamDayScript(dir.path(), script), 1);
  EXPECT_NE(examDayFile(dir.path() / "err.txt").find("Zeile 6: exam output: nicht vollst"), std::string::npos)
      << examDayFile(dir.path() / "err.txt");
  EXPECT_EQ(examDayFile(dir.path() / "out.txt").find("placedCells"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.path() / "klausauf.txt"));
}

}  // namespace
