#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "shell/batch_runner.h"
#include "shell/failure_messages.h"
#include "timetable/demo_school.h"

namespace quort {
namespace {

// Messages that say a step could not be done fail a script line; notes that only inform
// do not.
TEST(FailureMessages, RefusalsAndErrorsFailInformationDoesNot) {
  for (const char* failure : {"Eingabefehler!",
                              "Fehler: QQ",
                              "Fehler !",
                              "Fehler beim Speichern!",
                              "Dateifehler X.GD! Datenverlust!",
                              "Lesefehler in a.txt",
                              "NICHTDA.GD nicht gefunden!",
                              "Programmabbruch!",
                              "Fach fehlt!",
                              "Keine zul\xE4ssige Kopplung!",
                              "Keine Daten ausgew\xE4hlt!",
                              "Daten nicht mehr zuverl\xE4ssig!",
                              "Keine Stunden f\xFCr WS E 5A zu setzen!",
                              "Kopplung 7 ohne Kurse!",
                              "5A mehrfach eingesetzt!",
                              "Speicherfehler f\xFCr Deputat! Abbruch!",
                              "Funktion nicht verf\xFCgbar!",
                              "Kein Raum!",
                              "Kein Unterricht in 5A!",
                              "Untis-Datei fehlerhaft!"}) {
    EXPECT_TRUE(reportsFailure(failure)) << failure;
  }
  for (const char* note : {"Keine Stunden mehr zu setzen!", "Daten unter 'NEU' gesichert.", "CH1 in 8A gel\xF6scht!",
                           "R\xE4ume in 5A und 5B getauscht!", "Identischer Raum f\xFCr 5C!",
                           "Keine passenden Deputatseintr\xE4ge!", "Plan gespeichert!", ""}) {
    EXPECT_FALSE(reportsFailure(note)) << note;
  }
}

// Scripts on the demo school and its plan, run in the test process.
class BatchFailures : public ::testing::Test {
 protected:
  int run(const std::string& script) {
    std::ostringstream out;
    std::ostringstream err;
    BatchRunner runner(demo.app, demo.ui, out, err);
    std::istringstream in(script);
    const int status = runner.run(in);
    output = out.str();
    errors = err.str();
    return status;
  }
  bool printed(const std::string& line) const { return output.find(line + "\n") != std::string::npos; }

  test::InTempDirectory dir;
  test::DemoSchool demo;
  std::string output;
  std::string errors;
};

// A refused step fails the script, but the lines after it still run and show the state.
TEST_F(BatchFailures, RefusedStepRunsOnAndEndsWithStatusOne) {
  EXPECT_EQ(run("assignment add QQQ\ninfo\n"), 1);
  EXPECT_TRUE(printed("message: Fehler: QQ")) << output;
  EXPECT_TRUE(printed("assignments: 323")) << output;
  EXPECT_EQ(errors, "Zeile 1: nicht ausgef\xC3\xBChrt: Fehler: QQ\n");
  EXPECT_EQ(run("command >MO1 L:MR K:5A\n"), 1);
  EXPECT_TRUE(printed("message: Fach fehlt!"));
  EXPECT_EQ(run("command >QQ1\n"), 1);
  EXPECT_TRUE(printed("message: Eingabefehler!"));
  EXPECT_EQ(run("command P:K ZZ\n"), 1);
  EXPECT_EQ(run("command P:9999\n"), 1);
  // Informing notes and questions answered "Nein" are no failures.
  EXPECT_EQ(run("command >MO1 F:D K:5A\ncommand >MO2 F:D K:5A\n"), 0) << errors;
  EXPECT_TRUE(printed("question: MO 1: Kombination bereits gesetzt. Kombination dennoch setzen? -> Nein")) << output;
}

// A lesson that is not in the list is named, rather than reported as "everything placed";
// the plain note stays for an assignment list without open periods.
TEST_F(BatchFailures, PlacingALessonThatIsNotThereNamesIt) {
  EXPECT_EQ(run("command >DI3 L:WS F:E K:5A\n"), 1);
  EXPECT_EQ(output, "message: Keine Stunden f\xC3\xBCr WS E 5A zu setzen!\n");
  EXPECT_EQ(run("command >DI3 F:CH K:5A\n"), 1);
  EXPECT_EQ(output, "message: Keine Stunden f\xC3\xBCr CH 5A zu setzen!\n");
  EXPECT_EQ(run("command >#99 MO1\n"), 1);
  EXPECT_EQ(output, "message: Keine Stunden f\xC3\xBCr Kopplung 99 zu setzen!\n");
  // The chosen entry placed completely: its codes are named.
  EXPECT_EQ(run("command P:2\ncommand >MO1\ncommand >DI1\ncommand >MI1\ncommand >DO1\ncommand >FR1\n"), 0) << output;
  EXPECT_EQ(run("command >MO2\n"), 1);
  EXPECT_EQ(output, "message: Keine Stunden f\xC3\xBCr TH E 5A zu setzen!\n");

  demo.ws.plan.assignments.clear();
  EXPECT_EQ(run("command >DI3 L:WS F:E K:5A\n"), 0);
  EXPECT_EQ(output, "message: Keine Stunden mehr zu setzen!\n");
}

// Commands that are not run at all stop the script with the reason: no base data (only
// "G:" gets through), unknown, or not in this work mode.
TEST(BatchCommandOutcome, CommandsThatAreNotRunStopTheScript) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  std::ostringstream out;
  std::ostringstream err;
  BatchRunner runner(app, ui, out, err);
  std::istringstream script("command P:\ninfo\n");
  EXPECT_EQ(runner.run(script), 1);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(err.str(),
            "Zeile 1: Keine Grunddaten geladen! Erst Datei \xE2\x80\xBA \xC3\x96"
            "ffnen, nur G: geht ohne sie: P:\n");

  test::InTempDirectory dir;
  test::DemoSchool demo;
  for (const char* line :
       {"command QQ:", "mode 3\ncommand S", "command B:+9", "button zu setzen\nmode 4\nbutton zu setzen"}) {
    std::ostringstream demoOut;
    std::ostringstream demoErr;
    BatchRunner demoRunner(demo.app, demo.ui, demoOut, demoErr);
    demo.app.setWorkMode(1);
    std::istringstream in(std::string(line) + "\ninfo\n");
    EXPECT_EQ(demoRunner.run(in), 1) << line;
    EXPECT_EQ(demoOut.str().find("days:"), std::string::npos) << line;
    EXPECT_FALSE(demoErr.str().empty()) << line;
  }
}

}  // namespace
}  // namespace quort
