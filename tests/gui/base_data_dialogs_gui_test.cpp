#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "editors/base_data_editor.h"
#include "gui/editors/entity_list_dialog.h"
#include "gui/editors/schedule_dialogs.h"
#include "gui/editors/tool_panel_dialog.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "support/temp_dir.h"
#include "timetable/demo_school.h"
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

// Drives the modal dialogs a command opens: each step gets the next modal dialog that
// shows up and must close it.
class ModalSteps {
 public:
  explicit ModalSteps(std::deque<std::function<void(QWidget*)>> steps) : m_steps(std::move(steps)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(5);
  }
  bool allRun() const { return m_steps.empty(); }

 private:
  void poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || !dialog->isVisible() || dialog == m_last || m_steps.empty()) return;
    m_last = dialog;
    const auto step = std::move(m_steps.front());
    m_steps.pop_front();
    step(dialog);
  }
  std::deque<std::function<void(QWidget*)>> m_steps;
  QPointer<QWidget> m_last;
  QTimer m_timer;
};

QPushButton* buttonOf(QWidget* dialog, const QString& caption) {
  for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

// Types like a keyboard; letters beyond ASCII come as key events carrying their text.
void typeInto(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Delete);
  for (const QChar c : text) {
    if (c.unicode() < 128) {
      QTest::keyClick(field, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

// Fills the fields of a list dialog (texts by field, code first; for subjects the kind
// chosen in its box by number) and presses "Hinzufügen" for every entity, then "Ende".
std::function<void(QWidget*)> addEntities(std::vector<QStringList> entities, std::vector<int> subjectKinds = {}) {
  return [entities, subjectKinds](QWidget* widget) {
    auto* dialog = qobject_cast<EntityListDialog*>(widget);
    ASSERT_NE(dialog, nullptr) << widget->windowTitle().toStdString();
    for (size_t n = 0; n < entities.size(); ++n) {
      const QStringList& texts = entities[n];
      for (int i = 0; i < texts.size(); ++i) {
        if (dialog->field(i) != nullptr) typeInto(dialog->field(i), texts[i]);
      }
      if (n < subjectKinds.size()) dialog->kindBox()->setCurrentIndex(subjectKinds[n]);
      QTest::mouseClick(dialog->button(QStringLiteral("Hinzuf\u00FCgen")), Qt::LeftButton);
    }
    QTest::mouseClick(dialog->button(QStringLiteral("Ende")), Qt::LeftButton);
  };
}

// A small school entered from nothing in the window's base-data dialogs ("G:", then the
// choice, the Qt dialogs typed into, the file name) is saved and opens again as entered.
TEST(BaseDataWindow, SmallSchoolEnteredInTheDialogsIsSavedAndReopens) {
  test::InTempDirectory dir;
  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
  MainWindow window(app);
  window.show();
  for (const char* answer : {"Stundenzahl", "Klassen", "Lehrer",
                             "F\xE4"
                             "cher",
                             "R\xE4ume", "Ende", "NEU"}) {
    ui.queueAnswer(answer);
  }
  ModalSteps steps({
      [](QWidget* widget) {
        auto* dialog = qobject_cast<DaysAndPeriodsDialog*>(widget);
        ASSERT_NE(dialog, nullptr) << widget->windowTitle().toStdString();
        typeInto(dialog->field(0), QStringLiteral("5"));
        typeInto(dialog->field(1), QStringLiteral("6"));
        typeInto(dialog->field(2), QStringLiteral("4"));
        QTest::mouseClick(buttonOf(dialog, QStringLiteral("Anwenden")), Qt::LeftButton);
      },
      addEntities({{QStringLiteral("5 a"), QStringLiteral("M\u00FC"), QStringLiteral("05a")},
                   {QStringLiteral("6a"), QStringLiteral("Kr"), QStringLiteral("06a")}}),
      addEntities({{QStringLiteral("mr"), QStringLiteral("M\u00FCller"), QStringLiteral("2"), QStringLiteral("24")},
                   {QStringLiteral("kr"), QStringLiteral("Kr\u00FCger"), QStringLiteral("0"), QStringLiteral("26")}}),
      addEntities(
          {{QStringLiteral("d"), QStringLiteral("Deutsch"), QString(), QString(), QString()},
           {QStringLiteral("ch"), QStringLiteral("Chemie"), QStringLiteral("1"), QString(), QStringLiteral("ch")}},
          {0, 1}),
      addEntities({{QStringLiteral("101"), QStringLiteral("5A")}}),
  });
  QTest::keyClicks(window.commandField(), QStringLiteral("G:"));
  QTest::keyClick(window.commandField(), Qt::Key_Return);
  EXPECT_TRUE(steps.allRun());
  EXPECT_TRUE(ui.saw("Programmende !"));
  EXPECT_EQ(test::readFile("NEU.GD"),
            "326,2,3,3,1\r\n5A M\xFC >05A\r\n6A Kr >06A\r\nMR M\xFCller 2 24\r\nKR Kr\xFCger 0 26\r\n"
            "D Deutsch\r\nCH Chemie 1 D >CH\r\n101 5A\r\n20,4,1,20,2,2,1,100,6,4,5,1\r\n");

  Workspace reopened;
  ScriptedUi quiet;
  Application again{reopened, quiet};
  ASSERT_EQ(again.loadBase("NEU"), LoadStatus::Loaded);
  EXPECT_EQ(reopened.base.days, 5);
  EXPECT_EQ(reopened.base.periodsPerDay, 6);
  EXPECT_EQ(reopened.base.classes, ws.base.classes);
  EXPECT_EQ(reopened.base.teachers, ws.base.teachers);
  EXPECT_EQ(reopened.base.subjects, ws.base.subjects);
  EXPECT_EQ(reopened.base.rooms, ws.base.rooms);
  EXPECT_EQ(reopened.base.findRoom("101"), 1);
}

}  // namespace
}  // namespace quort
