#include "gui/prompt_dialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "data/calendar.h"
#include "gui/qt_text.h"
#include "workspace/dialogs.h"

namespace quort {

namespace {

QDialogButtonBox* okCancel(QDialog* dialog, const QString& okText) {
  auto* buttons = new QDialogButtonBox(dialog);
  buttons->addButton(okText, QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("Abbruch"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace

TextPromptDialog::TextPromptDialog(const std::string& title, const std::string& text, QWidget* parent)
    : QDialog(parent), m_field(new QLineEdit(toQString(text), this)) {
  setWindowTitle(QStringLiteral("QUORT-Plan"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(displayText(title), this));
  layout->addWidget(m_field);
  layout->addWidget(okCancel(this, QStringLiteral("Ok")));
  m_field->selectAll();
  setMinimumWidth(320);
}

std::string TextPromptDialog::text() const { return fromQString(m_field->text()); }

DatePromptDialog::DatePromptDialog(const std::string& title, const std::string& date, QWidget* parent)
    : QDialog(parent), m_field(new QLineEdit(toQString(date), this)), m_scrollBar(new QScrollBar(Qt::Vertical, this)) {
  setWindowTitle(QStringLiteral("QUORT-Plan"));
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(displayText(title), this);
  QFont bold = heading->font();
  bold.setBold(true);
  heading->setFont(bold);
  layout->addWidget(heading);
  layout->addWidget(new QLabel(QStringLiteral("Datum (TT.MM.JJJJ):"), this));
  auto* row = new QHBoxLayout;
  m_field->setFont(fixedFont());
  m_field->setMaxLength(10);
  m_field->installEventFilter(this);
  m_scrollBar->setRange(0, 2);
  m_scrollBar->setValue(1);
  m_scrollBar->setPageStep(1);
  m_scrollBar->setFixedHeight(m_field->sizeHint().height() + 8);
  connect(m_scrollBar, &QScrollBar::actionTriggered, this, &DatePromptDialog::scrolled);
  row->addWidget(m_field);
  row->addWidget(m_scrollBar);
  layout->addLayout(row);
  layout->addWidget(okCancel(this, QStringLiteral("OK")));
  setMinimumWidth(300);
}

std::string DatePromptDialog::date() const { return fromQString(m_field->text().trimmed()); }

void DatePromptDialog::stepDays(int days) {
  std::string text = date();
  ShiftDate(text, days);
  m_field->setText(toQString(text));
}

// The bar has no position of its own: every step moves the date and the thumb goes back
// to the middle, so the user can scroll on for ever in both directions.
void DatePromptDialog::scrolled(int action) {
  switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
      stepDays(-1);
      break;
    case QAbstractSlider::SliderSingleStepSub:
      stepDays(1);
      break;
    case QAbstractSlider::SliderPageStepAdd:
      stepDays(-7);
      break;
    case QAbstractSlider::SliderPageStepSub:
      stepDays(7);
      break;
    default:
      break;
  }
  m_scrollBar->setSliderPosition(1);
}

bool DatePromptDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_field && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int days = key == Qt::Key_Up         ? 1
                     : key == Qt::Key_Down     ? -1
                     : key == Qt::Key_PageUp   ? 7
                     : key == Qt::Key_PageDown ? -7
                                               : 0;
    if (days != 0) {
      stepDays(days);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DatePromptDialog::accept() {
  const auto accepted = calendarDate(date());
  if (!accepted) {
    QApplication::beep();
    m_field->setFocus();
    m_field->selectAll();
    return;
  }
  m_field->setText(toQString(*accepted));
  QDialog::accept();
}

}  // namespace quort
