#include <gtest/gtest.h>

#include <sstream>

#include "shell/batch_runner.h"
#include "support/temp_dir.h"
#include "timetable/demo_school.h"

namespace quort {
namespace {

struct ScriptRun {
  std::string out;
  std::string err;
  int status = -1;
};

ScriptRun runScript(Application& app, ScriptedUi& ui, const std::string& script) {
  std::ostringstream out;
  std::ostringstream err;
  BatchRunner runner(app, ui, out, err);
  std::istringstream in(script);
  ScriptRun run;
  run.status = runner.run(in);
  run.out = out.str();
  run.err = err.str();
  return run;
}

const char* const kNewSchool =
    "base add K 5 a|M\xC3\xBC|05a\n"
    "base add K 6a|Kr|06a\n"
    "base add L mr|M\xC3\xBCller|2|24\n"
    "base add L kr+|Kr\xC3\xBCger|0|26\n"
    "base add F d|Deutsch\n"
    "base add F ch|Chemie|1|D|ch\n"
    "base add R ch1|CH\n"
    "base add R 101|5A\n"
    "days 5 6 4\n"
    "save-base NEU\n"
    "open NEU\n"
    "assignment add MR D 5A 4\n"
    "command >MO1 L:MR F:D K:5A\n"
    "panel teacher MR\n"
    "panel value 3\n"
    "click DI 2\n"
    "panel fix\n"
    "click 1 1\n"
    "panel class\n"
    "panel classes 5A,6A\n"
    "click MI 3\n"
    "panel subject CH\n"
    "panel value 1\n"
    "click DO 4\n"
    "panel room 101\n"
    "panel value 2\n"
    "click FR 5\n"
    "verify\n"
    "save-plan NEU\n";

// A school entered from nothing by script is saved and opens again as it was left.
TEST(BaseDataBatch, NewSchoolFromNothingReopensIdentically) {
  test::InTempDirectory dir;
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  const ScriptRun run = runScript(app, ui, kNewSchool);
  ASSERT_EQ(run.status, 0) << run.err << run.out;
  EXPECT_EQ(test::readFile("NEU.GD"),
            "326,2,3,3,2\r\n5A M\xFC >05A\r\n6A Kr >06A\r\nMR M\xFCller 2 24\r\nKR+ Kr\xFCger 0 26\r\nD Deutsch\r\n"
            "CH Chemie 1 D >CH\r\nCH1 CH\r\n101 5A\r\n20,4,1,20,2,2,1,100,6,4,5,1\r\n");
  Workspace reopened;
  ScriptedUi quiet;
  Application again(reopened, quiet);
  ASSERT_EQ(again.loadBase("NEU"), LoadStatus::Loaded);
  ASSERT_TRUE(again.openPlanByName("NEU.PL"));
  EXPECT_EQ(reopened.base.classes, ws.base.classes);
  EXPECT_EQ(reopened.base.rooms, ws.base.rooms);
  EXPECT_EQ(reopened.plan.timetable, ws.plan.timetable);
  EXPECT_EQ(reopened.plan.assignments, ws.plan.assignments);
  const ScriptRun shown = runScript(again, quiet, "show class 5A\nshow teacher MR\nshow subject CH\nshow room 101\n");
  EXPECT_NE(shown.out.find("D  MR -   F"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("Sperre"), std::string::npos);
  EXPECT_NE(shown.out.find(". #1"), std::string::npos);
  EXPECT_NE(shown.out.find("#3"), std::string::npos);
  EXPECT_NE(shown.out.find("    5   .                 .                 .                 .                 #2"),
            std::string::npos)
      << shown.out;
}

// The run of "G:" asks first; without a file name nothing of it stays. Refused edits
// fail their lines.
TEST(BaseDataBatch, RunsQuestionsAndRefusals) {
  test::InTempDirectory dir;
  test::DemoSchool demo;
  const ScriptRun run = runScript(demo.app, demo.ui,
                                  "answer Ja\n"
                                  "base begin\n"
                                  "base add K 5A|XX\n"
                                  "base add R Z1|\n"
                                  "base end\n"
                                  "base list R\n"
                                  "options 20 4 1 2 2 1 20 1 100 4 5\n"
                                  "verify\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("question: Grunddaten \xC3\xA4ndern? Planverlust m\xC3\xB6glich! -> Ja"), std::string::npos);
  EXPECT_NE(run.out.find("message: K\xC3\xBCrzel bereits vorhanden!"), std::string::npos);
  EXPECT_NE(run.out.find("message: Anderungen ohne Wirkung!"), std::string::npos);
  EXPECT_EQ(run.out.find("Z1"), std::string::npos);
  EXPECT_NE(run.out.find("message: Fehler bei Wert: 8"), std::string::npos);
  EXPECT_NE(run.out.find("verify: ok"), std::string::npos);
  EXPECT_NE(run.err.find("Zeile 3: nicht ausgef\xC3\xBChrt"), std::string::npos) << run.err;
}

// "G:" is the one command before base data; answering the warning opens the choice.
TEST(BaseDataBatch, GrunddatenCommandRunsWithoutBaseData) {
  test::InTempDirectory dir;
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  const ScriptRun run = runScript(app, ui, "answer Ende\ncommand G:\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("question: Grunddatenaufnahme:"), std::string::npos) << run.out;
  EXPECT_EQ(ws.shell.helpTopic, "TAVIN.hlp~menu");
}

// "G:" in a script: its dialogs are choice boxes that the queued answers drive, one round per
// button, and the run saves the school under the name given to the file chooser. A refused
// value asks again, a room can be locked, an insert puts the line where "Nr." says.
TEST(BaseDataBatch, GrunddatenDialogsTakeScriptedAnswers) {
  test::InTempDirectory dir;
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  const ScriptRun run =
      runScript(app, ui,
                "answer Stundenzahl\n"
                "answer $5\nanswer $11\nanswer $4\nanswer Anwenden\n"  // 11 periods: refused
                "answer $5\nanswer $6\nanswer $4\nanswer ?0\nanswer Anwenden\n"
                "answer Klassen\n"
                "answer $\nanswer $6a\nanswer $Kr\nanswer $06a\nanswer Hinzuf\u00fcgen\n"
                "answer $1\nanswer $5 a\nanswer $M\u00fc\nanswer $05a\nanswer Einf\u00fcgen\n"
                "answer Ende\n"
                "answer Lehrer\n"
                "answer $\nanswer $mr\nanswer $M\u00fcller\nanswer $2\nanswer $24\nanswer Hinzuf\u00fcgen\n"
                "answer $\nanswer $kr\nanswer $Kr\u00fcger\nanswer $0\nanswer $26\nanswer Hinzuf\u00fcgen\n"
                "answer Ende\n"
                "answer F\u00e4cher\n"
                "answer $\nanswer $d\nanswer $Deutsch\nanswer $\nanswer $\nanswer $\nanswer Hinzuf\u00fcgen\n"
                "answer $\nanswer $ch\nanswer $Chemie\nanswer $1\nanswer $D\nanswer $ch\nanswer Hinzuf\u00fcgen\n"
                "answer Ende\n"
                "answer R\u00e4ume\n"
                "answer $\nanswer $101\nanswer $5A\nanswer Hinzuf\u00fcgen\n"
                "answer $1\nanswer Raum sperren\n"
                "answer Ende\n"
                "answer Ende\n"
                "answer NEU\n"
                "command G:\n");
  EXPECT_EQ(run.status, 1);  // the refused value fails the line, the run goes on
  EXPECT_NE(run.err.find("Stundenzahl nicht zwischen 4 und 10!"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("question: Klassen: 1: 5A M\xC3\xBC >05A 2: 6A Kr >06A"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("message: Programmende !"), std::string::npos) << run.out;
  EXPECT_EQ(test::readFile("NEU.GD"),
            "326,2,3,3,1\r\n5A M\xFC >05A\r\n6A Kr >06A\r\nMR M\xFCller 2 24\r\nKR Kr\xFCger 0 26\r\nD Deutsch\r\n"
            "CH Chemie 1 D >CH\r\n101 #5A\r\n20,4,1,20,2,2,1,100,6,4,5,1\r\n");
}

}  // namespace
}  // namespace quort
