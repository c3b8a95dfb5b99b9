#include "substitution/substitution_output.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "substitution/extra_work_log.h"
#include "substitution/extra_work_reports.h"
#include "substitution/test_servers.h"
#include "substitution/web_plan.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;

const fs::path kOutputSource = QUORT_SOURCE_DIR;
const fs::path kOutputData = kOutputSource / "tests" / "substitution" / "data";

std::string outputFileText(const fs::path& path) { return quort::test::readFile(path.string()); }
void outputWrite(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

class InOutputDirectory {
 public:
  explicit InOutputDirectory(const fs::path& dir) : m_previous(fs::current_path()) { fs::current_path(dir); }
  ~InOutputDirectory() { fs::current_path(m_previous); }

 private:
  fs::path m_previous;
};

int runPlannerScript(const fs::path& dir, const fs::path& script) {
  const std::string command = "cd '" + dir.string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch '" +
                              script.string() + "' > out.txt 2> err.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void copyDemo(const fs::path& dir) {
  fs::copy_file(kOutputSource / "demo" / "DEMO.GD", dir / "DEMO.GD");
  fs::copy_file(kOutputSource / "demo" / "DEMO.PL", dir / "DEMO.PL");
}

// A Monday with a coupling line, a free lesson, a line typed too short and a hostile remark.
const char* const kFixtureDay =
    "Vertretungen MO,03.02.2025\r\n"
    " 5A  1.Std.: MU-D in 101 (*)\r\n"
    " 5A  2.Std.: frei Krank\r\n"
    "11A  3.Std.11A-SD: AB-E <script>alert(\"x\")</script> (*)\r\n"
    " 7B  4.Std.: KS-M \"Heft\" mitbringen (*)\r\n"
    "5A 3\r\n";
const char* const kFixtureNotes = "MR(Krank),7A(Wandertag)\r\nAufsichten: MU Hof\r\n";

// The scripted day on the demo school, then every output; the batch output (with every
// text file printed) and the web files are kept as golden files.
TEST(SubstitutionOutputScript, WritesEveryOutputOfTheScriptedDay) {
  const quort::test::TempDir dir;
  copyDemo(dir.path());
  EXPECT_EQ(runPlannerScript(dir.path(), kOutputData / "outputs_day.batch"), 0)
      << outputFileText(dir.path() / "err.txt");
  EXPECT_EQ(outputFileText(dir.path() / "out.txt"), outputFileText(kOutputData / "outputs_day.expected"));
  for (const char* name : {"vertretung.html", "vertretung.json", "vertretung.ics"}) {
    EXPECT_EQ(outputFileText(dir.path() / name), outputFileText(kOutputData / "outputs" / name)) << name;
  }
  const std::string board = outputFileText(dir.path() / "gMO.txt");
  EXPECT_EQ(board.rfind("Montag,03.02.2025              07:45 h\r\n", 0), 0U);
  EXPECT_EQ(board.find('\x1A'), std::string::npos);
  EXPECT_EQ(outputFileText(dir.path() / "plan.pdf").rfind("%PDF", 0), 0U);
}

// A day file left over from another date, and a missing one, produce nothing.
TEST(SubstitutionOutputDays, DayFileOfAnotherDateCountsAsMissing) {
  const quort::test::TempDir dir;
  const InOutputDirectory inside(dir.path());
  outputWrite("sMO.x", "Vertretungen MO,27.01.2025\r\n 5A  1.Std.: MU-D (*)\r\n");
  EXPECT_FALSE(quort::readCoveredDay("03.02.2025"));
  EXPECT_FALSE(quort::readCoveredDay("04.02.2025"));
  outputWrite("sMO.x", kFixtureDay);
  outputWrite("tMO.x", kFixtureNotes);
  const auto day = quort::readCoveredDay("03.02.2025");
  ASSERT_TRUE(day);
  EXPECT_EQ(day->entries.size(), 4U);
  // The line typed too short goes to the notes rather than being cut apart.
  EXPECT_EQ(day->notes, (std::vector<std::string>{"Aufsichten: MU Hof", "5A 3"}));
  EXPECT_EQ(day->absences, (std::vector<std::string>{"MR(Krank)", "7A(Wandertag)"}));
}

// Only a DOS line (printer prefix or 0xFF marks) is converted; a Windows line after it
// keeps its umlauts.
TEST(SubstitutionOutputDays, ConvertsEachLineByItsOwnMark) {
  const std::vector<std::string> lines =
      quort::convertedDayLines({"\x1B"
                                "ABCDEFGHI\x1B"
                                "M\x81ller\xFF  ",
                                "M\xFCller ", "   "});
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], "M\xFCller");
  EXPECT_EQ(lines[1], "M\xFCller");
}

quort::CoveredDay fixtureDay() {
  quort::CoveredDay day;
  day.date = "03.02.2025";
  day.heading = "Vertretungen MO,03.02.2025";
  day.entries = {" 5A  1.Std.: MU-D in 101 (*)", " 5A  2.Std.: frei Krank", "11A  3.Std.11A-SD: AB-E (*)",
                 " 5A  3.Std.: MU-M (*)", " 7B  4.Std.: KS-M \"Heft\" (*)"};
  day.notes = {"Aufsichten: MU Hof (Pause)"};
  return day;
}

// vle.x names a substitute only where "-" follows the code, each once; the teachers' list
// files a line under a teacher only by its substitute or its coupling part.
TEST(SubstitutionOutputKinds, SubstituteListAndTeacherGroups) {
  const quort::CoveredDay day = fixtureDay();
  EXPECT_EQ(quort::substituteListLine(day), "03.02.2025: MU,AB,KS,");
  EXPECT_EQ(quort::dayOutputLines(day, 'L'),
            (std::vector<std::string>{"     5A  2.Std.: frei Krank", "AB  11A  3.Std.11A-SD: AB-E (*)",
                                      "KS   7B  4.Std.: KS-M \"Heft\" (*)", "MU   5A  1.Std.: MU-D in 101 (*)",
                                      "     5A  3.Std.: MU-M (*)", "Aufsichten: MU Hof (Pause)"}));
  EXPECT_EQ(quort::dayOutputLines(day, 'V').back(), "Aufsichten: MU Hof");
  const std::vector<std::string> dif = quort::dayOutputLines(day, 'I');
  EXPECT_EQ(dif[0], "\"MO\",\"03.02.2025\"");
  EXPECT_EQ(dif[1], "\"5A\",\"1\",\"MU-D\",\"101\",\"(*)\"");
  EXPECT_EQ(dif[4], "\"7B\",\"4\",\"KS-M\",\"\"\"Heft\"\"\",\"(*)\"");
  EXPECT_EQ(dif.back(), "\"Aufsichten: MU Hof\"");
}

// The notice board: blocks of equal height, an overflowing period taking lines from the
// others, and neither an empty day nor a day where every block overflows divides by zero.
TEST(SubstitutionOutputKinds, NoticeBoardHeightsNeverDivideByZero) {
  quort::CoveredDay day = fixtureDay();
  const std::vector<std::string> board = quort::dayOutputLines(day, 'G', 64);
  EXPECT_EQ(board[0], "[ 1.Std.]==========================|==|===================================|==|");
  EXPECT_EQ(board[1], "  5A       : MU-D in 101 (*)       |  |                                   |  |");
  // 64 - 5 - 0 = 59, at most 50; 50 / 4 periods - 1 = 11 lines per block.
  EXPECT_EQ(board.size(), 4U * 12U + 2U);
  day.entries.clear();
  day.notes.clear();
  EXPECT_TRUE(quort::dayOutputLines(day, 'G', 64).empty());
  for (int i = 0; i < 30; ++i) day.entries.push_back(" 5A  1.Std.: MU-D (*)");
  for (int i = 0; i < 30; ++i) day.entries.push_back(" 6A  2.Std.: AB-D (*)");
  const std::vector<std::string> full = quort::dayOutputLines(day, 'G', 10);
  EXPECT_EQ(full.size(), 2U * 16U);
  for (const std::string& line : full) EXPECT_EQ(line.size(), 78U) << line;
}

// A failed run leaves the last good vertr.txt; the failure is reported.
TEST(SubstitutionOutputFiles, FailedRunKeepsTheLastGoodPlan) {
  const quort::test::TempDir dir;
  const InOutputDirectory inside(dir.path());
  outputWrite("sMO.x", kFixtureDay);
  outputWrite("vertr.txt", "letzter guter Plan\r\n");
  fs::create_directories("vle.x/belegt");
  quort::Workspace ws;
  ws.substitution.clockDate = "03.02.2025";
  quort::ScriptedUi ui;
  ui.queueAnswer("Abbruch");
  EXPECT_FALSE(quort::writeOutput(ws, ui, {'I', 'G', "03.02.2025"}));
  EXPECT_TRUE(ui.saw("Datei-/Druckerfehler!"));
  EXPECT_EQ(outputFileText("vertr.txt"), "letzter guter Plan\r\n");
}

// The web page in a real browser: every change of the day is shown, the hostile remark
// stays text; the JSON parses back to the same changes; the calendar passes a strict
// line check.
TEST(SubstitutionWebPlan, ChromiumShowsEveryChangeAndNoScript) {
  const quort::test::TempDir dir;
  const InOutputDirectory inside(dir.path());
  outputWrite("sMO.x", kFixtureDay);
  outputWrite("tMO.x", kFixtureNotes);
  quort::Workspace ws;
  ws.substitution.clockDate = "03.02.2025";
  ws.substitution.clockTime = "07:45";
  quort::ScriptedUi ui;
  ASSERT_TRUE(quort::writeOutput(ws, ui, {'F', 'K', "03.02.2025"}));
  const fs::path profile = dir.path() / "profile";
  fs::create_directories(profile);
  const std::string command =
      "timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
      "--disable-background-networking --disable-component-update --disable-sync --user-data-dir='" +
      profile.string() + "' --dump-dom 'file://" + (dir.path() / "vertretung.html").string() +
      "' > dom.html 2> chromium.log";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << outputFileText("chromium.log");
  const std::string dom = outputFileText("dom.html");
  ASSERT_NE(dom.find("<h1>Vertretungsplan</h1>"), std::string::npos) << dom;
  for (const char* text : {">5A</td>", ">MU</td>", ">101</td>", ">frei</td>", ">frei Krank</td>", ">11A</td>",
                           ">SD</td>", ">AB</td>", ">KS</td>", "MR(Krank)", "Aufsichten: MU Hof", "5A 3"}) {
    EXPECT_NE(dom.find(text), std::string::npos) << text << "\n" << dom;
  }
  EXPECT_NE(dom.find("&lt;script&gt;alert(\"x\")&lt;/script&gt;"), std::string::npos);
  EXPECT_EQ(dom.find("<script"), std::string::npos);

  const std::string parse =
      "/usr/bin/python3 -c \"import json;d=json.load(open('vertretung.json',encoding='utf-8'));"
      "c=d['days'][0]['changes'];print(len(c));print(c[3]['class'],c[3]['teacher'],c[3]['substitute'],c[3]['subject']);"
      "print(c[3]['remark'])\" > parsed.txt";
  ASSERT_EQ(std::system(parse.c_str()), 0);
  EXPECT_EQ(outputFileText("parsed.txt"), "4\n11A SD AB E\n<script>alert(\"x\")</script> (*)\n");

  const std::string ics = outputFileText("vertretung.ics");
  ASSERT_GE(ics.size(), 2U);
  EXPECT_EQ(ics.substr(ics.size() - 2), "\r\n");
  int events = 0;
  int depth = 0;
  size_t start = 0;
  while (start < ics.size()) {
    const size_t end = ics.find("\r\n", start);
    ASSERT_NE(end, std::string::npos);
    const std::string line = ics.substr(start, end - start);
    start = end + 2;
    EXPECT_LE(line.size(), 75U) << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    if (line.starts_with(" ")) continue;
    EXPECT_NE(line.find(':'), std::string::npos) << line;
    if (line == "BEGIN:VEVENT") ++events, ++depth;
    if (line == "END:VEVENT") --depth;
    EXPECT_TRUE(line.find(',') == std::string::npos || line[line.find(',') - 1] == '\\') << line;
  }
  EXPECT_EQ(events, 4);
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(ics.rfind("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n", 0), 0U);
}

// One batch script takes the demo school through the day and publishes the plan to a
// local FTP server: every file arrives as written, and the plan was printed to PDF.
TEST(SubstitutionOutputScript, PublishesTheDayToAnFtpServer) {
  const quort::test::TempDir serverDir;
  quort::test::FtpTestServer server;
  std::string error;
  ASSERT_TRUE(quort::test::startPythonFtpServer(server, serverDir.path(), "", "", error)) << error;
  const quort::test::TempDir dir;
  copyDemo(dir.path());
  std::string script = outputFileText(kOutputData / "outputs_day.batch");
  script = script.substr(0, script.find("command O:VFG"));
  script += "print-to plan.pdf\ncommand O:VPG03.02.2025\nprint-to -\n";
  script += "answer $" + server.entry + "\nanswer $" + server.user + "\nanswer $www\nanswer $" + server.password +
            "\nanswer OK\ncommand O:VIG03.02.2025\n";
  outputWrite(dir.path() / "publish.batch", script);
  ASSERT_EQ(runPlannerScript(dir.path(), dir.path() / "publish.batch"), 0)
      << outputFileText(dir.path() / "err.txt") << outputFileText(dir.path() / "out.txt");
  for (const char* name : {"vertr.txt", "vle.x", "vertretung.html", "vertretung.json", "vertretung.ics"}) {
    EXPECT_EQ(outputFileText(server.root / "www" / name), outputFileText(dir.path() / name)) << name;
    EXPECT_FALSE(outputFileText(dir.path() / name).empty()) << name;
  }
  EXPECT_EQ(outputFileText(dir.path() / "plan.pdf").rfind("%PDF", 0), 0U);
}

}  // namespace
