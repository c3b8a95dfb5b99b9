#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/week_grid_widget.h"
#include "shell/application.h"
#include "timetable/plan_views.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {
namespace {

class HandWorkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(app.loadBase(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"), LoadStatus::Loaded);
    ASSERT_TRUE(app.openPlanByName(std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"));
    window.resize(1040, 760);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.refresh();
  }
  void type(const QString& text) {
    QTest::keyClicks(window.commandField(), text);
    QTest::keyClick(window.commandField(), Qt::Key_Return);
  }
  // The week block of "E:" for the chosen entry: one row of codes per period.
  std::vector<std::vector<std::string>> resourceCodes() {
    const std::vector<std::string> lines = resourcesText(ws, Slot{1, 1});
    std::vector<std::vector<std::string>> rows;
    bool week = false;
    for (const std::string& line : lines) {
      if (line.rfind("Resourcen ", 0) == 0) {
        week = true;
        continue;
      }
      if (!week || line.find_first_not_of(' ') == std::string::npos || line.find("MO") != std::string::npos) continue;
      std::istringstream words(line);
      std::string period;
      words >> period;
      std::vector<std::string> codes;
      for (std::string code; words >> code;) codes.push_back(code);
      rows.push_back(codes);
    }
    return rows;
  }

  // Drops data on a cell of the grid or on the list the way a drag ends there.
  void drop(QWidget* target, QPoint at, QMimeData* data) {
    QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(at, Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    QDropEvent dropped(QPointF(at), Qt::MoveAction, data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &dropped);
    delete data;
  }
  void dropOnCell(QMimeData* data, int row, int day) {
    drop(window.weekGrid(), window.weekGrid()->cellRect(row, day).center(), data);
  }
  static QMimeData* entryData(int number) {
    auto* data = new QMimeData;
    data->setData(QLatin1String(kEntryMimeType), QByteArray::number(number));
    return data;
  }
  uint16_t lessonAt(int period, int day) const {
    return ws.plan.timetable.lessonWord.at(ws.shell.currentClass, period, day);
  }

  Workspace ws;
  ScriptedUi ui;
  Application app{ws, ui};
  MainWindow window{app};
};

// With an entry chosen, every cell of the week carries the code "E:" lists for it, and a
// refused cell names the reason in its tooltip.
TEST_F(HandWorkTest, FitMarksOfTheWeekAreTheCodesOfTheResourcesCommand) {
  WeekGridWidget* grid = window.weekGrid();
  EXPECT_TRUE(grid->fitCode(0, 0).isEmpty());  // nothing chosen yet
  type(QStringLiteral("P:2"));
  type(QStringLiteral(">MO1"));
  type(QStringLiteral(">DI3"));
  type(QStringLiteral("P:2"));
  window.refresh();
  const auto codes = resourceCodes();
  ASSERT_EQ(static_cast<int>(codes.size()), ws.base.periodsPerDay);
  int refused = 0;
  for (int row = 0; row < grid->grid().rows(); ++row) {
    for (int day = 0; day < ws.base.days; ++day) {
      const std::string expected = codes[static_cast<size_t>(row)][static_cast<size_t>(day)];
      EXPECT_EQ(fromQString(grid->fitCode(row, day)), expected) << row << "," << day;
      if (expected == ".") {
        EXPECT_EQ(grid->fitToolTip(row, day), QStringLiteral("Hier setzbar."));
      } else {
        ++refused;
        EXPECT_TRUE(grid->fitToolTip(row, day).startsWith(
            QStringLiteral("Nicht setzbar (%1): ").arg(QString::fromStdString(expected))));
        EXPECT_GT(grid->fitToolTip(row, day).size(), 20);
      }
    }
  }
  EXPECT_GT(refused, 1);  // at least the two cells just taken
  window.grab().toImage().save(QStringLiteral(QUORT_BINARY_DIR "/where-can-it-go.png"));
  EXPECT_EQ(grid->fitToolTip(0, 0), QStringLiteral("Nicht setzbar (3): MO 1: Kombination bereits gesetzt."));
}

// Ctrl+Z and Ctrl+Y walk the plan back and forth; the menu items name the step.
TEST_F(HandWorkTest, UndoAndRedoActionsWalkThePlacements) {
  QListWidget* list = window.toPlaceList();
  ASSERT_NE(window.undoAction(), nullptr);
  EXPECT_FALSE(window.undoAction()->isEnabled());
  EXPECT_EQ(window.undoAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  EXPECT_EQ(window.redoAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Y));
  type(QStringLiteral("P:2"));
  type(QStringLiteral(">MO1"));
  EXPECT_EQ(list->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 4"));
  EXPECT_EQ(window.undoAction()->text(), QStringLiteral("R\u00FC"
                                                        "ckg\u00E4ngig: TH E 5A nach MO 1"));
  window.undoAction()->trigger();
  EXPECT_EQ(list->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 5"));
  EXPECT_EQ(window.redoAction()->text(), QStringLiteral("Wiederholen: TH E 5A nach MO 1"));
  EXPECT_FALSE(window.undoAction()->isEnabled());
  window.redoAction()->trigger();
  EXPECT_EQ(list->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 4"));
}

// A list entry dropped on a cell is placed there, a lesson dragged to another cell moves as
// one step, one dropped on the list goes back; a drop the user declines changes nothing.
TEST_F(HandWorkTest, DragAndDropPlacesMovesAndRemoves) {
  QListWidget* list = window.toPlaceList();
  dropOnCell(entryData(2), 0, 0);
  EXPECT_NE(lessonAt(1, 1), 0);
  EXPECT_EQ(list->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 4"));

  dropOnCell(cellMimeData(0, 0), 2, 1);
  EXPECT_EQ(lessonAt(1, 1), 0);
  EXPECT_NE(lessonAt(3, 2), 0);
  EXPECT_EQ(window.undoAction()->text(), QStringLiteral("R\u00FC"
                                                        "ckg\u00E4ngig: E 5A nach DI 3"));

  // Onto a taken cell: "Kombination dennoch setzen?" is answered No, so nothing moves.
  dropOnCell(entryData(3), 1, 0);
  ASSERT_NE(lessonAt(2, 1), 0);
  const TimetableGrids before = ws.plan.timetable;
  const std::string assignments = ws.plan.assignments;
  const size_t steps = ws.history.steps();
  dropOnCell(cellMimeData(1, 0), 2, 1);
  EXPECT_TRUE(ui.records().back().kind == "question" || ui.records().back().kind == "message");
  EXPECT_EQ(ws.plan.timetable, before);
  EXPECT_EQ(ws.plan.assignments, assignments);
  EXPECT_EQ(ws.history.steps(), steps);

  drop(list->viewport(), list->viewport()->rect().center(), cellMimeData(2, 1));
  EXPECT_EQ(lessonAt(3, 2), 0);
  EXPECT_EQ(list->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 5"));
}

// Without a mouse: arrows choose the cell, Insert places the chosen entry, Delete takes the
// lesson out again.
TEST_F(HandWorkTest, KeysPlaceAndRemoveTheChosenEntry) {
  type(QStringLiteral("P:2"));
  WeekGridWidget* grid = window.weekGrid();
  grid->setFocus();
  window.selectCell(0, 0);
  QTest::keyClick(grid, Qt::Key_Down);
  QTest::keyClick(grid, Qt::Key_Right);
  QTest::keyClick(grid, Qt::Key_Insert);
  EXPECT_NE(lessonAt(2, 2), 0);
  EXPECT_EQ(window.toPlaceList()->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 4"));
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(lessonAt(2, 2), 0);
  EXPECT_EQ(window.toPlaceList()->item(1)->text().simplified(), QStringLiteral("2 TH E 5A 5"));
}

}  // namespace
}  // namespace quort
