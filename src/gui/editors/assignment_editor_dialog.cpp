#include "gui/editors/assignment_editor_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "data/plan_records.h"
#include "editors/assignment_entry.h"
#include "editors/code_lookup.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "shell/main_view_model.h"
#include "timetable/assignment_list.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr int kEntryRole = Qt::UserRole + 1;

std::vector<std::string> numbers(int from, int to) {
  std::vector<std::string> items;
  for (int n = from; n <= to; ++n) items.push_back(std::to_string(n));
  return items;
}

// A coupling as the pick list shows it: its number and its first five courses.
std::vector<std::string> couplingItems(const Workspace& ws) {
  std::vector<std::string> items;
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) {
    const std::string& members = ws.plan.couplings[static_cast<size_t>(k)];
    std::string text = std::to_string(k) + ":";
    for (size_t i = 0; i < recordCount(members, 4) && i < 5; ++i) {
      const CouplingMemberView member(members, i);
      text += " " + codeOf(ws.base, CodeList::Class, member.schoolClass()) + "/" +
              codeOf(ws.base, CodeList::Subject, member.subject());
    }
    items.push_back(text);
  }
  return items;
}

bool couplingHas(const Workspace& ws, int coupling, int teacher, int schoolClass) {
  if (coupling < 1 || coupling > ws.plan.nCouplings()) return false;
  const std::string& members = ws.plan.couplings[static_cast<size_t>(coupling)];
  for (size_t i = 0; i < recordCount(members, 4); ++i) {
    const CouplingMemberView member(members, i);
    if (member.teacher() == teacher || member.schoolClass() == schoolClass) return true;
  }
  return false;
}

}  // namespace

AssignmentEditorDialog::AssignmentEditorDialog(Application& app, int viewMode, QWidget* parent)
    : QDialog(parent),
      m_app(app),
      m_viewMode(viewMode),
      m_target(viewMode == 0 ? AssignmentTarget::Buffer : AssignmentTarget::Assignments) {
  Workspace& ws = app.workspace();
  setWindowTitle(QStringLiteral("Deputateingabe"));
  setModal(false);
  ws.shell.helpTopic = "TAVIN.hlp~deputat";
  auto* layout = new QVBoxLayout(this);
  m_entries = new QListWidget(this);
  m_entries->setObjectName(QStringLiteral("entries"));
  m_entries->setFont(fixedFont());
  connect(m_entries, &QListWidget::currentRowChanged, this, [this](int row) {
    const QListWidgetItem* item = row >= 0 ? m_entries->item(row) : nullptr;
    m_selected = item != nullptr ? item->data(kEntryRole).toInt() : 0;
  });
  layout->addWidget(m_entries, 1);

  auto* inputRow = new QHBoxLayout;
  inputRow->addWidget(new QLabel(QStringLiteral("Eingabe:"), this));
  m_input = new QLineEdit(this);
  m_input->setObjectName(QStringLiteral("input"));
  m_input->setFont(fixedFont());
  connect(m_input, &QLineEdit::returnPressed, this, &AssignmentEditorDialog::enterPressed);
  inputRow->addWidget(m_input, 1);
  layout->addLayout(inputRow);

  auto* picks = new QHBoxLayout;
  layout->addLayout(picks);
  const auto addPick = [&](const QString& name, const std::vector<std::string>& items) {
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(name + QStringLiteral(":"), this));
    column->addWidget(addPickList(name, items));
    picks->addLayout(column);
  };
  addPick(QStringLiteral("Lehrer"), entityCodes(ws, PlanEntity::Teacher));
  addPick(QStringLiteral("Fach"), entityCodes(ws, PlanEntity::Subject));
  addPick(QStringLiteral("Klasse"), entityCodes(ws, PlanEntity::Class));
  addPick(QStringLiteral("Kopplung"), couplingItems(ws));
  addPick(QStringLiteral("Stunden"), numbers(1, 9));
  addPick(QStringLiteral("Art"), {"E", "D", "T", "H", "L"});

  auto* copyRow = new QHBoxLayout;
  copyRow->addWidget(new QLabel(QStringLiteral("Deputat kopieren von Klasse:"), this));
  m_copyFrom = new QComboBox(this);
  m_copyFrom->setObjectName(QStringLiteral("copyFrom"));
  m_copyFrom->addItem(QString());
  for (const std::string& code : entityCodes(ws, PlanEntity::Class)) m_copyFrom->addItem(toQString(code));
  connect(m_copyFrom, &QComboBox::activated, this, [this](int index) {
    if (index > 0) copyFromClass(m_copyFrom->itemText(index));
    m_copyFrom->setCurrentIndex(0);
  });
  copyRow->addWidget(m_copyFrom);
  copyRow->addStretch();
  layout->addLayout(copyRow);

  auto* buttons = new QHBoxLayout;
  const auto addButton = [&](const QString& caption, auto action) {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, action);
    buttons->addWidget(button);
  };
  for (const QString& caption :
       {QStringLiteral("Hinzuf\u00FCgen"), QStringLiteral("Ersetzen"), QStringLiteral("Entfernen")}) {
    addButton(caption, [this, caption] { apply(caption); });
  }
  if (viewMode != 0) {
    const QString caption =
        viewMode == 1 ? QStringLiteral("Lehrer w\u00E4hlen >>") : QStringLiteral("Klasse w\u00E4hlen >>");
    addButton(caption, [this, caption] { emit commandRequested(QStringLiteral("H:") + caption.left(1)); });
  }
  addButton(QStringLiteral("Hilfen"), [this] { ShowHelp(m_app.workspace(), m_app.ui()); });
  addButton(QStringLiteral("Ende"), [this] { close(); });
  layout->addLayout(buttons);
  setAttribute(Qt::WA_DeleteOnClose);
  resize(760, 560);
  fillEntries();
}

AssignmentEditorDialog::~AssignmentEditorDialog() { m_app.workspace().shell.helpTopic = "TAVIN.hlp~menu"; }

QListWidget* AssignmentEditorDialog::addPickList(const QString& name, const std::vector<std::string>& items) {
  auto* list = new QListWidget(this);
  list->setObjectName(QStringLiteral("pick") + name);
  list->setFont(fixedFont());
  for (const std::string& item : items) list->addItem(toQString(item));
  connect(list, &QListWidget::itemClicked, this, [this, name](QListWidgetItem* item) { picked(name, item->text()); });
  m_pickLists.push_back(list);
  return list;
}

QListWidget* AssignmentEditorDialog::pickList(const QString& name) const {
  for (QListWidget* list : m_pickLists) {
    if (list->objectName() == QStringLiteral("pick") + name) return list;
  }
  return nullptr;
}

QPushButton* AssignmentEditorDialog::button(const QString& caption) const {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

void AssignmentEditorDialog::picked(const QString& name, const QString& text) {
  const std::string value = fromQString(text);
  if (name == QStringLiteral("Lehrer")) m_composer.setTeacher(value);
  if (name == QStringLiteral("Fach")) m_composer.setSubject(value);
  if (name == QStringLiteral("Klasse")) m_composer.setClass(value);
  if (name == QStringLiteral("Kopplung")) m_composer.setCoupling(text.section(QLatin1Char(':'), 0, 0).toInt());
  if (name == QStringLiteral("Stunden")) m_composer.setPeriods(text.toInt());
  if (name == QStringLiteral("Art") && !value.empty()) m_composer.setKind(value[0]);
  m_input->setText(toQString(m_composer.line()));
}

// The teacher view shows the teacher's entries and the couplings the teacher teaches in;
// the class view likewise; the buffer shows everything.
bool AssignmentEditorDialog::shows(int index) const {
  const Workspace& ws = m_app.workspace();
  if (m_viewMode == 0) return true;
  const AssignmentView view(assignmentList(ws.plan, m_target), static_cast<size_t>(index));
  const int teacher = m_viewMode == 1 ? ws.shell.currentTeacher : -1;
  const int schoolClass = m_viewMode == 1 ? -1 : ws.shell.currentClass;
  if (view.isCoupling()) return couplingHas(ws, view.couplingNumber(), teacher, schoolClass);
  return view.teacher() == teacher || view.schoolClass() == schoolClass;
}

void AssignmentEditorDialog::fillEntries() {
  const Workspace& ws = m_app.workspace();
  const std::string& list = assignmentList(ws.plan, m_target);
  const QString heading =
      m_viewMode == 0 ? QStringLiteral("Puffer")
      : m_viewMode == 1
          ? QStringLiteral("Lehrer ") + toQString(codeOf(ws.base, CodeList::Teacher, ws.shell.currentTeacher))
          : QStringLiteral("Klasse ") + toQString(codeOf(ws.base, CodeList::Class, ws.shell.currentClass));
  setWindowTitle(QStringLiteral("Deputateingabe - ") + heading);
  m_entries->clear();
  m_selected = 0;
  for (int i = 0; i < static_cast<int>(recordCount(list, 4)); ++i) {
    if (!shows(i)) continue;
    const std::string entry = list.substr(static_cast<size_t>(i) * 4, 4);
    std::string text = assignmentLongLine(ws.base, entry);
    if (AssignmentView(entry, 0).isCoupling())
      text += "   " + couplingMembersText(ws.base, ws.plan, AssignmentView(entry, 0).couplingNumber());
    auto* item = new QListWidgetItem(toQString(text), m_entries);
    item->setData(kEntryRole, i + 1);
  }
  m_entries->setCurrentRow(-1);
}

void AssignmentEditorDialog::apply(const QString& action) {
  Workspace& ws = m_app.workspace();
  if (action == QStringLiteral("Entfernen")) {
    if (removeAssignment(ws.plan, m_app.ui(), m_target, m_selected)) afterChange();
    return;
  }
  const auto entry = parseAssignmentLine(AssignmentParseContext{ws.base, ws.plan.nCouplings(), &m_app.ui()},
                                         fromQString(m_input->text()));
  if (!entry) return;
  if (action == QStringLiteral("Ersetzen")) {
    replaceAssignment(ws.plan, m_target, m_selected, *entry);
  } else {
    addAssignment(ws.plan, m_target, *entry);
  }
  afterChange();
}

// Enter replaces the selected entry or appends the line, like "Ersetzen".
void AssignmentEditorDialog::enterPressed() { apply(QStringLiteral("Ersetzen")); }

void AssignmentEditorDialog::copyFromClass(const QString& code) {
  Workspace& ws = m_app.workspace();
  const int source = lookupCode(ws.base, CodeList::Class, fromQString(code), &m_app.ui());
  if (source != 0 && copyAssignmentsFromClass(ws, m_app.ui(), m_target, source, ws.shell.currentClass) > 0) {
    afterChange();
  }
}

void AssignmentEditorDialog::afterChange() {
  m_input->clear();
  m_composer.clear();
  for (QListWidget* list : m_pickLists) list->setCurrentRow(-1);
  fillEntries();
  emit changed();
}

}  // namespace quort
