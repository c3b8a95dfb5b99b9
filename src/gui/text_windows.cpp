#include "gui/text_windows.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "workspace/text_editor_session.h"
#include "workspace/ui.h"

namespace quort {

namespace {

QPushButton* addButton(QHBoxLayout* row, QWidget* parent, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace

TextViewerDialog::TextViewerDialog(const std::string& title, const std::string& text, std::function<void()> print,
                                   QWidget* parent)
    : QDialog(parent), m_text(new QPlainTextEdit(displayText(text), this)) {
  setWindowTitle(toQString(title));
  m_text->setReadOnly(true);
  m_text->setFont(fixedFont());
  m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_text);
  auto* row = new QHBoxLayout;
  row->addStretch();
  connect(addButton(row, this, QStringLiteral("Drucken")), &QPushButton::clicked, this, std::move(print));
  connect(addButton(row, this, QStringLiteral("Ende")), &QPushButton::clicked, this, &QDialog::close);
  layout->addLayout(row);
  const int columns = 84;
  resize(QFontMetrics(m_text->font()).horizontalAdvance(QLatin1Char('M')) * columns + 60, 560);
}

TextEditorDialog::TextEditorDialog(TextEditorSession& session, QWidget* parent)
    : QDialog(parent), m_session(session), m_files(new QComboBox(this)), m_editor(new QPlainTextEdit(this)) {
  for (const TextEditorEntry& entry : session.entries()) m_files->addItem(toQString(entry.caption));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Dateipfad:"), m_files);
  layout->addLayout(form);
  m_editor->setFont(fixedFont());
  m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  layout->addWidget(m_editor);
  auto* row = new QHBoxLayout;
  connect(addButton(row, this, QStringLiteral("\u00D6ffnen")), &QPushButton::clicked, this,
          &TextEditorDialog::openChosen);
  connect(addButton(row, this, QStringLiteral("Speichern")), &QPushButton::clicked, this, &TextEditorDialog::saveText);
  connect(addButton(row, this, QStringLiteral("Drucken")), &QPushButton::clicked, this,
          [this] { m_session.print(fromQString(m_editor->toPlainText())); });
  row->addStretch();
  connect(addButton(row, this, QStringLiteral("Ende")), &QPushButton::clicked, this, &TextEditorDialog::reject);
  layout->addLayout(row);
  connect(m_files, &QComboBox::currentIndexChanged, this, &TextEditorDialog::entryChanged);
  connect(m_editor, &QPlainTextEdit::textChanged, this, &TextEditorDialog::textChanged);
  entryChanged(0);
  resize(720, 520);
}

void TextEditorDialog::entryChanged(int index) {
  setWindowTitle(toQString(m_session.title(static_cast<size_t>(std::max(index, 0)))));
}

void TextEditorDialog::openChosen() {
  if (!m_session.mayClose(m_editor->document()->isModified())) return;
  std::string text;
  m_session.open(static_cast<size_t>(std::max(m_files->currentIndex(), 0)), m_fileName, text);
  const QSignalBlocker blocker(m_editor);
  m_editor->setPlainText(displayText(text));
  m_lastFitting = m_editor->toPlainText();
  m_editor->document()->setModified(false);
  if (!m_fileName.empty()) setWindowTitle(toQString(std::string(kProgramTitle) + " - " + m_fileName));
}

void TextEditorDialog::saveText() {
  std::string name = m_fileName;
  if (name.empty()) {
    const auto& entries = m_session.entries();
    const auto index = static_cast<size_t>(std::max(m_files->currentIndex(), 0));
    if (index < entries.size()) name = entries[index].fileName;
  }
  if (m_session.save(name, fromQString(m_editor->toPlainText()))) {
    m_fileName = name;
    m_editor->document()->setModified(false);
  }
}

// The field holds a limited amount of text; what would overflow it is taken back.
void TextEditorDialog::textChanged() {
  const QString text = m_editor->toPlainText();
  if (m_session.fits(fromQString(text))) {
    m_lastFitting = text;
    return;
  }
  const QSignalBlocker blocker(m_editor);
  m_editor->setPlainText(m_lastFitting);
  m_editor->moveCursor(QTextCursor::End);
  m_editor->document()->setModified(true);
}

void TextEditorDialog::reject() {
  if (m_session.mayClose(m_editor->document()->isModified())) QDialog::reject();
}

}  // namespace quort
