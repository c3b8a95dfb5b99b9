#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <string>

#include "gui/main_window.h"
#include "shell/application.h"
#include "timetable/plan_completion.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

// In the window: "Autom.Setzen" leaves lessons of the demo school open, "Plan
// vervollständigen" places every one of them, the "zu setzen" list keeps only its sum, and one
// Ctrl+Z gives back the plan the generator left.
TEST(CompletionWindow, GenerationThenCompletionFillsEveryClassOfTheDemo) {
  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
  MainWindow window{app};
  ASSERT_EQ(app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), LoadStatus::Loaded);
  ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
  window.resize(1040, 760);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.refresh();

  // Both take the filter from the command field: the couplings too.
  ui.queueAnswer("Auswerten");
  window.commandField()->setText(QStringLiteral("K1"));
  window.triggerMenuItem(104);
  const int afterGeneration = openPeriodCount(ws);
  ASSERT_GT(afterGeneration, 0);
  EXPECT_GT(window.toPlaceList()->count(), 0);

  window.commandField()->setText(QStringLiteral("K1"));
  window.triggerMenuItem(154);
  EXPECT_EQ(openPeriodCount(ws), 0);
  ASSERT_EQ(window.toPlaceList()->count(), 1);  // the sum line alone
  EXPECT_TRUE(window.toPlaceList()->item(0)->text().contains(QStringLiteral("Summe: 0")));

  window.undoAction()->trigger();
  EXPECT_EQ(openPeriodCount(ws), afterGeneration);
}

}  // namespace
}  // namespace quort
