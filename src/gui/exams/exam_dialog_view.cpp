#include "gui/exams/exam_dialog_view.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"

namespace quort {

namespace {

const char* const kExamFieldLabels[] = {"R\xE4ume:", "Aufsicht:", "Raum\xE4nd.:", "Frei:"};

struct ExamButton {
  const char* caption;
  ExamDialogSession::Action action;
};
const ExamButton kExamButtons[] = {{"Auswerten", ExamDialogSession::Action::Evaluate},
                                   {"Speichern", ExamDialogSession::Action::Save},
                                   {"Abbruch", ExamDialogSession::Action::Close}};

}  // namespace

ExamDialogView::ExamDialogView(ExamDialogSession& session, QWidget* parent) : QDialog(parent), m_session(session) {
  setWindowTitle(toQString(session.title()));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(toQString(session.selectionLine()), this));
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(new QLabel(toQString(kExamFieldLabels[i]), this), 0, i);
    auto* edit = new QPlainTextEdit(this);
    edit->setObjectName(QStringLiteral("examField%1").arg(i));
    edit->setFont(fixedFont());
    edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    grid->addWidget(edit, 1, i);
    m_fields[static_cast<size_t>(i)] = edit;
  }
  layout->addLayout(grid, 1);
  m_extraWork = new QCheckBox(toQString(kExtraWorkBox), this);
  layout->addWidget(m_extraWork);
  auto* buttons = new QHBoxLayout;
  for (const ExamButton& entry : kExamButtons) {
    auto* button = new QPushButton(toQString(entry.caption), this);
    button->setAutoDefault(false);
    const ExamDialogSession::Action action = entry.action;
    connect(button, &QPushButton::clicked, this, [this, action] { act(action); });
    buttons->addWidget(button);
  }
  layout->addLayout(buttons);
  showSession();
  resize(980, 420);
}

QPushButton* ExamDialogView::button(const QString& caption) const {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

void ExamDialogView::showSession() {
  const ExamFields fields = m_session.fields();
  const std::string* texts[] = {&fields.rooms, &fields.supervisions, &fields.roomChanges, &fields.freed};
  for (size_t i = 0; i < 4; ++i) m_fields[i]->setPlainText(toQString(*texts[i]));
  m_extraWork->setChecked(m_session.countsExtraWork());
}

void ExamDialogView::act(ExamDialogSession::Action action) {
  const auto text = [this](size_t i) { return fromQString(m_fields[i]->toPlainText()); };
  m_session.setFields({text(0), text(1), text(2), text(3)});
  m_session.setCountsExtraWork(m_extraWork->isChecked());
  if (m_session.act(action)) {
    accept();
    return;
  }
  showSession();
}

}  // namespace quort
