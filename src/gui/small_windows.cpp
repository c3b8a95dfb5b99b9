#include "gui/small_windows.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace quort {

ProgressWindow::ProgressWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_message(new QLabel(this)) {
  setWindowTitle(QStringLiteral("QUORT-Plan"));
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(QStringLiteral("Abbruch -> Taste dr\u00FCcken"), this);
  hint->setFont(font);
  hint->setAlignment(Qt::AlignCenter);
  m_message->setFont(font);
  m_message->setAlignment(Qt::AlignCenter);
  m_message->setMinimumWidth(320);
  m_message->setStyleSheet(QStringLiteral("QLabel { background: #fdf6e3; border: 1px solid #c9b98a; padding: 6px; }"));
  layout->addWidget(hint);
  layout->addWidget(m_message);
  qApp->installEventFilter(this);
}

ProgressWindow::~ProgressWindow() { qApp->removeEventFilter(this); }

void ProgressWindow::showMessage(const std::string& text) { m_message->setText(displayText(text)); }

bool ProgressWindow::takeKeyPress() {
  QApplication::processEvents();
  const bool pressed = m_keyPressed;
  m_keyPressed = false;
  return pressed;
}

bool ProgressWindow::eventFilter(QObject* watched, QEvent* event) {
  if (m_listening && event->type() == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
    m_keyPressed = true;
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

ListChoiceDialog::ListChoiceDialog(const ListChoiceRequest& request, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
  setWindowTitle(toQString(request.title));
  m_list->setFont(fixedFont());
  m_list->setViewMode(QListView::ListMode);
  m_list->setFlow(QListView::LeftToRight);
  m_list->setWrapping(true);
  m_list->setResizeMode(QListView::Adjust);
  m_list->setUniformItemSizes(true);
  const QFontMetrics metrics(m_list->font());
  m_list->setGridSize(QSize(metrics.horizontalAdvance(QStringLiteral("MMMMM")) + 8, metrics.height() + 10));
  for (const std::string& entry : request.entries) {
    auto* item = new QListWidgetItem(toQString(entry), m_list);
    item->setTextAlignment(Qt::AlignCenter);
  }
  if (request.current >= 0 && request.current < m_list->count()) m_list->setCurrentRow(request.current);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_list);
  connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    m_chosen = m_list->row(item);
    accept();
  });
  connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    m_chosen = m_list->row(item);
    accept();
  });
  const int perRow = 10;
  resize(m_list->gridSize().width() * perRow + 40,
         std::min(420, m_list->gridSize().height() * ((m_list->count() + perRow - 1) / perRow) + 40));
}

}  // namespace quort
