#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "data/plan_records.h"
#include "gui/editors/assignment_editor_dialog.h"
#include "gui/editors/block_editor_dialog.h"
#include "gui/editors/coupling_editor_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

class EditorDialogs : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), LoadStatus::Loaded);
    ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
  }
  static void pick(QListWidget* list, const QString& text) {
    ASSERT_NE(list, nullptr);
    const auto found = list->findItems(text, Qt::MatchExactly);
    ASSERT_FALSE(found.isEmpty()) << text.toStdString();
    list->setCurrentItem(found.first());
    const QRect rect = list->visualItemRect(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
  }

  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
};

// Teacher, kind, subject, class and periods picked with the mouse make the long line, and
// "Hinzufügen" appends the entry with its marker.
TEST_F(EditorDialogs, PickListsComposeAnEntryThatHinzufuegenAppends) {
  ws.shell.currentClass = ws.base.findClass("5A");
  AssignmentEditorDialog dialog(app, 2);
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  int changes = 0;
  QObject::connect(&dialog, &AssignmentEditorDialog::changed, [&] { ++changes; });
  pick(dialog.pickList(QStringLiteral("Lehrer")), QStringLiteral("MR"));
  pick(dialog.pickList(QStringLiteral("Art")), QStringLiteral("L"));
  pick(dialog.pickList(QStringLiteral("Fach")), QStringLiteral("D"));
  pick(dialog.pickList(QStringLiteral("Klasse")), QStringLiteral("5A"));
  pick(dialog.pickList(QStringLiteral("Stunden")), QStringLiteral("4"));
  EXPECT_EQ(fromQString(dialog.inputLine()->text()),
            "MR\xB9"
            "D  5A  4");
  const int shown = dialog.entryList()->count();
  QTest::mouseClick(dialog.button(QStringLiteral("Hinzuf\u00FCgen")), Qt::LeftButton);
  ASSERT_EQ(ws.plan.assignments.size(), 324U * 4);
  EXPECT_EQ(ws.plan.assignments.substr(323 * 4),
            makeAssignment(ws.base.findTeacher("MR"), ws.base.findClass("5A"), ws.base.findSubject("D"), 4 | 16));
  EXPECT_TRUE(ws.plan.modifiedPlan);
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(dialog.inputLine()->text().isEmpty());
  EXPECT_EQ(dialog.entryList()->count(), shown + 1);
  EXPECT_EQ(ws.shell.helpTopic, "TAVIN.hlp~deputat");
}

// A coupling with the kind "H" from the pick list carries "²" and is stored with bit 5.
TEST_F(EditorDialogs, CouplingPickWithKindHStoresTheMarker) {
  AssignmentEditorDialog dialog(app, 0);
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  pick(dialog.pickList(QStringLiteral("Lehrer")), QStringLiteral("MR"));
  QListWidget* couplings = dialog.pickList(QStringLiteral("Kopplung"));
  ASSERT_GE(couplings->count(), 5);
  pick(couplings, couplings->item(4)->text());
  pick(dialog.pickList(QStringLiteral("Stunden")), QStringLiteral("2"));
  pick(dialog.pickList(QStringLiteral("Art")), QStringLiteral("H"));
  EXPECT_EQ(fromQString(dialog.inputLine()->text()), "#5:2\xB2H");
  QTest::keyClick(dialog.inputLine(), Qt::Key_Return);
  EXPECT_EQ(ws.plan.assignmentBuffer, makeAssignment(0, 0, 5, 2 | 32));
  EXPECT_TRUE(ws.plan.modifiedPlan);  // Enter changes the list like the buttons do
  EXPECT_EQ(dialog.entryList()->count(), 1);
  dialog.entryList()->setCurrentRow(0);
  EXPECT_EQ(dialog.selectedEntry(), 1);
  QTest::mouseClick(dialog.button(QStringLiteral("Entfernen")), Qt::LeftButton);
  EXPECT_TRUE(ws.plan.assignmentBuffer.empty());
}

TEST_F(EditorDialogs, ChooseButtonIssuesTheChooserCommand) {
  AssignmentEditorDialog dialog(app, 1);
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  QString issued;
  QObject::connect(&dialog, &AssignmentEditorDialog::commandRequested, [&](const QString& c) { issued = c; });
  ASSERT_NE(dialog.button(QStringLiteral("Lehrer w\u00E4hlen >>")), nullptr);
  EXPECT_EQ(dialog.button(QStringLiteral("Klasse w\u00E4hlen >>")), nullptr);
  QTest::mouseClick(dialog.button(QStringLiteral("Lehrer w\u00E4hlen >>")), Qt::LeftButton);
  EXPECT_EQ(issued, QStringLiteral("H:L"));
}

// Courses composed with the pick lists go into the course text; "Hinzufügen" stores them
// as a new coupling and the main view shows the coupling list.
TEST_F(EditorDialogs, CouplingEditorComposesCoursesAndAddsTheCoupling) {
  CouplingEditorDialog dialog(app, 0);
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  QString issued;
  QObject::connect(&dialog, &CouplingEditorDialog::commandRequested, [&](const QString& c) { issued = c; });
  EXPECT_EQ(dialog.numberField()->text(), QStringLiteral("27"));
  pick(dialog.pickList(QStringLiteral("Klasse")), QStringLiteral("5A"));
  pick(dialog.pickList(QStringLiteral("Lehrer")), QStringLiteral("MR"));
  pick(dialog.pickList(QStringLiteral("Fach")), QStringLiteral("D"));
  pick(dialog.pickList(QStringLiteral("Zusatz")), QStringLiteral("1"));
  EXPECT_EQ(dialog.courseField()->text(), QStringLiteral("5A MR D1"));
  QTest::mouseClick(dialog.button(QStringLiteral("courseHinzuf\u00FCgen")), Qt::LeftButton);
  pick(dialog.pickList(QStringLiteral("Klasse")), QStringLiteral("5B"));
  pick(dialog.pickList(QStringLiteral("Lehrer")), QStringLiteral("WS"));
  QTest::mouseClick(dialog.button(QStringLiteral("courseHinzuf\u00FCgen")), Qt::LeftButton);
  EXPECT_EQ(dialog.courseText()->text(), QStringLiteral("5A MR D1,5B WS D1,"));
  EXPECT_EQ(dialog.courseList()->count(), 2);
  QTest::mouseClick(dialog.button(QStringLiteral("couplingHinzuf\u00FCgen")), Qt::LeftButton);
  EXPECT_EQ(ws.plan.nCouplings(), 27);
  EXPECT_EQ(issued, QStringLiteral("S:"));
  EXPECT_TRUE(ws.plan.modifiedCouplings);
  EXPECT_EQ(ws.shell.helpTopic, "TAVIN.hlp~koppchg");
}

TEST_F(EditorDialogs, BlockEditorStoresPickedCouplings) {
  BlockEditorDialog dialog(app, 0);
  dialog.setAttribute(Qt::WA_DeleteOnClose, false);
  EXPECT_EQ(dialog.numberField()->text(), QStringLiteral("5"));
  dialog.couplingsField()->setText(QStringLiteral("1"));
  QTest::mouseClick(dialog.button(QStringLiteral("Hinzuf\u00FCgen")), Qt::LeftButton);
  EXPECT_EQ(ws.plan.nBlocks(), 5);
  EXPECT_EQ(ws.plan.blocks[5], "1");
  EXPECT_EQ(ws.shell.helpTopic, "TAVIN.hlp~blockchg");
}

// The editors are single-instance windows of the main window; "T:3" opens the coupling
// editor on coupling 3 and a second "T:" replaces it.
TEST_F(EditorDialogs, MainWindowKeepsOneEditorOfEachKind) {
  MainWindow window(app);
  window.openEditor(EditorRequest{EditorKind::Coupling, 0, 3});
  QPointer<QWidget> first = window.editor(EditorKind::Coupling);
  ASSERT_TRUE(first);
  EXPECT_EQ(static_cast<CouplingEditorDialog*>(first.data())->numberField()->text(), QStringLiteral("3"));
  window.openEditor(EditorRequest{EditorKind::Coupling, 0, 4});
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(first);
  EXPECT_EQ(window.openChildWindows(), 1);
}

}  // namespace
}  // namespace quort
