#include "gui/editors/entity_list_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/base_data_editor.h"
#include "gui/qt_text.h"
#include "timetable/lesson_grid.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const QString kAdd = QStringLiteral("Hinzuf\u00FCgen");
const QString kInsert = QStringLiteral("Einf\u00FCgen");
const QString kReplace = QStringLiteral("Ersetzen");
const QString kDelete = QStringLiteral("L\u00F6schen");
const QString kEnd = QStringLiteral("Ende");
const QString kSort = QStringLiteral("Liste sortieren");
const QString kLockRoom = QStringLiteral("Raum sperren");
const QString kUnlockRoom = QStringLiteral("Raum entsperren");

// The kinds of the subject's "Art" field, from the table " DTH".
const char* const kSubjectKinds[] = {"1-stdg. > E", "2-stdg. > D", "3-stdg. > T"};

}  // namespace

EntityListDialog::EntityListDialog(BaseDataEditor& editor, EntityKind kind, QWidget* parent)
    : QDialog(parent), m_editor(editor), m_kind(kind) {
  setWindowTitle(toQString("Grunddatenaufnahme - " + entityListName(kind)));
  auto* layout = new QVBoxLayout(this);
  m_lines = new QListWidget(this);
  m_lines->setObjectName(QStringLiteral("lines"));
  m_lines->setFont(fixedFont());
  connect(m_lines, &QListWidget::currentRowChanged, this, [this] { showSelected(); });
  layout->addWidget(m_lines, 1);
  auto* form = new QFormLayout;
  std::vector<std::string> names{"K\xFCrzel:"};
  for (const std::string& name : entityFieldNames(kind)) names.push_back(name);
  for (size_t i = 0; i < names.size(); ++i) {
    if (kind == EntityKind::Subject && i == 3) {
      m_kindBox = new QComboBox(this);
      m_kindBox->setObjectName(QStringLiteral("kind"));
      for (const char* text : kSubjectKinds) m_kindBox->addItem(QString::fromLatin1(text));
      form->addRow(toQString(names[i]), m_kindBox);
      m_fields.push_back(nullptr);
      continue;
    }
    auto* field = new QLineEdit(this);
    field->setObjectName(QStringLiteral("field%1").arg(i));
    // New codes, and the field after them, cannot be taken in while the program runs.
    if (i <= 1) connect(field, &QLineEdit::textEdited, this, [this] { m_editor.noteCodeTyped(); });
    form->addRow(toQString(names[i]), field);
    m_fields.push_back(field);
  }
  layout->addLayout(form);
  auto* buttons = new QHBoxLayout;
  std::vector<QString> captions{kAdd, kInsert, kReplace, kDelete, kEnd, kSort};
  if (kind == EntityKind::Room) captions.push_back(kLockRoom);
  for (const QString& caption : captions) {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, button] { action(button->text()); });
    buttons->addWidget(button);
    if (caption == kLockRoom) m_lockButton = button;
  }
  layout->addLayout(buttons);
  resize(720, 520);
  refreshLines(0);
}

QPushButton* EntityListDialog::button(const QString& caption) const {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

int EntityListDialog::selectedIndex() const { return m_lines->currentRow() + 1; }

std::vector<std::string> EntityListDialog::fieldTexts() const {
  std::vector<std::string> texts;
  for (size_t i = 0; i < m_fields.size(); ++i) {
    if (m_fields[i] == nullptr) {
      texts.push_back(kSubjectKinds[std::max(0, m_kindBox->currentIndex())]);
    } else {
      texts.push_back(fromQString(m_fields[i]->text()));
    }
  }
  return texts;
}

void EntityListDialog::refreshLines(int select) {
  m_lines->clear();
  for (const std::string& line : entityLines(m_editor.workspace().base, m_kind)) m_lines->addItem(toQString(line));
  if (select > 0 && select <= m_lines->count()) m_lines->setCurrentRow(select - 1);
  updateLockButton();
}

void EntityListDialog::showSelected() {
  const int index = selectedIndex();
  const auto lines = entityLines(m_editor.workspace().base, m_kind);
  if (index < 1 || index > static_cast<int>(lines.size())) return;
  const EntityFields fields = splitEntityLine(m_kind, lines[static_cast<size_t>(index - 1)]);
  for (size_t i = 0; i < m_fields.size() && i < fields.size(); ++i) {
    if (m_fields[i] != nullptr) m_fields[i]->setText(toQString(fields[i]));
  }
  if (m_kindBox != nullptr && fields.size() > 3)
    m_kindBox->setCurrentIndex(fields[3] == "D" ? 1 : fields[3] == "T" ? 2 : 0);
  updateLockButton();
}

void EntityListDialog::updateLockButton() {
  if (m_lockButton == nullptr) return;
  m_lockButton->setText(roomLocked(m_editor.workspace().base, selectedIndex()) ? kUnlockRoom : kLockRoom);
}

void EntityListDialog::action(const QString& caption) {
  const int index = selectedIndex();
  if (caption == kAdd && m_editor.add(m_kind, fieldTexts())) {
    refreshLines(editableCount(m_editor.workspace().base, m_kind));
  } else if (caption == kInsert && m_editor.insert(m_kind, index, fieldTexts())) {
    refreshLines(index);
  } else if (caption == kReplace && m_editor.replace(m_kind, index, fieldTexts())) {
    refreshLines(index);
  } else if (caption == kDelete && m_editor.remove(m_kind, index)) {
    refreshLines(index);
  } else if (caption == kSort && m_editor.sort(m_kind)) {
    refreshLines(1);
  } else if ((caption == kLockRoom || caption == kUnlockRoom) && m_editor.toggleRoomLock(index)) {
    refreshLines(index);
  } else if (caption == kEnd) {
    accept();
  }
}

}  // namespace quort
