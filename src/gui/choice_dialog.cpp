#include "gui/choice_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "workspace/dialogs.h"

namespace quort {

ChoiceDialog::ChoiceDialog(const ChoiceBoxRequest& request, QWidget* parent) : QDialog(parent), m_request(request) {
  setWindowTitle(toQString(request.title));
  auto* layout = new QVBoxLayout(this);
  auto* prompt = new QLabel(displayText(request.prompt), this);
  QFont bold = prompt->font();
  bold.setBold(true);
  prompt->setFont(bold);
  layout->addWidget(prompt);
  if (request.helpButton) {
    m_helpButton = new QPushButton(QStringLiteral("Hilfen"), this);
    m_helpButton->setAutoDefault(false);
    connect(m_helpButton, &QPushButton::clicked, this, &ChoiceDialog::helpRequested);
    layout->addWidget(m_helpButton);
  }
  int number = 0;
  QLineEdit* previousField = nullptr;
  for (const ChoiceItem& item : request.items) {
    ++number;
    QWidget* row = nullptr;
    if (item.kind == ChoiceItem::Kind::CheckBox) {
      auto* box = new QCheckBox(toQString(item.label), this);
      box->setChecked(item.value == "1");
      row = box;
    } else if (item.kind == ChoiceItem::Kind::TextField) {
      auto* line = new QWidget(this);
      auto* form = new QFormLayout(line);
      form->setContentsMargins(0, 0, 0, 0);
      auto* field = new QLineEdit(toQString(item.value), line);
      field->setObjectName(QStringLiteral("field"));
      if (item.masked) field->setEchoMode(QLineEdit::Password);
      if (item.readOnly) {
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::NoFocus);
        field->setFrame(false);
      }
      if (item.follows && previousField != nullptr) {
        const auto follows = item.follows;
        connect(previousField, &QLineEdit::textChanged, field,
                [field, follows](const QString& text) { field->setText(toQString(follows(fromQString(text)))); });
      }
      previousField = field;
      form->addRow(toQString(item.label + ":"), field);
      if (!item.choices.empty()) addChoiceList(item, form, field);
      row = line;
    } else {
      auto* button = new QPushButton(toQString(item.label), this);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this, [this, number] {
        m_result = number;
        accept();
      });
      row = button;
    }
    m_rows.push_back(row);
    layout->addWidget(row);
    if (number == lastChoiceField(request)) addFieldButtons(layout);
  }
  // As wide as the longest of prompt and items.
  int widest = prompt->sizeHint().width();
  for (const QWidget* row : m_rows) widest = std::max(widest, row->sizeHint().width());
  setMinimumWidth(std::max(widest + 40, 260));
}

int ChoiceDialog::lastChoiceField(const ChoiceBoxRequest& request) {
  int last = 0;
  for (size_t i = 0; i < request.items.size(); ++i) {
    if (!request.items[i].choices.empty()) last = static_cast<int>(i) + 1;
  }
  return last;
}

// The list beside a text field: selecting in it makes the field the target of "Hinzufügen"
// and "Entfernen"; a double click adds the item at once.
void ChoiceDialog::addChoiceList(const ChoiceItem& item, QFormLayout* form, QLineEdit* field) {
  auto* list = new QListWidget(form->parentWidget());
  list->setObjectName(QStringLiteral("choices"));
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setMaximumHeight(90);
  for (const std::string& choice : item.choices) list->addItem(toQString(choice));
  form->addRow(QString(), list);
  connect(list, &QListWidget::itemSelectionChanged, this, [this, list, field] {
    m_targetList = list;
    m_targetField = field;
  });
  connect(list, &QListWidget::itemDoubleClicked, this, [field](QListWidgetItem* chosen) {
    field->setText(toQString(addFieldItems(fromQString(field->text()), {fromQString(chosen->text())})));
  });
}

void ChoiceDialog::addFieldButtons(QVBoxLayout* layout) {
  auto* row = new QWidget(this);
  auto* buttons = new QHBoxLayout(row);
  buttons->setContentsMargins(0, 0, 0, 0);
  auto* add = new QPushButton(QStringLiteral("Hinzuf\u00FCgen"), row);
  auto* remove = new QPushButton(QStringLiteral("Entfernen"), row);
  for (QPushButton* button : {add, remove}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  const auto apply = [this](bool adding) {
    if (m_targetList == nullptr || m_targetField == nullptr) return;
    std::vector<std::string> selected;
    for (const QListWidgetItem* chosen : m_targetList->selectedItems()) selected.push_back(fromQString(chosen->text()));
    const std::string field = fromQString(m_targetField->text());
    m_targetField->setText(toQString(adding ? addFieldItems(field, selected) : removeFieldItems(field, selected)));
  };
  connect(add, &QPushButton::clicked, this, [apply] { apply(true); });
  connect(remove, &QPushButton::clicked, this, [apply] { apply(false); });
  layout->addWidget(row);
}

QPushButton* ChoiceDialog::itemButton(int number) const {
  if (number < 1 || number > static_cast<int>(m_rows.size())) return nullptr;
  return qobject_cast<QPushButton*>(m_rows[static_cast<size_t>(number - 1)]);
}

QCheckBox* ChoiceDialog::checkBox(int number) const {
  if (number < 1 || number > static_cast<int>(m_rows.size())) return nullptr;
  return qobject_cast<QCheckBox*>(m_rows[static_cast<size_t>(number - 1)]);
}

QLineEdit* ChoiceDialog::textField(int number) const {
  if (number < 1 || number > static_cast<int>(m_rows.size())) return nullptr;
  return m_rows[static_cast<size_t>(number - 1)]->findChild<QLineEdit*>(QStringLiteral("field"));
}

ChoiceOutcome ChoiceDialog::outcome() const {
  ChoiceOutcome outcome;
  outcome.choiceResult = m_result;
  for (size_t i = 0; i < m_rows.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    if (const QCheckBox* box = checkBox(number)) outcome.choiceValues += box->isChecked() ? "1|" : "0|";
    if (const QLineEdit* field = textField(number)) outcome.choiceValues += fromQString(field->text()) + "|";
  }
  return outcome;
}

}  // namespace quort
