#include "gui/substitution/substitute_lesson_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace quort {

namespace {

const char* const kLessonDialogButtons[] = {"Setzen", "Frei", "Rekonstruieren", "L\xF6schen", "Abbruch"};

}  // namespace

SubstituteLessonDialog::SubstituteLessonDialog(SubstituteLessonSession& session, QWidget* parent)
    : QDialog(parent), m_session(session) {
  setWindowTitle(toQString(session.title()));
  auto* layout = new QVBoxLayout(this);
  auto* lists = new QHBoxLayout;
  m_teachers = addList(QStringLiteral("Lehrer:"), session.teacherLines(), 0, lists);
  m_rooms = addList(QStringLiteral("Raum:"), session.roomLines(), session.initialRoom(), lists);
  m_subjects = addList(QStringLiteral("Fach:"), session.subjectLines(), session.initialSubject(), lists);
  m_teachers->setObjectName(QStringLiteral("teacherList"));
  m_rooms->setObjectName(QStringLiteral("roomList"));
  m_subjects->setObjectName(QStringLiteral("subjectList"));
  m_teachers->setMinimumWidth(300);
  layout->addLayout(lists, 1);
  m_entry = new QLineEdit(toQString(session.initialEntry()), this);
  m_entry->setObjectName(QStringLiteral("entryField"));
  m_entry->setFont(fixedFont());
  layout->addWidget(m_entry);
  auto* buttons = new QHBoxLayout;
  for (size_t i = 0; i < std::size(kLessonDialogButtons); ++i) {
    auto* button = new QPushButton(toQString(kLessonDialogButtons[i]), this);
    button->setAutoDefault(false);
    const auto action = static_cast<SubstituteLessonSession::Action>(i);
    connect(button, &QPushButton::clicked, this, [this, action] { act(action); });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  connect(m_teachers, &QListWidget::itemClicked, this, &SubstituteLessonDialog::teacherChosen);
  connect(m_teachers, &QListWidget::itemActivated, this, &SubstituteLessonDialog::teacherChosen);
  connect(m_rooms, &QListWidget::itemClicked, this, [this] {
    m_entry->setText(toQString(m_session.withRoom(fromQString(m_entry->text()), m_rooms->currentRow())));
  });
  connect(m_subjects, &QListWidget::itemClicked, this, [this] {
    m_entry->setText(toQString(m_session.withSubject(fromQString(m_entry->text()), m_subjects->currentRow())));
  });
  resize(760, 420);
}

QListWidget* SubstituteLessonDialog::addList(const QString& label, const std::vector<std::string>& lines, int current,
                                             QLayout* layout) {
  auto* column = new QVBoxLayout;
  column->addWidget(new QLabel(label, this));
  auto* list = new QListWidget(this);
  list->setFont(fixedFont());
  for (const std::string& line : lines) list->addItem(toQString(line));
  if (current >= 0 && current < list->count()) list->setCurrentRow(current);
  column->addWidget(list, 1);
  static_cast<QHBoxLayout*>(layout)->addLayout(column, label == QStringLiteral("Lehrer:") ? 3 : 1);
  return list;
}

QPushButton* SubstituteLessonDialog::button(const QString& caption) const {
  for (QPushButton* b : findChildren<QPushButton*>()) {
    if (b->text() == caption) return b;
  }
  return nullptr;
}

void SubstituteLessonDialog::teacherChosen() {
  m_entry->setText(
      toQString(m_session.entryFor(m_teachers->currentRow(), m_rooms->currentRow(), m_subjects->currentRow())));
}

void SubstituteLessonDialog::act(SubstituteLessonSession::Action action) {
  m_session.act(action, fromQString(m_entry->text()));
  accept();
}

}  // namespace quort
