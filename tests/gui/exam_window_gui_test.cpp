// The exam functions reached through the main window: work mode 4 from the selector, its
// buttons "Vorgaben" and "einfügen", and menu 144 with its real choice box.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "courses/course_editing.h"
#include "exams/exam_dialog.h"
#include "exams/exam_planning.h"
#include "gui/choice_dialog.h"
#include "gui/exams/exam_dialog_view.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "support/temp_dir.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

namespace fs = std::filesystem;

// Questions come from the script queue; the exam dialog and the exam plan's choice box are
// the real windows, looked at and closed by the test.
class ExamWindowsUi : public ScriptedUi {
 public:
  void runDialog(DialogSession& session) override {
    if (session.kind() != DialogSession::Kind::Exam) return ScriptedUi::runDialog(session);
    ExamDialogView dialog(static_cast<ExamDialogSession&>(session));
    examTitles.push_back(dialog.windowTitle());
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.button(QStringLiteral("Abbruch"))->click(); });
    dialog.exec();
  }
  ChoiceOutcome choiceBox(const ChoiceBoxRequest& request) override {
    if (request.prompt != "Ausgabe von Klausurenpl\xE4nen") return ScriptedUi::choiceBox(request);
    ChoiceDialog dialog(request);
    QLineEdit* date = dialog.textField(1);
    QLineEdit* day = dialog.textField(2);
    shownDays.push_back(day->text());
    dayReadOnly = day->isReadOnly() && day->focusPolicy() == Qt::NoFocus;
    date->setText(QStringLiteral("05.02.2025"));
    shownDays.push_back(day->text());
    dialog.itemButton(static_cast<int>(request.items.size()))->click();  // "Abbruch"
    return dialog.outcome();
  }
  QStringList examTitles;
  QStringList shownDays;
  bool dayReadOnly = false;
};

class ExamWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), LoadStatus::Loaded);
    ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
    ws.substitution.clockDate = "03.02.2025";
    ws.dialogs.currentDate = "03.02.2025";
    window.refresh();
  }

  test::InTempDirectory dir{test::TempDir::inMemoryIfPossible()};
  Workspace ws;
  ExamWindowsUi ui;
  Application app{ws, ui};
  MainWindow window{app};
};

// "Vorgaben" asks for the course file and opens the presets, whose "Auswerten" makes the
// exam; "einfügen" then opens the exam dialog window titled with it.
TEST_F(ExamWindow, ModeFourButtonsOpenThePresetsAndTheExamDialog) {
  ASSERT_TRUE(setCourse(ws, ui, 0, "11 GEb"));
  ASSERT_TRUE(SaveCourseBook(ws, ui, "K11"));
  window.workModeSelector()->setCurrentIndex(4);
  ASSERT_EQ(ws.shell.workMode, 4);
  QPushButton* presets = window.mainButton(MainButton::Remove);
  EXPECT_EQ(presets->text(), QStringLiteral("Vorgaben"));
  for (const char* answer : {"K11.BK", "$11", "$GEb", "$MO1-2", "Auswerten"}) ui.queueAnswer(answer);
  QTest::mouseClick(presets, Qt::LeftButton);
  EXPECT_TRUE(ui.saw("Kursdatei [*.bk]"));
  EXPECT_TRUE(std::any_of(ui.records().begin(), ui.records().end(), [](const auto& r) {
    return r.text.starts_with("Kursdatei: K11.BK [$Stufe:|$Kurse:");
  })) << "the presets were not asked";
  ASSERT_TRUE(currentExam(ws).has_value());
  QTest::mouseClick(window.mainButton(MainButton::Insert), Qt::LeftButton);
  ASSERT_EQ(ui.examTitles.size(), 1);
  EXPECT_EQ(ui.examTitles.front(), QStringLiteral("QUORT-Plan - MO1-2 Stufe:11"));
}

// Menu 144 opens "Ausgabe von Klausurenplänen"; its "Tag:" cannot be typed into and shows
// the weekday of the date as the date is typed.
TEST_F(ExamWindow, Menu144OpensTheExamPlanOutput) {
  QAction* item = window.menuAction(144);
  ASSERT_NE(item, nullptr);
  ASSERT_TRUE(item->isEnabled());
  item->trigger();
  EXPECT_EQ(ui.shownDays, (QStringList{QStringLiteral("MO"), QStringLiteral("MI")}));
  EXPECT_TRUE(ui.dayReadOnly);
  EXPECT_FALSE(fs::exists(dir.path() / "klausauf.txt")) << "Abbruch writes nothing";
}

}  // namespace
}  // namespace quort
