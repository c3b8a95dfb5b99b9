#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "editors/base_data_editor.h"
#include "gui/editors/entity_list_dialog.h"
#include "gui/editors/schedule_dialogs.h"
#include "gui/editors/tool_panel_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

class BaseDataDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), LoadStatus::Loaded);
    ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
  }
  static void click(QPushButton* button) {
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }

  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
  BaseDataEditor editor{ws, ui};
};

// Typed fields make the line; a typed code marks the run for the program's end.
TEST_F(BaseDataDialogs, EntityListAddsTypedSubjectAndTogglesRoomLock) {
  EntityListDialog subjects(editor, EntityKind::Subject);
  QTest::keyClicks(subjects.field(0), QStringLiteral("x y"));
  subjects.field(1)->setText(QStringLiteral("Physik"));
  subjects.field(2)->setText(QStringLiteral("2"));
  subjects.kindBox()->setCurrentIndex(1);
  subjects.field(4)->setText(QStringLiteral("ph"));
  click(subjects.button(QStringLiteral("Hinzuf\u00FCgen")));
  ASSERT_NE(subjects.lines()->currentItem(), nullptr);
  EXPECT_EQ(subjects.lines()->currentItem()->text(), QStringLiteral("XY Physik 2 D >PH"));
  EXPECT_TRUE(editor.restartRequired());
  click(subjects.button(QStringLiteral("Hinzuf\u00FCgen")));
  EXPECT_TRUE(ui.saw("K\xFCrzel bereits vorhanden!"));

  EntityListDialog rooms(editor, EntityKind::Room);
  rooms.lines()->setCurrentRow(ws.base.findRoom("CH1") - 1);
  EXPECT_EQ(rooms.field(1)->text(), QStringLiteral("CH"));
  click(rooms.button(QStringLiteral("Raum sperren")));
  EXPECT_EQ(ws.base.rooms[ws.base.findRoom("CH1")].line, "CH1 #CH");
  click(rooms.button(QStringLiteral("Raum entsperren")));
  EXPECT_EQ(ws.base.rooms[ws.base.findRoom("CH1")].line, "CH1 CH");
}

TEST_F(BaseDataDialogs, ScheduleDialogsStoreOrStayOpen) {
  DaysAndPeriodsDialog days(editor);
  days.field(1)->setText(QStringLiteral("5"));
  days.alternation()->setChecked(true);
  days.apply();
  EXPECT_EQ(days.result(), QDialog::Accepted);
  EXPECT_EQ(ws.base.periodsPerDay, 10);
  EXPECT_TRUE(ws.base.weekAlternation);

  PlanOptionsDialog options(editor);
  EXPECT_EQ(options.field(9)->text(), QStringLiteral(" 100"));
  options.field(8)->setText(QStringLiteral("1"));
  options.apply();
  EXPECT_TRUE(ui.saw("Fehler bei Wert: 8"));
  EXPECT_NE(options.result(), QDialog::Accepted);
}

// Menu "Fixieren" opens its panel beside the plan; a click on a slot toggles the fix of
// the lesson there, and closing the panel makes clicks plain selections again.
TEST_F(BaseDataDialogs, PanelReceivesSlotClicksOfTheMainWindow) {
  test::TempDir dir;
  MainWindow window(app);
  ws.shell.currentClass = ws.base.findClass("7A");
  const int c = ws.shell.currentClass;
  ws.plan.timetable.lessonWord.at(c, 2, 1) = static_cast<uint16_t>(ws.base.findTeacher("MR") * 256 + 1);
  // The scripted Ui records the request; the window's own Ui hands it to openEditor.
  const auto openPanel = [&] {
    window.openEditor(EditorRequest{EditorKind::ToolPanel, 0, static_cast<int>(ws.panels.open)});
  };
  window.triggerMenuItem(134);
  openPanel();
  auto* panel = qobject_cast<ToolPanelDialog*>(window.editor(EditorKind::ToolPanel));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->windowTitle(), QStringLiteral("Fixieren von Stunden:"));
  window.selectCell(1, 0);
  EXPECT_TRUE((ws.plan.timetable.lessonWord.at(c, 2, 1) & 128) != 0);
  window.triggerMenuItem(141);
  openPanel();
  EXPECT_EQ(ws.panels.open, ToolPanelKind::Index);
  auto* index = qobject_cast<ToolPanelDialog*>(window.editor(EditorKind::ToolPanel));
  ASSERT_NE(index, nullptr);
  index->close();
  EXPECT_EQ(ws.panels.open, ToolPanelKind::None);
  window.selectCell(1, 0);
  EXPECT_TRUE((ws.plan.timetable.lessonWord.at(c, 2, 1) & 128) != 0);
}

}  // namespace
}  // namespace quort
