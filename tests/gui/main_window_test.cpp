#include "gui/main_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "data/plan_records.h"
#include "gui/qt_text.h"
#include "gui/week_grid_widget.h"
#include "shell/application.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

const std::string kUnavailable = "Funktion nicht verf\xFCgbar!";
const std::string kDemo = std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD";

class MainWindowTest : public ::testing::Test {
 protected:
  void load() {
    ASSERT_EQ(app.loadBase(kDemo), LoadStatus::Loaded);
    window.refresh();
  }
  QString label(MainButton button) const { return window.mainButton(button)->text(); }
  void type(const QString& text) {
    QTest::keyClicks(window.commandField(), text);
    QTest::keyClick(window.commandField(), Qt::Key_Return);
  }

  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
  MainWindow window{app};
};

// The bar shows the five padded pulldowns; every item carries its number and caption, and
// Bearbeiten, Eingabe, Ausgabe and the grey items wait for base data.
TEST_F(MainWindowTest, MenuTreeHasIdentifiersCaptionsAndGreying) {
  EXPECT_EQ(window.windowTitle(), QStringLiteral("QUORT-Plan ") + QStringLiteral(QUORT_VERSION));
  const QStringList captions = {QStringLiteral(" &Datei     "), QStringLiteral(" &Bearbeiten  "),
                                QStringLiteral(" &Eingabe  "), QStringLiteral(" &Ausgabe     "),
                                QStringLiteral(" &Hilfen     ")};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(window.pulldown(i)->title(), captions[i]);
  EXPECT_EQ(window.menuAction(101)->text(), QStringLiteral("&\u00D6ffnen"));
  EXPECT_EQ(window.menuAction(111)->text(), QStringLiteral("&Bl\u00F6"
                                                           "cke"));
  EXPECT_EQ(window.menuAction(128)->text(), QStringLiteral("&"));
  EXPECT_EQ(window.menuAction(136)->data().toInt(), 136);
  EXPECT_EQ(window.menuAction(118), nullptr);

  EXPECT_TRUE(window.pulldown(0)->menuAction()->isEnabled());
  for (int i = 1; i <= 3; ++i) EXPECT_FALSE(window.pulldown(i)->menuAction()->isEnabled()) << i;
  for (int id : {102, 137, 146, 147}) EXPECT_FALSE(window.menuAction(id)->isEnabled()) << id;
  EXPECT_TRUE(window.menuAction(101)->isEnabled());
  EXPECT_FALSE(window.mainButton(MainButton::Back)->isEnabled());

  load();
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(window.pulldown(i)->menuAction()->isEnabled()) << i;
  for (int id : {102, 137, 146, 147}) EXPECT_TRUE(window.menuAction(id)->isEnabled()) << id;
  EXPECT_TRUE(window.mainButton(MainButton::Back)->isEnabled());
  window.workModeSelector()->setCurrentIndex(4);
  EXPECT_FALSE(window.menuAction(102)->isEnabled());
}

// Enter in the command field runs the interpreter and empties the field; without base data
// only "G:" gets through.
TEST_F(MainWindowTest, CommandFieldRunsTheInterpreter) {
  type(QStringLiteral("s"));
  EXPECT_TRUE(ui.records().empty());
  EXPECT_TRUE(window.commandField()->text().isEmpty());
  type(QStringLiteral("g"));
  ASSERT_FALSE(ui.records().empty());
  EXPECT_TRUE(ui.records().front().text.starts_with("Grunddatenaufnahme:"));

  load();
  ws.plan.couplings.push_back(makeCouplingMember(ws.base.findTeacher("MR"), 1, 1, 'a'));
  type(QStringLiteral("s"));
  EXPECT_EQ(ws.shell.currentCommand, "S:");
  ASSERT_TRUE(window.showsList());
  ASSERT_EQ(window.listView()->count(), 1);
  EXPECT_EQ(window.listView()->item(0)->text(), QStringLiteral("1:5A MR Da,"));
  emit window.listView()->itemActivated(window.listView()->item(0));
  EXPECT_EQ(ws.shell.currentCommand, "T:1");
  type(QStringLiteral("x:k"));
  EXPECT_FALSE(window.showsList());
}

// The selector switches the work mode and with it the labels of the button row.
TEST_F(MainWindowTest, WorkModeSelectorChangesTheButtonLabels) {
  load();
  EXPECT_EQ(label(MainButton::Coupling), QStringLiteral("Koppl.Nr."));
  window.workModeSelector()->setCurrentIndex(0);
  EXPECT_EQ(ws.shell.workMode, 0);
  EXPECT_EQ(label(MainButton::Coupling), QStringLiteral("Koppl.Fach"));
  window.workModeSelector()->setCurrentIndex(3);
  EXPECT_EQ(label(MainButton::Remove), QStringLiteral("Vorgaben"));
  EXPECT_EQ(label(MainButton::ToPlace), QStringLiteral("Kl.Plan"));
  EXPECT_EQ(label(MainButton::Couplings), QStringLiteral("St"));
  EXPECT_EQ(label(MainButton::Blocks), QStringLiteral("Me"));
  QPushButton* toggle = window.mainButton(MainButton::PlanToggle);
  EXPECT_FALSE(toggle->isHidden());
  EXPECT_TRUE(window.modeLabel()->isHidden());
  EXPECT_EQ(toggle->text(), QStringLiteral("Vertr.Plan"));
  QTest::mouseClick(toggle, Qt::LeftButton);
  EXPECT_EQ(toggle->text(), QStringLiteral("Org.Plan"));
  EXPECT_TRUE(ws.shell.showOriginalPlan);
  window.workModeSelector()->setCurrentIndex(4);
  EXPECT_FALSE(window.mainButton(MainButton::Back)->isEnabled());
  EXPECT_TRUE(toggle->isHidden());
  EXPECT_EQ(window.modeLabel()->text(), QStringLiteral("zu setzen"));
  window.workModeSelector()->setCurrentIndex(2);
  EXPECT_EQ(label(MainButton::Coupling), QStringLiteral("Kurse"));
  EXPECT_EQ(label(MainButton::Remove), QStringLiteral("entfernen"));
}

// A click on a cell makes its day and period current; PageDown moves to the next class.
TEST_F(MainWindowTest, ClickingACellSelectsDayAndPeriod) {
  load();
  window.resize(1000, 760);
  window.show();
  WeekGridWidget* grid = window.weekGrid();
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(2, 3).center());
  EXPECT_EQ(ws.shell.currentPeriod, 3);
  EXPECT_EQ(ws.shell.currentDay, 4);
  EXPECT_EQ(window.statusField(1)->text(), QStringLiteral("Klasse 5A  \u00B7  DO, 3. Std."));
  QTest::keyClick(grid, Qt::Key_Down);
  EXPECT_EQ(ws.shell.currentPeriod, 4);
  QTest::keyClick(grid, Qt::Key_PageDown);
  EXPECT_EQ(ws.shell.currentClass, 2);
  EXPECT_EQ(window.statusField(2)->text(), QStringLiteral("Deputate: 0"));
}

// "Le" offers the teachers; the choice shows that teacher's week.
TEST_F(MainWindowTest, ChooserButtonsChangeTheEntityShown) {
  load();
  ui.queueAnswer("KS");
  QTest::mouseClick(window.mainButton(MainButton::Teachers), Qt::LeftButton);
  EXPECT_EQ(window.weekGrid()->grid().title, "Lehrer KS");
  EXPECT_EQ(ws.shell.currentCommand, "X:L");
}

// Closing the window ends the program: a changed plan is saved first and the modeless
// windows go with it; "Ende" only closes after "Programm beenden?" is confirmed.
TEST_F(MainWindowTest, EndOfProgramSavesAChangedPlanAndClosesChildWindows) {
  load();
  window.show();
  window.triggerMenuItem(103);
  EXPECT_TRUE(ui.saw("Programm beenden?"));
  EXPECT_TRUE(window.isVisible());

  auto* child = new QWidget;
  child->setAttribute(Qt::WA_DeleteOnClose);
  child->show();
  ASSERT_TRUE(window.registerChildWindow(child));
  EXPECT_EQ(window.openChildWindows(), 1);
  ws.shell.planOpened = true;
  ws.plan.modifiedLocks = true;
  ui.queueAnswer("OK");
  window.triggerMenuItem(103);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(ui.saw("QUORT-Plan - Plan sichern [*.pl]"));  // the plan save was asked for
  EXPECT_TRUE(app.endRequested());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.openChildWindows(), 0);
}

// Only 16 modeless windows are kept; the help opens as one of them.
TEST_F(MainWindowTest, ChildWindowSlotsAreLimitedAndHelpIsOneOfThem) {
  ws.shell.programDirectory = std::string(QUORT_SOURCE_DIR) + "/help/";
  window.triggerMenuItem(150);
  EXPECT_EQ(window.openChildWindows(), 1);
  std::vector<std::unique_ptr<QWidget>> others;
  for (int i = 1; i < MainWindow::kChildWindowSlots; ++i) {
    others.push_back(std::make_unique<QWidget>());
    EXPECT_TRUE(window.registerChildWindow(others.back().get()));
  }
  QWidget oneTooMany;
  EXPECT_FALSE(window.registerChildWindow(&oneTooMany));
  others.clear();
  EXPECT_EQ(window.openChildWindows(), 1);
}

// A week with lessons, a coupling, a fixed lesson and a class lock draws coloured cards where
// lessons are and plain cells elsewhere; the picture is kept in the build directory for review.
TEST_F(MainWindowTest, FilledWeekDrawsLessonCards) {
  load();
  const int c = ws.base.findClass("7B");
  auto& grids = ws.plan.timetable;
  const auto put = [&](int period, int day, const char* teacher, const char* subject, const char* room, int coupling) {
    const int t = ws.base.findTeacher(teacher);
    grids.lessonWord.at(c, period, day) =
        static_cast<uint16_t>(t * 256 + (coupling ? 128 : 0) + ws.base.findSubject(subject));
    grids.roomWord.at(c, period, day) = static_cast<uint16_t>(coupling * 256 + ws.base.findRoom(room));
  };
  const char* week[5][6] = {{"D", "M", "E", "BI", "SP", "SP"},
                            {"M", "D", "GE", "KR", "MU", "E"},
                            {"E", "E", "M", "D", "PH", "PH"},
                            {"L", "EK", "D", "M", "KU", "KU"},
                            {"M", "BI", "E", "L", "D", "PK"}};
  const char* teachers[] = {"KS", "MR", "WS", "BH", "JG"};
  for (int day = 1; day <= 5; ++day) {
    for (int period = 1; period <= 6; ++period) {
      put(period, day, teachers[(period + day) % 5], week[day - 1][period - 1], "202", 0);
    }
  }
  ws.plan.couplings.push_back(makeCouplingMember(ws.base.findTeacher("KS"), c, ws.base.findSubject("KR"), 'a'));
  put(8, 2, "KS", "KR", "A01", 1);
  grids.lessonWord.at(c, 3, 1) |= 128;
  grids.lessonWord.at(c, 9, 4) = static_cast<uint16_t>(ws.base.nTeachers() * 256 + 128 + ws.base.nSubjects());
  ws.shell.currentClass = c;
  ws.shell.currentDay = 3;
  ws.shell.currentPeriod = 4;
  window.resize(1040, 760);
  window.show();
  window.refresh();
  const QImage image = window.grab().toImage();
  image.save(QStringLiteral(QUORT_BINARY_DIR "/week-grid-filled.png"));
  WeekGridWidget* grid = window.weekGrid();
  const QImage gridImage = grid->grab().toImage();
  const auto colourAt = [&](int row, int day) {
    const QRect cell = grid->cellRect(row, day);
    return gridImage.pixelColor(cell.center() + QPoint(cell.width() / 4, 0)).rgb();
  };
  EXPECT_EQ(colourAt(6, 0), QColor(0xee, 0xf1, 0xf5).rgb());  // an empty afternoon cell
  EXPECT_EQ(colourAt(0, 0), subjectColour(ws.base.findSubject("D")).rgb());
  EXPECT_NE(colourAt(0, 1), colourAt(0, 0));  // M and D differ
  EXPECT_EQ(grid->grid().lessons, 31);
  EXPECT_TRUE(grid->grid().at(8, 3).classLock);
}

// Beside the grid stands the "zu setzen" list of "P:"; a pick chooses the entry that ">"
// places next, and the list follows every placement.
TEST_F(MainWindowTest, ToPlaceListBesideTheGridChoosesAndFollowsPlacements) {
  load();
  ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
  window.resize(1040, 760);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.refresh();
  QListWidget* list = window.toPlaceList();
  ASSERT_TRUE(list->isVisible());
  ASSERT_GT(list->count(), 2);
  EXPECT_EQ(list->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 5"));
  EXPECT_TRUE(list->item(list->count() - 1)->text().startsWith(QStringLiteral("Summe: 788")));
  EXPECT_EQ(list->item(list->count() - 1)->flags() & Qt::ItemIsSelectable, Qt::NoItemFlags);

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
  EXPECT_EQ(ws.shell.currentCommand, "P:2");
  EXPECT_EQ(ws.shell.currentEntry, ws.plan.assignments.substr(4, 4));
  EXPECT_EQ(list->currentRow(), 1);
  type(QStringLiteral(">MO1"));
  EXPECT_EQ(list->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 4"));
  EXPECT_TRUE(list->item(list->count() - 1)->text().startsWith(QStringLiteral("Summe: 787")));
  EXPECT_EQ(list->currentRow(), 1);  // the chosen entry stays chosen

  // Work mode 3 lists the lessons to substitute there instead (none without absences).
  window.workModeSelector()->setCurrentIndex(3);
  EXPECT_TRUE(list->isVisible());
  EXPECT_EQ(list->count(), 0);
  window.workModeSelector()->setCurrentIndex(0);
  EXPECT_TRUE(list->isVisible());
}

// "X:NL", "X:NK" and "X:AR" take teacher codes, class codes and rooms off the cards;
// "X:A" brings everything back.
TEST_F(MainWindowTest, CardsHonourTheViewSwitches) {
  load();
  const int c = ws.base.findClass("5A");
  const int t = ws.base.findTeacher("MR");
  ws.plan.timetable.lessonWord.at(c, 1, 1) = static_cast<uint16_t>(t * 256 + ws.base.findSubject("D"));
  ws.plan.timetable.roomWord.at(c, 1, 1) = static_cast<uint16_t>(ws.base.findRoom("101"));
  ws.plan.timetable.teacher.at(t, 1, 1) = static_cast<uint16_t>(c * 256);
  WeekGridWidget* grid = window.weekGrid();
  const auto card = [&] {
    const auto text = grid->cardText(grid->grid().at(0, 0));
    return QStringList{text.main, text.secondary, text.room}.join(QLatin1Char('|'));
  };
  type(QStringLiteral("x:k 5a"));
  EXPECT_EQ(card(), QStringLiteral("D|MR|101"));
  type(QStringLiteral("x:nl"));
  EXPECT_EQ(card(), QStringLiteral("D||101"));
  type(QStringLiteral("x:ar"));
  EXPECT_EQ(card(), QStringLiteral("D||"));
  type(QStringLiteral("x:a"));
  EXPECT_EQ(card(), QStringLiteral("D|MR|101"));
  type(QStringLiteral("x:l mr"));
  EXPECT_EQ(card(), QStringLiteral("D|5A|101"));
  type(QStringLiteral("x:nk"));
  EXPECT_EQ(card(), QStringLiteral("D||101"));
  type(QStringLiteral("x:ak"));
  EXPECT_EQ(card(), QStringLiteral("D|5A|101"));
}

}  // namespace
}  // namespace quort
