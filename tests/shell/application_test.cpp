#include "shell/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

const std::string kChooser = "question: QUORT-Plan - Grunddaten lesen [*.G*] -> ";
const std::string kNoData = "Keine oder defekte Grunddaten!\r\rNeue Daten aufnehmen?";

// "Ende" only ends the program after an OK.
TEST(Application, EndingNeedsAnOk) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  app.requestEnd();
  EXPECT_TRUE(ui.saw("Programm beenden?"));
  EXPECT_EQ(ui.records().back().answer, "Abbruch");
  EXPECT_FALSE(app.endRequested());
  ui.queueAnswer("OK");
  app.requestEnd();
  EXPECT_TRUE(app.endRequested());
}

// Opening without base data: a missing file is named and the chooser asks again; after a
// cancel the user chooses between entering new data and ending the program.
TEST(Application, CancelledBaseDataChooserLeadsToNewDataOrProgramEnd) {
  const std::string missing = (std::filesystem::temp_directory_path() / "QUORT_FEHLT_0815.GD").string();
  for (const std::string answer : {"Ja", "Nein"}) {
    SCOPED_TRACE(answer);
    Workspace ws;
    ScriptedUi ui;
    Application app(ws, ui);
    int chooserQuestions = 0;
    ui.setListener([&](const std::string& line) {
      if (line.rfind(kChooser, 0) == 0) ++chooserQuestions;
      if (line == kChooser + "Abbruch") ui.queueAnswer(answer);  // the person decides after the cancel
    });
    ui.queueAnswer(missing);
    const LoadStatus status = app.open("");
    EXPECT_TRUE(ui.saw(missing + " nicht gefunden!"));
    EXPECT_EQ(chooserQuestions, 2);
    EXPECT_TRUE(ui.saw(kNoData));
    EXPECT_FALSE(ws.base.loaded());
    if (answer == "Ja") {
      EXPECT_EQ(status, LoadStatus::EnterNewData);
      EXPECT_EQ(ws.shell.currentCommand, "G:");
      // The base-data editor opens on empty lists: no warning, straight to the choice.
      EXPECT_NE(std::find_if(ui.records().begin(), ui.records().end(),
                             [](const auto& r) { return r.text.starts_with("Grunddatenaufnahme:"); }),
                ui.records().end());
      EXPECT_FALSE(app.endRequested());
    } else {
      EXPECT_EQ(status, LoadStatus::EndProgram);
      EXPECT_TRUE(ui.saw("Programmabbruch!"));
      EXPECT_TRUE(app.endRequested());
    }
  }
}

// A file chosen in the chooser is loaded; once base data are there, opening asks for the plan only.
TEST(Application, ChosenBaseDataAreLoadedAndNotAskedForAgain) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  ui.queueAnswer(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD");
  EXPECT_EQ(app.open(""), LoadStatus::Loaded);
  EXPECT_EQ(ws.base.nClasses(), 36);
  const size_t asked = ui.records().size();
  EXPECT_EQ(app.open(""), LoadStatus::Loaded);
  ASSERT_EQ(ui.records().size(), asked + 1);
  EXPECT_EQ(ui.records().back().text,
            "QUORT-Plan - Plan \xF6"
            "ffnen [*.PL]");
  EXPECT_FALSE(ws.shell.planOpened);
  EXPECT_FALSE(app.endRequested());
}

}  // namespace
}  // namespace quort

namespace quort {
namespace {

// Ending with a changed plan saves it through the save dialog first; without changes it just ends.
TEST(Application, EndingSavesAChangedPlanFirst) {
  test::TempDir dir;
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  ws.shell.planOpened = true;
  ui.queueAnswer("OK");
  app.requestEnd();
  EXPECT_TRUE(app.endRequested());
  EXPECT_FALSE(ui.saw("QUORT-Plan - Plan sichern [*.pl]"));

  ws.shell.endRequested = false;
  ws.plan.modifiedLocks = true;
  ui.queueAnswer("OK");
  ui.queueAnswer(dir.file("ENDE"));
  app.requestEnd();
  EXPECT_TRUE(app.endRequested());
  EXPECT_TRUE(ui.saw("QUORT-Plan - Plan sichern [*.pl]"));
  EXPECT_TRUE(std::filesystem::exists(dir.file("ENDE.PL")));
  EXPECT_FALSE(ws.plan.anyChange());
}

// "&Sichern" does nothing in work mode 4.
TEST(Application, SavingInExamModeDoesNothing) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  app.setWorkMode(4);
  EXPECT_EQ(app.save(), 0);
  EXPECT_TRUE(ui.records().empty());
}

}  // namespace
}  // namespace quort
