#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QTest>
#include <QWindow>
#include <cstdint>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "data/plan_records.h"
#include "gui/main_window.h"
#include "gui/qt_text.h"
#include "gui/week_grid_widget.h"
#include "shell/application.h"
#include "timetable/manual_placement.h"
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
  // Drags a lesson card with the mouse: the press and a move past the drag distance make
  // the grid start its QDrag. The offscreen platform ends every QDrag at once without a drop,
  // so the test looks at the window as the drag starts (`during`), takes the data that drag
  // carries and delivers the drop on the target cell the way a platform does. false when no
  // drag started.
  bool dragWithMouse(int fromRow, int fromDay, int row, int day, const std::function<void()>& during = {}) {
    QWindow* handle = window.windowHandle();
    WeekGridWidget* grid = window.weekGrid();
    const QPoint from = grid->mapTo(&window, grid->cellRect(fromRow, fromDay).center());
    QMimeData* carried = nullptr;
    const auto started = QObject::connect(grid, &WeekGridWidget::lessonDragging, grid, [&](int, int, bool dragging) {
      const QList<QDrag*> drags = grid->findChildren<QDrag*>();
      if (!dragging || drags.isEmpty() || carried != nullptr) return;
      if (during) during();
      carried = new QMimeData;
      const QMimeData* data = drags.last()->mimeData();
      for (const QString& format : data->formats()) carried->setData(format, data->data(format));
    });
    const QPoint past = from + QPoint(QApplication::startDragDistance() + 4, 0);
    QTest::mousePress(handle, Qt::LeftButton, {}, from);
    QTest::mouseMove(handle, past);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, past);
    QObject::disconnect(started);
    if (carried == nullptr) return false;
    dropOnCell(carried, row, day);
    return true;
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

// A lesson dragged with the mouse to another cell takes its room along when the room is
// free there.
TEST_F(HandWorkTest, MouseDragMovesTheLessonWithItsRoom) {
  type(QStringLiteral("P:2"));
  type(QStringLiteral(">MO1"));
  type(QStringLiteral(">MO1 R:101"));
  const int room = ws.base.findRoom("101");
  ASSERT_EQ(RoomWord::room(ws.plan.timetable.roomWord.at(ws.shell.currentClass, 1, 1)), room);
  ASSERT_TRUE(dragWithMouse(0, 0, 2, 1));
  EXPECT_EQ(lessonAt(1, 1), 0);
  EXPECT_NE(lessonAt(3, 2), 0);
  EXPECT_EQ(RoomWord::room(ws.plan.timetable.roomWord.at(ws.shell.currentClass, 3, 2)), room);
  EXPECT_EQ(ws.plan.timetable.room.at(room, 3, 2), ws.shell.currentClass);
  EXPECT_EQ(ws.plan.timetable.room.at(room, 1, 1), 0);
  EXPECT_EQ(fromQString(window.weekGrid()->cardText(window.weekGrid()->grid().at(2, 1)).room), "101");
}

// While a lesson is dragged, the week shows where that lesson can go (the marks its entry
// gets once it is back in the list), not where the chosen entry could; after the drop the
// chosen entry's marks return.
TEST_F(HandWorkTest, MarksDuringALessonDragAreTheDraggedLessons) {
  WeekGridWidget* grid = window.weekGrid();
  type(QStringLiteral("P:2"));
  type(QStringLiteral(">MO1"));
  type(QStringLiteral("P:3"));
  window.refresh();
  const auto marks = [&] {
    std::vector<QString> codes;
    for (int row = 0; row < grid->grid().rows(); ++row) {
      for (int day = 0; day < ws.base.days; ++day) codes.push_back(grid->fitCode(row, day));
    }
    return codes;
  };
  const std::vector<QString> chosenMarks = marks();
  EXPECT_NE(chosenMarks.front(), QStringLiteral("."));  // MO 1 is taken for entry 3
  std::vector<QString> duringDrag;
  ASSERT_TRUE(dragWithMouse(0, 0, 2, 1, [&] { duringDrag = marks(); }));
  ASSERT_NE(lessonAt(3, 2), 0);
  std::vector<QString> listed;  // what "E:" gives for the chosen entry now
  for (const auto& row : resourceCodes()) {
    for (const std::string& code : row) listed.push_back(QString::fromStdString(code));
  }
  EXPECT_EQ(marks(), listed);
  EXPECT_NE(duringDrag, chosenMarks);
  EXPECT_EQ(duringDrag.front(), QStringLiteral("."));  // it may go back where it came from

  // The dragged lesson's own entry, taken out and chosen, is marked the same way.
  type(QStringLiteral("<DI3"));
  type(QStringLiteral("P:2"));
  window.refresh();
  EXPECT_EQ(marks(), duringDrag);
}

// In the subject view a card that stands for one lesson is dragged like in the class view;
// a card of separate lessons of several classes is no one thing to move and starts no drag.
TEST_F(HandWorkTest, SubjectViewDragsCardsOfOneLesson) {
  type(QStringLiteral("P:2"));
  type(QStringLiteral(">MO1"));
  type(QStringLiteral("X:FS E"));
  window.refresh();
  ASSERT_TRUE(window.weekGrid()->movable(0, 0));
  ASSERT_TRUE(dragWithMouse(0, 0, 2, 1));
  EXPECT_EQ(lessonAt(1, 1), 0);
  EXPECT_NE(lessonAt(3, 2), 0);

  const int otherClass = ws.base.findClass("5B");
  const std::string& list = ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView e(list, i);
    if (e.schoolClass() == otherClass && e.subject() == ws.base.findSubject("E")) {
      ASSERT_EQ(placeAssignment(ws, ui, i, Slot{2, 3}), PlaceOutcome::Placed);
      break;
    }
  }
  window.refresh();
  ASSERT_EQ(window.weekGrid()->grid().at(2, 1).classes, "5A 5B");
  EXPECT_FALSE(window.weekGrid()->movable(2, 1));
  const TimetableGrids before = ws.plan.timetable;
  EXPECT_FALSE(dragWithMouse(2, 1, 0, 0));
  EXPECT_EQ(ws.plan.timetable, before);
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
