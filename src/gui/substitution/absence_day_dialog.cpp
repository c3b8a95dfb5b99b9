#include "gui/substitution/absence_day_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace quort {

namespace {

const char* const kDayButtons[] = {"Speichern", "Hinzuf\xFCgen", "Stornieren", "L\xF6schen", "Auswerten", "Abbruch"};

QComboBox* codeBox(const std::vector<std::string>& codes, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->addItem(QString());
  for (const std::string& code : codes) box->addItem(toQString(code));
  return box;
}

}  // namespace

AbsenceDayDialog::AbsenceDayDialog(AbsenceDaySession& session, QWidget* parent) : QDialog(parent), m_session(session) {
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(buildDateRow());
  auto* absence = new QGroupBox(QStringLiteral("Fehlstunden"), this);
  auto* absenceLayout = new QVBoxLayout(absence);
  absenceLayout->addWidget(buildWhoRow());
  absenceLayout->addWidget(buildPeriodRow());
  layout->addWidget(absence);
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("absenceList"));
  m_list->setFont(fixedFont());
  m_list->setMinimumHeight(140);
  connect(m_list, &QListWidget::itemClicked, this, &AbsenceDayDialog::itemPicked);
  layout->addWidget(m_list, 1);
  layout->addWidget(buildButtons());
  showSession();
}

QWidget* AbsenceDayDialog::buildDateRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  m_date = new QLineEdit(row);
  m_date->setObjectName(QStringLiteral("dateField"));
  m_date->setMaximumWidth(110);
  m_dateBar = new QScrollBar(Qt::Vertical, row);
  m_dateBar->setRange(0, 2);
  m_dateBar->setValue(1);
  m_dateBar->setPageStep(1);
  m_dateBar->setFixedHeight(m_date->sizeHint().height() + 8);
  // One step up is the next school day, as in the date prompt; the thumb stays in the middle.
  connect(m_dateBar, &QScrollBar::actionTriggered, this, [this](int action) {
    if (action == QAbstractSlider::SliderSingleStepSub || action == QAbstractSlider::SliderPageStepSub) stepDate(1);
    if (action == QAbstractSlider::SliderSingleStepAdd || action == QAbstractSlider::SliderPageStepAdd) stepDate(-1);
    m_dateBar->setSliderPosition(1);
  });
  connect(m_date, &QLineEdit::editingFinished, this, [this] {
    if (fromQString(m_date->text()) != m_session.fields().date) {
      m_session.setDate(fromQString(m_date->text()), m_read->isChecked());
      showSession();
    }
  });
  m_week = new QLabel(row);
  auto* tomorrow = new QPushButton(QStringLiteral("morgen"), row);
  connect(tomorrow, &QPushButton::clicked, this, [this] { stepDate(1); });
  m_until = new QLineEdit(row);
  m_until->setObjectName(QStringLiteral("untilField"));
  m_until->setMaximumWidth(110);
  m_read = new QCheckBox(QStringLiteral("Vertretungen einlesen"), row);
  layout->addWidget(new QLabel(QStringLiteral("Datum (TT.MM.JJJJ):"), row));
  layout->addWidget(m_date);
  layout->addWidget(m_dateBar);
  layout->addWidget(m_week);
  layout->addWidget(tomorrow);
  layout->addWidget(new QLabel(QStringLiteral("bis:"), row));
  layout->addWidget(m_until);
  layout->addWidget(m_read);
  layout->addStretch();
  return row;
}

QWidget* AbsenceDayDialog::buildWhoRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  m_teacher = codeBox(m_session.teacherCodes(), row);
  m_class = codeBox(m_session.classCodes(), row);
  m_room = codeBox(m_session.roomCodes(), row);
  m_teacher->setObjectName(QStringLiteral("teacherBox"));
  m_class->setObjectName(QStringLiteral("classBox"));
  m_room->setObjectName(QStringLiteral("roomBox"));
  for (QComboBox* box : {m_teacher, m_class, m_room}) {
    connect(box, &QComboBox::activated, this, [this, box] { chooseWho(box); });
  }
  layout->addWidget(new QLabel(QStringLiteral("Lehrer:"), row));
  layout->addWidget(m_teacher);
  layout->addWidget(new QLabel(QStringLiteral("Klasse:"), row));
  layout->addWidget(m_class);
  layout->addWidget(new QLabel(QStringLiteral("Raum:"), row));
  layout->addWidget(m_room);
  layout->addStretch();
  return row;
}

QWidget* AbsenceDayDialog::buildPeriodRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  m_first = new QLineEdit(row);
  m_last = new QLineEdit(row);
  m_reason = new QLineEdit(row);
  m_first->setObjectName(QStringLiteral("firstField"));
  m_last->setObjectName(QStringLiteral("lastField"));
  m_reason->setObjectName(QStringLiteral("reasonField"));
  m_first->setMaximumWidth(40);
  m_last->setMaximumWidth(40);
  m_count = new QCheckBox(row);
  m_count->setObjectName(QStringLiteral("countBox"));
  m_count->setLayoutDirection(Qt::RightToLeft);
  layout->addWidget(new QLabel(QStringLiteral("von:"), row));
  layout->addWidget(m_first);
  layout->addWidget(new QLabel(QStringLiteral("bis:"), row));
  layout->addWidget(m_last);
  layout->addWidget(new QLabel(QStringLiteral("Grund:"), row));
  layout->addWidget(m_reason, 1);
  layout->addWidget(m_count);
  return row;
}

QWidget* AbsenceDayDialog::buildButtons() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  for (size_t i = 0; i < std::size(kDayButtons); ++i) {
    auto* button = new QPushButton(toQString(kDayButtons[i]), row);
    button->setAutoDefault(false);
    const auto action = static_cast<AbsenceDaySession::Action>(i);
    connect(button, &QPushButton::clicked, this, [this, action] { act(action); });
    layout->addWidget(button);
  }
  if (m_session.offersExams()) {
    layout->addSpacing(12);
    layout->addWidget(new QLabel(QStringLiteral("Klausuren:"), row));
    for (const auto& [caption, action] : {std::pair{"einlesen", AbsenceDaySession::Action::ReadExams},
                                          std::pair{"vorgeben", AbsenceDaySession::Action::TakeOverExams}}) {
      auto* button = new QPushButton(QString::fromLatin1(caption), row);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, action] { act(action); });
      layout->addWidget(button);
    }
  }
  return row;
}

QPushButton* AbsenceDayDialog::button(const QString& caption) const {
  for (QPushButton* b : findChildren<QPushButton*>()) {
    if (b->text() == caption) return b;
  }
  return nullptr;
}

void AbsenceDayDialog::stepDate(int direction) {
  m_session.setDate(m_session.steppedDate(direction), m_read->isChecked());
  showSession();
}

// Only one of teacher, class and room names the absence; choosing one clears the others.
void AbsenceDayDialog::chooseWho(QComboBox* chosen) {
  for (QComboBox* box : {m_teacher, m_class, m_room}) {
    if (box != chosen) box->setCurrentIndex(0);
  }
  m_count->setText(toQString(m_session.countLabel(fromQString(chosen->currentText()))));
}

// A picked entry shows in the fields, so that "Löschen" names it.
void AbsenceDayDialog::itemPicked() {
  const QListWidgetItem* item = m_list->currentItem();
  if (item == nullptr) return;
  const AbsenceDaySession::Fields picked = m_session.fieldsOfItem(fromQString(item->text()));
  const QString who = toQString(picked.who);
  for (QComboBox* box : {m_teacher, m_class, m_room}) box->setCurrentIndex(std::max(0, box->findText(who)));
  // A grade prefix such as "10" names no single class; it shows in the class box as typed.
  if (m_teacher->currentIndex() == 0 && m_class->currentIndex() == 0 && m_room->currentIndex() == 0) {
    m_class->setEditable(true);
    m_class->setEditText(who);
  }
  m_first->setText(toQString(picked.firstPeriod));
  m_last->setText(toQString(picked.lastPeriod));
  m_reason->setText(toQString(picked.reason));
  m_count->setChecked(picked.countFlag);
  m_count->setText(toQString(m_session.countLabel(picked.who)));
}

AbsenceDaySession::Fields AbsenceDayDialog::fields() const {
  AbsenceDaySession::Fields fields;
  fields.date = fromQString(m_date->text());
  fields.until = fromQString(m_until->text());
  for (QComboBox* box : {m_teacher, m_class, m_room}) {
    if (!box->currentText().isEmpty()) fields.who = fromQString(box->currentText());
  }
  fields.firstPeriod = fromQString(m_first->text());
  fields.lastPeriod = fromQString(m_last->text());
  fields.reason = fromQString(m_reason->text());
  fields.readRegister = m_read->isChecked();
  fields.countFlag = m_count->isChecked();
  return fields;
}

void AbsenceDayDialog::act(AbsenceDaySession::Action action) {
  if (m_session.act(action, fields())) {
    accept();
    return;
  }
  showSession();
}

void AbsenceDayDialog::showSession() {
  const AbsenceDaySession::Fields& fields = m_session.fields();
  setWindowTitle(toQString(m_session.title()));
  m_date->setText(toQString(fields.date));
  m_week->setText(toQString(m_session.weekText()));
  {
    const QSignalBlocker blocker(m_read);
    m_read->setChecked(fields.readRegister);
  }
  if (m_count->text().isEmpty()) {
    m_count->setText(toQString(m_session.countLabel(fields.who)));
    m_count->setChecked(fields.countFlag);
  }
  m_list->clear();
  for (const std::string& item : m_session.absences()) m_list->addItem(toQString(item));
}

}  // namespace quort
