#include "shell/button_row.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/application.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

std::vector<std::string> labels(const Workspace& ws) {
  std::vector<std::string> result;
  for (const ButtonState& state : buttonRow(ws)) result.push_back(state.label);
  return result;
}

bool enabled(const Workspace& ws, MainButton button) { return buttonRow(ws)[static_cast<size_t>(button)].enabled; }

// The labels of every work mode; switching back from the day modes restores the plan labels.
TEST(ButtonRow, LabelsFollowTheWorkMode) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  EXPECT_FALSE(enabled(ws, MainButton::Back));
  EXPECT_FALSE(enabled(ws, MainButton::Classes));
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  const std::vector<std::string> modes[] = {
      {"zur\374ck", "entfernen", "einf\xFCgen", "anzeigen", "zu setzen", "Resourcen", "\334bersicht", "Koppl.Fach",
       "Kl", "Le", "Ra", "Fa", "Ko", "Bl", "zu setzen"},
      {"zur\374ck", "entfernen", "einf\xFCgen", "anzeigen", "zu setzen", "Resourcen", "\334bersicht", "Koppl.Nr.", "Kl",
       "Le", "Ra", "Fa", "Ko", "Bl", "zu setzen"},
      {"zur\374ck", "entfernen", "einf\xFCgen", "anzeigen", "zu setzen", "Resourcen", "\334bersicht", "Kurse", "Kl",
       "Le", "Ra", "Fa", "Ko", "Bl", "zu setzen"},
      {"zur\374ck", "Vorgaben", "einf\xFCgen", "anzeigen", "Kl.Plan", "Resourcen", "\334bersicht", "Koppl.Nr.", "Kl",
       "Le", "Ra", "Fa", "St", "Me", "Vertr.Plan"},
      {"zur\374ck", "Vorgaben", "einf\xFCgen", "anzeigen", "Kl.Plan", "Resourcen", "\334bersicht", "Koppl.Nr.", "Kl",
       "Le", "Ra", "Fa", "St", "Me", "zu setzen"}};
  for (int mode : {3, 0, 4, 1, 2}) {
    app.setWorkMode(mode);
    EXPECT_EQ(labels(ws), modes[mode]) << "mode " << mode;
    EXPECT_EQ(buttonRow(ws).back().isButton, mode == 3) << "mode " << mode;
    EXPECT_EQ(enabled(ws, MainButton::Back), mode != 4) << "mode " << mode;
  }
}

// The coupling button toggles its label; the substitution mode's button toggles the original plan.
TEST(ButtonRow, TogglesFlipTheirLabels) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  pressButton(app, MainButton::Coupling);
  EXPECT_EQ(labels(ws)[7], "Koppl.Fach");
  EXPECT_TRUE(ws.shell.showCouplingNumbers);
  pressButton(app, MainButton::Coupling);
  EXPECT_EQ(labels(ws)[7], "Koppl.Nr.");
  pressButton(app, MainButton::PlanToggle);  // only a label outside mode 3
  EXPECT_FALSE(ws.shell.showOriginalPlan);
  app.setWorkMode(3);
  pressButton(app, MainButton::PlanToggle);
  EXPECT_TRUE(ws.shell.showOriginalPlan);
  EXPECT_EQ(labels(ws).back(), "Org.Plan");
  EXPECT_TRUE(ui.records().empty());
}

// Buttons go through the interpreter; the choosers make the chosen entity's week current.
TEST(ButtonRow, ButtonsIssueCommandsAndChoosersSelectTheEntity) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  pressButton(app, MainButton::Back);
  EXPECT_EQ(ws.shell.currentCommand, "U:");
  pressButton(app, MainButton::ToPlace);
  EXPECT_EQ(ws.shell.currentCommand, "P:");
  pressButton(app, MainButton::Blocks);
  EXPECT_EQ(ws.shell.mainView, MainView::BlockList);

  ui.queueAnswer("mr");
  pressButton(app, MainButton::Teachers);
  EXPECT_EQ(ws.shell.view.kind, PlanEntity::Teacher);
  EXPECT_EQ(ws.shell.currentTeacher, ws.base.findTeacher("MR"));
  EXPECT_EQ(ws.shell.mainView, MainView::WeekGrid);
  pressButton(app, MainButton::Show);
  EXPECT_EQ(ws.shell.currentCommand, "X:L");

  const int before = ws.shell.currentClass;
  pressButton(app, MainButton::Classes);  // closed without a choice
  EXPECT_EQ(ws.shell.currentClass, before);
  EXPECT_EQ(ws.shell.view.kind, PlanEntity::Teacher);
}

// In the exam mode "Vorgaben" asks for the course file of the exam and "einfügen" opens the
// exam dialog, which needs an exam first; neither removes or places a lesson.
TEST(ButtonRow, ExamModeButtonsOpenTheExamDialogs) {
  Workspace ws;
  ScriptedUi ui;
  Application app(ws, ui);
  ASSERT_EQ(app.loadBase(test::demoFile()), LoadStatus::Loaded);
  app.setWorkMode(4);
  pressButton(app, MainButton::Remove);
  EXPECT_TRUE(ui.saw("Kursdatei [*.bk]"));
  pressButton(app, MainButton::Insert);
  EXPECT_TRUE(ui.saw("Keine Eingaben!"));
  EXPECT_FALSE(ui.saw("Funktion nicht verf\xFCgbar!"));
}

}  // namespace
}  // namespace quort
