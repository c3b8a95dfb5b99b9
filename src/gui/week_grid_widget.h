#pragma once

#include <QWidget>
#include <vector>

#include "shell/main_view_model.h"

class QMimeData;

namespace quort {

// What a drag carries: an entry of the "zu setzen" list (its number there) or a lesson
// of the grid (its cell as "row,day").
inline constexpr char kEntryMimeType[] = "application/x-quort-entry";
inline constexpr char kCellMimeType[] = "application/x-quort-cell";
QMimeData* cellMimeData(int row, int day);
bool cellOfMimeData(const QMimeData* data, int& row, int& day);

// Draws the week of one class, teacher, room or subject: days across, periods down, one
// coloured card per lesson. It only shows what it is given; clicks and keys are reported.
class WeekGridWidget : public QWidget {
  Q_OBJECT

 public:
  struct Options {
    int selectedRow = 0;  // 0-based, -1: none
    int selectedDay = 0;  // 0-based
    bool showCouplingNumbers = false;
    // The "X:" switches: class codes, teacher codes and rooms on the cards.
    bool showClass = true;
    bool showTeacher = true;
    bool showRoom = true;
    // Where the chosen entry can go, one per cell row by row ("." usable, otherwise the
    // slot check's refusal code) with the refusal in words; empty: no entry chosen.
    std::vector<QString> fitCodes;
    std::vector<QString> fitReasons;
    // Per cell row by row: whether its card can be dragged; empty: every lesson card can.
    std::vector<bool> movable;
    QString caption;    // right-hand side of the header, e.g. the work mode
    QString emptyHint;  // shown across the grid when there is nothing to show
  };

  explicit WeekGridWidget(QWidget* parent = nullptr);

  void setGrid(WeekGrid grid, Options options);
  const WeekGrid& grid() const { return m_grid; }
  // The cell under a point, as (row, day), 0-based; false outside the cells.
  bool cellAt(const QPoint& point, int& row, int& day) const;
  QRect cellRect(int row, int day) const;

  // What the card of a lesson shows: the big first line, the second line, the room.
  struct CardText {
    QString main;
    QString secondary;
    QString room;
  };
  CardText cardText(const GridCell& cell) const;

  // The where-can-it-go mark of a cell and its tooltip; empty without a chosen entry.
  QString fitCode(int row, int day) const;
  QString fitToolTip(int row, int day) const;
  bool movable(int row, int day) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void cellSelected(int row, int day);
  // A list entry or a lesson was dropped on a cell (numbers and cells 0-based as above).
  void entryDropped(int entryNumber, int row, int day);
  void lessonDropped(int fromRow, int fromDay, int row, int day);
  // A lesson of this grid is being dragged (true) or the drag ended (false).
  void lessonDragging(int row, int day, bool dragging);
  // Insert/Enter and Delete at the selected cell: place the chosen entry, take the lesson out.
  void placeRequested(int row, int day);
  void removeRequested(int row, int day);
  void entityStepRequested(int direction);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Geometry {
    QRect header;
    QRect days;
    int left = 0;
    int top = 0;
    int labelWidth = 0;
    int columnWidth = 0;
    int rowHeight = 0;
    int afternoonGap = 0;
  };
  Geometry geometry() const;
  void paintHeader(QPainter& painter, const Geometry& g) const;
  void paintDayHeader(QPainter& painter, const Geometry& g) const;
  void paintRowLabels(QPainter& painter, const Geometry& g) const;
  void paintCell(QPainter& painter, const QRect& rect, const GridCell& cell) const;
  void paintLessonCard(QPainter& painter, const QRect& rect, const GridCell& cell) const;
  void paintFitMark(QPainter& painter, const QRect& rect, const QString& code) const;
  void paintLockedCell(QPainter& painter, const QRect& rect, const QString& text, const QColor& colour) const;

  WeekGrid m_grid;
  Options m_options;
  QPoint m_pressPoint{-1, -1};
};

// The tag a card of the substitution day carries: "Vertr.", "entfällt", "offen", "abwesend".
QString dayMarkText(GridCell::DayMark mark);

// The colour of a subject's cards: evenly spread hues, soft enough to read dark text on.
QColor subjectColour(int subjectIndex);

}  // namespace quort
