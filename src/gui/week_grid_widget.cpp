#include "gui/week_grid_widget.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <iterator>

#include "gui/qt_text.h"

namespace quort {

namespace {

constexpr int kMargin = 10;
constexpr int kHeaderHeight = 46;
constexpr int kDayHeaderHeight = 28;
constexpr int kGap = 3;
constexpr int kMinRowHeight = 40;
constexpr int kMinColumnWidth = 92;

const QColor kInk(0x26, 0x32, 0x38);
const QColor kMutedInk(0x60, 0x6d, 0x75);
const QColor kHeaderFill(0x37, 0x47, 0x4f);
const QColor kEmptyFill(0xf5, 0xf7, 0xf9);
const QColor kEmptyAfternoonFill(0xee, 0xf1, 0xf5);
const QColor kEmptyBorder(0xdd, 0xe3, 0xe9);
const QColor kSelection(0x1e, 0x88, 0xe5);
// The substitution day: open lessons red, substitutions orange, absent teachers red hatched.
const QColor kUsableColour(0x2e, 0x7d, 0x32);
const QColor kRefusedColour(0xc6, 0x28, 0x28);
const QColor kOpenColour(0xd3, 0x2f, 0x2f);
const QColor kSubstitutedColour(0xef, 0x6c, 0x00);
const QColor kAbsentColour(0xc6, 0x28, 0x28);

QFont sized(QFont font, int pixels, bool bold) {
  font.setPixelSize(std::max(9, pixels));
  font.setBold(bold);
  return font;
}

}  // namespace

QString dayMarkText(GridCell::DayMark mark) {
  switch (mark) {
    case GridCell::DayMark::Substituted:
      return QStringLiteral("Vertr.");
    case GridCell::DayMark::Cancelled:
      return QStringLiteral("entf\u00E4llt");
    case GridCell::DayMark::Open:
      return QStringLiteral("offen");
    case GridCell::DayMark::Absent:
      return QStringLiteral("abwesend");
    case GridCell::DayMark::None:
      break;
  }
  return {};
}

QColor subjectColour(int subjectIndex) {
  if (subjectIndex <= 0) return QColor(0xe0, 0xe0, 0xe0);
  // Soft colours, neighbours far apart, none grey (grey means free or locked).
  static const QRgb palette[] = {0xAEC7E8, 0xFFCB8E, 0xA8E29A, 0xF6A6A4, 0xCDB8E0, 0xFFE38A, 0x9EDAE5, 0xF7B6D2,
                                 0xD6D98E, 0xB9C9F5, 0xF4C7A1, 0xB5E3C4, 0xE3B7EB, 0xC9E69A, 0xF2A7A7, 0xA7D8F0,
                                 0xE8D3A9, 0xBFE0DC, 0xD9C2A7, 0xC4D7F2, 0xF9D0C4, 0xD4E8B0, 0xC8C0F0, 0xF0D890};
  return QColor(palette[static_cast<size_t>(subjectIndex - 1) % std::size(palette)]);
}

WeekGridWidget::WeekGridWidget(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAcceptDrops(true);
}

void WeekGridWidget::setGrid(WeekGrid grid, Options options) {
  m_grid = std::move(grid);
  m_options = std::move(options);
  updateGeometry();
  update();
}

QSize WeekGridWidget::minimumSizeHint() const {
  const int rows = std::max(1, m_grid.rows());
  const int days = std::max(1, m_grid.days());
  return {2 * kMargin + 48 + days * kMinColumnWidth,
          2 * kMargin + kHeaderHeight + kDayHeaderHeight + rows * kMinRowHeight + 10};
}

QSize WeekGridWidget::sizeHint() const { return minimumSizeHint().expandedTo(QSize(860, 560)); }

WeekGridWidget::Geometry WeekGridWidget::geometry() const {
  Geometry g;
  const QRect area = rect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
  g.header = QRect(area.left(), area.top(), area.width(), kHeaderHeight);
  g.labelWidth = 48;
  g.left = area.left() + g.labelWidth;
  const int days = std::max(1, m_grid.days());
  const int rows = std::max(1, m_grid.rows());
  g.afternoonGap = m_grid.afternoonRow > 0 ? 10 : 0;
  g.columnWidth = std::max(kMinColumnWidth, (area.width() - g.labelWidth) / days);
  g.days = QRect(g.left, g.header.bottom() + 1, g.columnWidth * days, kDayHeaderHeight);
  g.top = g.days.bottom() + 1 + kGap;
  g.rowHeight = std::max(kMinRowHeight, (area.bottom() - g.top - g.afternoonGap) / rows);
  g.rowHeight = std::min(g.rowHeight, 96);
  return g;
}

QRect WeekGridWidget::cellRect(int row, int day) const {
  const Geometry g = geometry();
  const int y =
      g.top + row * g.rowHeight + (m_grid.afternoonRow > 0 && row >= m_grid.afternoonRow ? g.afternoonGap : 0);
  return QRect(g.left + day * g.columnWidth, y, g.columnWidth, g.rowHeight).adjusted(kGap, 0, 0, -kGap);
}

bool WeekGridWidget::cellAt(const QPoint& point, int& row, int& day) const {
  for (int r = 0; r < m_grid.rows(); ++r) {
    for (int d = 0; d < m_grid.days(); ++d) {
      if (cellRect(r, d).adjusted(-kGap, 0, 0, kGap).contains(point)) {
        row = r;
        day = d;
        return true;
      }
    }
  }
  return false;
}

void WeekGridWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), Qt::white);
  const Geometry g = geometry();
  paintHeader(painter, g);
  paintDayHeader(painter, g);
  paintRowLabels(painter, g);
  for (int row = 0; row < m_grid.rows(); ++row) {
    for (int day = 0; day < m_grid.days(); ++day) {
      const QRect cell = cellRect(row, day);
      paintCell(painter, cell, m_grid.at(row, day));
      paintFitMark(painter, cell, fitCode(row, day));
      if (row == m_options.selectedRow && day == m_options.selectedDay) {
        painter.setPen(QPen(kSelection, 2.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(cell).adjusted(1, 1, -1, -1), 5, 5);
      }
    }
  }
  if (!m_options.emptyHint.isEmpty()) {
    const QRect hint(g.left, g.top, g.columnWidth * std::max(1, m_grid.days()), 3 * g.rowHeight);
    painter.setPen(kMutedInk);
    painter.setFont(sized(font(), 15, false));
    painter.drawText(hint, Qt::AlignCenter | Qt::TextWordWrap, m_options.emptyHint);
  }
}

QString WeekGridWidget::fitCode(int row, int day) const {
  const size_t i = static_cast<size_t>(row * m_grid.days() + day);
  return row >= 0 && day >= 0 && i < m_options.fitCodes.size() ? m_options.fitCodes[i] : QString();
}

bool WeekGridWidget::movable(int row, int day) const {
  if (row < 0 || day < 0 || row >= m_grid.rows() || day >= m_grid.days()) return false;
  const GridCell& cell = m_grid.at(row, day);
  if (!cell.hasLesson() || cell.classLock) return false;
  const size_t i = static_cast<size_t>(row) * static_cast<size_t>(m_grid.days()) + static_cast<size_t>(day);
  return m_options.movable.empty() || (i < m_options.movable.size() && m_options.movable[i]);
}

QString WeekGridWidget::fitToolTip(int row, int day) const {
  const QString code = fitCode(row, day);
  if (code.isEmpty()) return {};
  if (code == QStringLiteral(".")) return QStringLiteral("Hier setzbar.");
  const size_t i = static_cast<size_t>(row * m_grid.days() + day);
  const QString reason = i < m_options.fitReasons.size() ? m_options.fitReasons[i] : QString();
  return QStringLiteral("Nicht setzbar (%1): %2").arg(code, reason);
}

// Usable cells get a green frame, refused ones a red wash with the refusal code in the
// corner, so the week reads at a glance while an entry is chosen.
void WeekGridWidget::paintFitMark(QPainter& painter, const QRect& rect, const QString& code) const {
  if (code.isEmpty()) return;
  const QRectF area = QRectF(rect).adjusted(2, 2, -2, -2);
  if (code == QStringLiteral(".")) {
    painter.setPen(QPen(kUsableColour, 2));
    painter.setBrush(QColor(kUsableColour.red(), kUsableColour.green(), kUsableColour.blue(), 40));
    painter.drawRoundedRect(area, 5, 5);
    return;
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(kRefusedColour.red(), kRefusedColour.green(), kRefusedColour.blue(), 45));
  painter.drawRoundedRect(area, 5, 5);
  painter.setPen(kRefusedColour);
  painter.setFont(sized(font(), 12, true));
  painter.drawText(area.adjusted(0, 0, -5, -3), Qt::AlignRight | Qt::AlignBottom, code);
}

bool WeekGridWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    int row = 0, day = 0;
    const QString tip = cellAt(help->pos(), row, day) ? fitToolTip(row, day) : QString();
    if (tip.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), tip, this);
    }
    return true;
  }
  return QWidget::event(event);
}

void WeekGridWidget::paintHeader(QPainter& painter, const Geometry& g) const {
  QRect area = g.header.adjusted(0, 0, 0, -8);
  painter.setPen(kInk);
  painter.setFont(sized(font(), 20, true));
  const QString title = toQString(m_grid.title);
  painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, title);
  const int titleWidth = QFontMetrics(painter.font()).horizontalAdvance(title);
  painter.setFont(sized(font(), 13, false));
  painter.setPen(kMutedInk);
  painter.drawText(area.adjusted(titleWidth + 14, 3, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   toQString(m_grid.subtitle));
  QString right = m_options.caption;
  if (!m_grid.title.empty()) {
    right += (right.isEmpty() ? QString() : QStringLiteral("  \u00B7  ")) +
             (m_grid.lessons == 1 ? QStringLiteral("1 Stunde") : QStringLiteral("%1 Stunden").arg(m_grid.lessons));
  }
  painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, right);
}

void WeekGridWidget::paintDayHeader(QPainter& painter, const Geometry& g) const {
  painter.setFont(sized(font(), 13, true));
  for (int day = 0; day < m_grid.days(); ++day) {
    const QRectF box = QRectF(g.left + day * g.columnWidth + kGap, g.days.top(), g.columnWidth - kGap, g.days.height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(kHeaderFill);
    painter.drawRoundedRect(box, 5, 5);
    painter.setPen(Qt::white);
    painter.drawText(box, Qt::AlignCenter, toQString(m_grid.dayNames[static_cast<size_t>(day)]));
  }
}

void WeekGridWidget::paintRowLabels(QPainter& painter, const Geometry& g) const {
  painter.setFont(sized(font(), 14, true));
  for (int row = 0; row < m_grid.rows(); ++row) {
    const QRect cell = cellRect(row, 0);
    const QRect label(g.left - g.labelWidth, cell.top(), g.labelWidth - 4, cell.height());
    painter.setPen(row == m_options.selectedRow ? kSelection : kMutedInk);
    painter.drawText(label, Qt::AlignCenter, toQString(m_grid.rowNames[static_cast<size_t>(row)]));
  }
  if (m_grid.afternoonRow > 0 && m_grid.afternoonRow < m_grid.rows()) {
    const int y = cellRect(m_grid.afternoonRow, 0).top() - g.afternoonGap / 2 - 1;
    painter.setPen(QPen(QColor(0xb0, 0xbe, 0xc5), 1, Qt::DashLine));
    painter.drawLine(g.left - g.labelWidth + 6, y, g.left + g.columnWidth * m_grid.days(), y);
  }
}

void WeekGridWidget::paintCell(QPainter& painter, const QRect& rect, const GridCell& cell) const {
  if (cell.dayMark == GridCell::DayMark::Absent) {
    paintLockedCell(painter, rect, QStringLiteral("abwesend"), kAbsentColour);
    return;
  }
  if (cell.classLock) {
    paintLockedCell(painter, rect, QStringLiteral("gesperrt"), QColor(0x90, 0xa4, 0xae));
    return;
  }
  if (cell.hasLesson()) {
    paintLessonCard(painter, rect, cell);
    return;
  }
  if (cell.lock > 0) {
    paintLockedCell(painter, rect, QStringLiteral("Sperre %1").arg(cell.lock), QColor(0xe5, 0x73, 0x73));
    return;
  }
  const int row = rect.top();  // the afternoon rows are a shade darker
  const bool afternoon = m_grid.afternoonRow > 0 && row >= cellRect(m_grid.afternoonRow, 0).top();
  painter.setPen(QPen(kEmptyBorder, 1));
  painter.setBrush(afternoon ? kEmptyAfternoonFill : kEmptyFill);
  painter.drawRoundedRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

void WeekGridWidget::paintLockedCell(QPainter& painter, const QRect& rect, const QString& text,
                                     const QColor& colour) const {
  const QRectF box = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(QPen(colour, 1));
  painter.setBrush(colour.lighter(185));
  painter.drawRoundedRect(box, 5, 5);
  painter.setBrush(QBrush(colour.lighter(130), Qt::BDiagPattern));
  painter.drawRoundedRect(box, 5, 5);
  painter.setPen(colour.darker(160));
  painter.setFont(sized(font(), 12, true));
  painter.drawText(box, Qt::AlignCenter, text);
}

void WeekGridWidget::paintLessonCard(QPainter& painter, const QRect& rect, const GridCell& cell) const {
  using Mark = GridCell::DayMark;
  // A lesson that does not take place keeps its place in the week, washed out.
  const QColor fill = cell.dayMark == Mark::Cancelled || cell.dayMark == Mark::Open
                          ? subjectColour(cell.subjectIndex).lighter(125)
                          : subjectColour(cell.subjectIndex);
  const QRectF box = QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5);
  painter.setPen(QPen(fill.darker(135), 1));
  painter.setBrush(fill);
  painter.drawRoundedRect(box, 5, 5);
  QPainterPath accent;
  accent.addRoundedRect(QRectF(box.left(), box.top(), 5, box.height()), 2.5, 2.5);
  painter.fillPath(accent, fill.darker(150));

  const int pad = 10;
  const QRect inner = rect.adjusted(pad, 3, -6, -3);
  const bool byNumber = m_options.showCouplingNumbers && cell.coupling > 0;
  const CardText text = cardText(cell);
  const int big = std::clamp(rect.height() * 36 / 100, 12, 20);
  painter.setPen(kInk);
  painter.setFont(sized(font(), big, true));
  painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop, text.main);
  painter.setFont(sized(font(), big - 4, false));
  painter.setPen(kInk);
  painter.drawText(inner, Qt::AlignLeft | Qt::AlignBottom, text.secondary);
  painter.setPen(kMutedInk);
  painter.drawText(inner, Qt::AlignRight | Qt::AlignBottom, text.room);

  if (cell.dayMark == Mark::Open || cell.dayMark == Mark::Substituted) {
    painter.setPen(QPen(cell.dayMark == Mark::Open ? kOpenColour : kSubstitutedColour, 3,
                        cell.dayMark == Mark::Open ? Qt::DashLine : Qt::SolidLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(box.adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
  }
  if (cell.dayMark == Mark::Cancelled) {
    painter.setPen(QPen(kMutedInk, 2));
    painter.drawLine(box.bottomLeft() + QPointF(6, -6), box.topRight() + QPointF(-6, 6));
  }

  QStringList tags;
  if (cell.dayMark != Mark::None) tags << dayMarkText(cell.dayMark);
  if (cell.coupling > 0 && !byNumber) tags << QStringLiteral("K%1").arg(cell.coupling);
  if (cell.fixed) tags << QStringLiteral("fix");
  if (cell.indexMark) tags << QStringLiteral("\u00B2");
  if (cell.lock > 0) tags << QStringLiteral("S%1").arg(cell.lock);
  if (tags.isEmpty()) return;
  painter.setFont(sized(font(), 10, true));
  const QString tagText = tags.join(QLatin1Char(' '));
  const QFontMetrics metrics(painter.font());
  const QRectF tag(inner.right() - metrics.horizontalAdvance(tagText) - 8, inner.top(),
                   metrics.horizontalAdvance(tagText) + 8, metrics.height() + 2);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 210));
  painter.drawRoundedRect(tag, 4, 4);
  painter.setPen(kInk);
  painter.drawText(tag, Qt::AlignCenter, tagText);
}

WeekGridWidget::CardText WeekGridWidget::cardText(const GridCell& cell) const {
  CardText text;
  const bool byNumber = m_options.showCouplingNumbers && cell.coupling > 0;
  text.main = byNumber ? QStringLiteral("K%1").arg(cell.coupling) : toQString(cell.subject);
  // Second line: who (the teacher in a class's week, the class elsewhere), as far as the
  // switches let codes show; the room at the right.
  const std::string teacher = m_options.showTeacher ? cell.teacher : std::string();
  const std::string classes = m_options.showClass ? cell.classes : std::string();
  const QString who = toQString(teacher.empty() ? classes : teacher);
  text.secondary = byNumber ? (toQString(cell.subject) + QStringLiteral("  ") + who).trimmed() : who;
  if (m_options.showRoom) text.room = toQString(cell.room);
  return text;
}

void WeekGridWidget::mousePressEvent(QMouseEvent* event) {
  int row = 0, day = 0;
  m_pressPoint = QPoint(-1, -1);
  if (event->button() == Qt::LeftButton && cellAt(event->position().toPoint(), row, day)) {
    m_pressPoint = event->position().toPoint();
    setFocus();
    emit cellSelected(row, day);
  }
}

// A lesson card dragged past the usual distance starts a drag that carries its cell.
void WeekGridWidget::mouseMoveEvent(QMouseEvent* event) {
  int row = 0, day = 0;
  if (!(event->buttons() & Qt::LeftButton) || m_pressPoint.x() < 0 ||
      (event->position().toPoint() - m_pressPoint).manhattanLength() < QApplication::startDragDistance() ||
      !cellAt(m_pressPoint, row, day) || !movable(row, day)) {
    return;
  }
  m_pressPoint = QPoint(-1, -1);
  auto* drag = new QDrag(this);
  drag->setMimeData(cellMimeData(row, day));
  emit lessonDragging(row, day, true);
  drag->exec(Qt::MoveAction);
  emit lessonDragging(row, day, false);
}

void WeekGridWidget::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data->hasFormat(QLatin1String(kEntryMimeType)) || data->hasFormat(QLatin1String(kCellMimeType))) {
    event->acceptProposedAction();
  }
}

void WeekGridWidget::dragMoveEvent(QDragMoveEvent* event) {
  int row = 0, day = 0;
  if (cellAt(event->position().toPoint(), row, day)) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void WeekGridWidget::dropEvent(QDropEvent* event) {
  int row = 0, day = 0;
  if (!cellAt(event->position().toPoint(), row, day)) return event->ignore();
  const QMimeData* data = event->mimeData();
  int fromRow = 0, fromDay = 0;
  if (cellOfMimeData(data, fromRow, fromDay)) {
    event->acceptProposedAction();
    emit lessonDropped(fromRow, fromDay, row, day);
  } else if (data->hasFormat(QLatin1String(kEntryMimeType))) {
    event->acceptProposedAction();
    emit entryDropped(QString::fromLatin1(data->data(QLatin1String(kEntryMimeType))).toInt(), row, day);
  }
}

QMimeData* cellMimeData(int row, int day) {
  auto* data = new QMimeData;
  data->setData(QLatin1String(kCellMimeType), QStringLiteral("%1,%2").arg(row).arg(day).toLatin1());
  return data;
}

bool cellOfMimeData(const QMimeData* data, int& row, int& day) {
  if (data == nullptr || !data->hasFormat(QLatin1String(kCellMimeType))) return false;
  const QStringList parts = QString::fromLatin1(data->data(QLatin1String(kCellMimeType))).split(QLatin1Char(','));
  if (parts.size() != 2) return false;
  row = parts[0].toInt();
  day = parts[1].toInt();
  return true;
}

void WeekGridWidget::keyPressEvent(QKeyEvent* event) {
  int row = std::max(0, m_options.selectedRow);
  int day = std::max(0, m_options.selectedDay);
  switch (event->key()) {
    case Qt::Key_Up:
      row = std::max(0, row - 1);
      break;
    case Qt::Key_Down:
      row = std::min(m_grid.rows() - 1, row + 1);
      break;
    case Qt::Key_Left:
      day = std::max(0, day - 1);
      break;
    case Qt::Key_Right:
      day = std::min(m_grid.days() - 1, day + 1);
      break;
    case Qt::Key_Insert:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit placeRequested(row, day);
      return;
    case Qt::Key_Delete:
      emit removeRequested(row, day);
      return;
    case Qt::Key_PageUp:
      emit entityStepRequested(-1);
      return;
    case Qt::Key_PageDown:
      emit entityStepRequested(1);
      return;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  emit cellSelected(row, day);
}

}  // namespace quort
