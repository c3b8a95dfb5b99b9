#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "data/plan_records.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/substitution/absence_day_dialog.h"
#include "gui/substitution/substitute_lesson_dialog.h"
#include "gui/week_grid_widget.h"
#include "shell/application.h"
#include "substitution/absence_dialog.h"
#include "substitution/lesson_dialog.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

namespace fs = std::filesystem;

// Questions and messages come from the script queue; the two substitution dialogs are the
// real windows, worked by the test's hand with mouse and keys while they are open.
class HandDrivenUi : public ScriptedUi {
 public:
  std::function<void(QDialog&)> hand;

  void runDialog(DialogSession& session) override {
    std::unique_ptr<QDialog> dialog;
    if (session.kind() == DialogSession::Kind::AbsenceDay) {
      dialog = std::make_unique<AbsenceDayDialog>(static_cast<AbsenceDaySession&>(session));
    } else {
      dialog = std::make_unique<SubstituteLessonDialog>(static_cast<SubstituteLessonSession&>(session));
    }
    ++opened;
    titles.push_back(dialog->windowTitle());
    auto work = std::move(hand);
    hand = nullptr;
    QDialog* shown = dialog.get();
    QTimer::singleShot(0, shown, [shown, work] {
      if (work) work(*shown);
      if (shown->isVisible()) shown->reject();  // a hand that failed half-way must not hang the test
    });
    dialog->exec();
  }
  int opened = 0;
  QStringList titles;
};

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void click(QPushButton* button) {
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

void clickRow(QListWidget* list, int row) {
  ASSERT_NE(list, nullptr);
  ASSERT_LT(row, list->count());
  QListWidgetItem* item = list->item(row);
  list->scrollToItem(item);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
}

class SubstitutionDayWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    previous = fs::current_path();
    fs::current_path(dir.path());
    ASSERT_EQ(app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), LoadStatus::Loaded);
    ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
    ws.substitution.clockDate = "03.02.2025";  // a Monday
    ws.dialogs.currentDate = "03.02.2025";
    window.refresh();
  }
  void TearDown() override { fs::current_path(previous); }

  void type(const QString& command) {
    window.commandField()->setFocus();
    QTest::keyClicks(window.commandField(), command);
    QTest::keyClick(window.commandField(), Qt::Key_Return);
  }
  const GridCell& cell(int row, int day) const { return window.weekGrid()->grid().at(row, day); }

  test::TempDir dir{test::TempDir::inMemoryIfPossible()};
  fs::path previous;
  Workspace ws;
  HandDrivenUi ui;
  Application app{ws, ui};
  MainWindow window{app};
};

// A whole day through the window: a lesson is placed, work mode 3 opens "Vertretungen",
// the teacher's absence is typed in and evaluated, the open lesson is picked beside the plan,
// a candidate chosen and set; the day file and the grid marks show it, and "Stornieren"
// gives the plan back.
TEST_F(SubstitutionDayWindow, AbsenceEvaluationSubstituteAndCancellation) {
  type(QStringLiteral(">MO1 L:MR F:D K:5A"));
  const int c5a = ws.base.findClass("5A");
  ASSERT_NE(ws.plan.timetable.lessonWord.at(c5a, 1, 1), 0);
  const uint16_t planned = ws.plan.timetable.lessonWord.at(c5a, 1, 1);

  ui.hand = [](QDialog& shown) {
    auto& dialog = static_cast<AbsenceDayDialog&>(shown);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vertretungen 03.02.2025"));
    dialog.teacherBox()->setFocus();
    QTest::keyClicks(dialog.teacherBox(), QStringLiteral("MR"));
    EXPECT_EQ(dialog.teacherBox()->currentText(), QStringLiteral("MR"));
    EXPECT_EQ(dialog.countBox()->text(), QStringLiteral("Stunden verrechnen:"));
    EXPECT_TRUE(dialog.countBox()->isChecked());  // the hours are counted unless unticked
    QTest::keyClicks(dialog.reasonField(), QStringLiteral("Krank"));
    click(dialog.button(QStringLiteral("Speichern")));
    ASSERT_EQ(dialog.absenceList()->count(), 1);
    EXPECT_EQ(dialog.absenceList()->item(0)->text(), QStringLiteral("MR(Krank)"));
    click(dialog.button(QStringLiteral("Auswerten")));
  };
  ui.queueAnswer("Ja");  // "Einträge für den 03.02.2025 auswerten?"
  window.workModeSelector()->setCurrentIndex(3);
  ASSERT_EQ(ui.opened, 1);
  EXPECT_TRUE(ui.saw("Eintr\xE4ge f\xFCr den 03.02.2025 auswerten?"));
  EXPECT_NE(fileText(dir.path() / "termin.x").find("03.02.2025:MR(Krank)"), std::string::npos);
  EXPECT_EQ(ws.plan.timetable.lessonWord.at(c5a, 1, 1), 0);

  // The plan of 5A shows the lesson as open; the list beside it offers it.
  ws.shell.currentClass = c5a;
  window.refresh();
  EXPECT_EQ(cell(0, 0).dayMark, GridCell::DayMark::Open);
  EXPECT_EQ(cell(0, 0).teacher, "MR");
  QListWidget* open = window.toPlaceList();
  ASSERT_EQ(open->count(), 1);
  EXPECT_TRUE(open->item(0)->text().startsWith(QStringLiteral("MO 1.Std. 5A MR-D")));

  std::string chosen;
  ui.hand = [&chosen](QDialog& shown) {
    auto& dialog = static_cast<SubstituteLessonDialog&>(shown);
    clickRow(dialog.teacherList(), 0);
    chosen = fromQString(dialog.entryField()->text());
    click(dialog.button(QStringLiteral("Setzen")));
  };
  clickRow(open, 0);
  ASSERT_EQ(ui.opened, 2);
  EXPECT_TRUE(ui.titles.back().startsWith(QStringLiteral("Vertretung MO 6.Woche 1.Std. 5A MR-D")));
  ASSERT_FALSE(chosen.empty());
  const std::string substitute = chosen.substr(0, 2);
  const std::string day = fileText(dir.path() / "sMO.x");
  EXPECT_EQ(day.rfind("Vertretungen MO,03.02.2025\r\n", 0), 0U) << day;
  EXPECT_NE(day.find(" 5A  1.Std.: " + substitute + "-D"), std::string::npos) << day;
  EXPECT_NE(fileText(dir.path() / "prot.x").find("03.02.2025[Krank]"), std::string::npos);
  EXPECT_EQ(cell(0, 0).dayMark, GridCell::DayMark::Substituted);
  EXPECT_EQ(cell(0, 0).teacher, substitute);
  EXPECT_EQ(open->count(), 0);

  // The absent teacher's Monday shows so; the reference plan carries no marks.
  ws.shell.currentTeacher = ws.base.findTeacher("MR");
  ws.shell.view.kind = PlanEntity::Teacher;
  window.refresh();
  EXPECT_EQ(cell(0, 0).dayMark, GridCell::DayMark::Absent);
  click(window.mainButton(MainButton::PlanToggle));
  EXPECT_EQ(window.mainButton(MainButton::PlanToggle)->text(), QStringLiteral("Org.Plan"));
  EXPECT_EQ(cell(0, 0).dayMark, GridCell::DayMark::None);
  EXPECT_EQ(cell(0, 0).classes, "5A");
  click(window.mainButton(MainButton::PlanToggle));

  // "anzeigen" opens the day again; "Stornieren" sets the plan back.
  ui.hand = [](QDialog& shown) {
    auto& dialog = static_cast<AbsenceDayDialog&>(shown);
    EXPECT_EQ(dialog.absenceList()->count(), 1);
    click(dialog.button(QStringLiteral("Stornieren")));
    click(dialog.button(QStringLiteral("Abbruch")));
  };
  ui.queueAnswer("Ja");  // "Einträge für den 03.02.2025 stornieren?"
  click(window.mainButton(MainButton::Show));
  ASSERT_EQ(ui.opened, 3);
  EXPECT_EQ(ws.plan.timetable.lessonWord.at(c5a, 1, 1), planned);
  EXPECT_EQ(cell(0, 0).dayMark, GridCell::DayMark::None);
  EXPECT_EQ(cell(0, 0).classes, "5A");
}

// The date of the day dialog steps over the weekend by school days, and the count box names
// what it counts for a teacher and for a class.
TEST_F(SubstitutionDayWindow, DayDialogStepsSchoolDaysAndRelabelsTheCountBox) {
  ws.dialogs.currentDate = "07.02.2025";  // a Friday; the demo school has five days
  AbsenceDaySession session(ws, ui);
  AbsenceDayDialog dialog(session);
  QTest::mouseClick(dialog.dateScrollBar(), Qt::LeftButton, {}, QPoint(dialog.dateScrollBar()->width() / 2, 3));
  EXPECT_EQ(dialog.dateField()->text(), QStringLiteral("10.02.2025"));
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Vertretungen 10.02.2025"));
  dialog.classBox()->setFocus();
  QTest::keyClick(dialog.classBox(), Qt::Key_Down);
  EXPECT_EQ(dialog.countBox()->text(), QStringLiteral("Stunden vertreten:"));
  dialog.teacherBox()->setFocus();
  QTest::keyClick(dialog.teacherBox(), Qt::Key_Down);
  EXPECT_EQ(dialog.classBox()->currentIndex(), 0);
  EXPECT_EQ(dialog.countBox()->text(), QStringLiteral("Stunden verrechnen:"));
}

// "Klausuren:" of the day dialog hands the dialog's date to the exam actions and leaves
// the dialog open; a dialog without them shows no exam buttons.
TEST_F(SubstitutionDayWindow, DayDialogHandsItsDateToTheExamButtons) {
  struct RecordingExams : ExamDayActions {
    mutable std::vector<std::string> calls;
    bool readExams(Workspace&, Ui&, const std::string& date) const override {
      calls.push_back("einlesen " + date);
      return true;
    }
    bool takeOverExams(Workspace&, Ui&, const std::string& date) const override {
      calls.push_back("vorgeben " + date);
      return true;
    }
  } exams;
  AbsenceDaySession session(ws, ui, &exams);
  AbsenceDayDialog dialog(session);
  dialog.show();
  dialog.dateField()->setText(QStringLiteral("04.02.2025"));
  ASSERT_NE(dialog.button(QStringLiteral("einlesen")), nullptr);
  QTest::mouseClick(dialog.button(QStringLiteral("einlesen")), Qt::LeftButton);
  QTest::mouseClick(dialog.button(QStringLiteral("vorgeben")), Qt::LeftButton);
  EXPECT_EQ(exams.calls, (std::vector<std::string>{"einlesen 04.02.2025", "vorgeben 04.02.2025"}));
  EXPECT_TRUE(dialog.isVisible());
  AbsenceDaySession plain(ws, ui);
  AbsenceDayDialog plainDialog(plain);
  EXPECT_EQ(plainDialog.button(QStringLiteral("einlesen")), nullptr);
}

}  // namespace
}  // namespace quort
