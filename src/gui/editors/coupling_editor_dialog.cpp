#include "gui/editors/coupling_editor_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/coupling_editing.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "shell/main_view_model.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::vector<std::string> suffixItems() {
  std::vector<std::string> items;
  for (char c = '1'; c <= '9'; ++c) items.emplace_back(1, c);
  for (char c = 'a'; c <= 'f'; ++c) items.emplace_back(1, c);
  return items;
}

QString currentText(const QListWidget* list) {
  return list->currentItem() != nullptr ? list->currentItem()->text() : QString();
}

}  // namespace

CouplingEditorDialog::CouplingEditorDialog(Application& app, int coupling, QWidget* parent)
    : QDialog(parent), m_app(app) {
  Workspace& ws = app.workspace();
  setWindowTitle(QStringLiteral("Eingabe von Kopplung"));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  ws.shell.helpTopic = "TAVIN.hlp~koppchg";
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("Kopplung:"), this));
  m_number = new QLineEdit(this);
  m_number->setObjectName(QStringLiteral("number"));
  m_number->setMaximumWidth(60);
  top->addWidget(m_number);
  top->addWidget(new QLabel(QStringLiteral("Kurse:"), this));
  m_courses = new QLineEdit(this);
  m_courses->setObjectName(QStringLiteral("courses"));
  m_courses->setFont(fixedFont());
  connect(m_courses, &QLineEdit::textEdited, this, [this] { setCourses(courses()); });
  top->addWidget(m_courses, 1);
  layout->addLayout(top);

  auto* middle = new QHBoxLayout;
  m_courseList = new QListWidget(this);
  m_courseList->setObjectName(QStringLiteral("courseList"));
  m_courseList->setFont(fixedFont());
  connect(m_courseList, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { m_course->setText(item->text()); });
  middle->addWidget(m_courseList, 2);
  const auto addPick = [&](const QString& name, const std::vector<std::string>& items) {
    auto* column = new QVBoxLayout;
    column->addWidget(new QLabel(name + QStringLiteral(":"), this));
    auto* list = new QListWidget(this);
    list->setObjectName(QStringLiteral("pick") + name);
    list->setFont(fixedFont());
    for (const std::string& item : items) list->addItem(toQString(item));
    connect(list, &QListWidget::itemClicked, this, [this] { composeCourse(); });
    m_pickLists.push_back(list);
    column->addWidget(list);
    middle->addLayout(column, 1);
  };
  addPick(QStringLiteral("Klasse"), entityCodes(ws, PlanEntity::Class));
  addPick(QStringLiteral("Lehrer"), entityCodes(ws, PlanEntity::Teacher));
  addPick(QStringLiteral("Fach"), entityCodes(ws, PlanEntity::Subject));
  addPick(QStringLiteral("Zusatz"), suffixItems());
  layout->addLayout(middle, 1);

  auto* courseRow = new QHBoxLayout;
  courseRow->addWidget(new QLabel(QStringLiteral("Kurs:"), this));
  m_course = new QLineEdit(this);
  m_course->setObjectName(QStringLiteral("course"));
  m_course->setFont(fixedFont());
  courseRow->addWidget(m_course, 1);
  const auto addButton = [&](QHBoxLayout* row, const QString& prefix, const QString& caption, auto action) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(prefix + caption);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, action);
    row->addWidget(button);
  };
  for (const QString& caption : {QStringLiteral("Hinzuf\u00FCgen"), QStringLiteral("Ersetzen"),
                                 QStringLiteral("Entfernen"), QStringLiteral("L\u00F6schen")}) {
    addButton(courseRow, QStringLiteral("course"), caption, [this, caption] { courseAction(caption); });
  }
  layout->addLayout(courseRow);

  auto* copyRow = new QHBoxLayout;
  copyRow->addWidget(new QLabel(QStringLiteral("Kurse kopieren aus Kopplung:"), this));
  m_copyFrom = new QComboBox(this);
  m_copyFrom->setObjectName(QStringLiteral("copyFrom"));
  m_copyFrom->addItem(QString());
  for (int k = 1; k <= ws.plan.nCouplings(); ++k) m_copyFrom->addItem(QString::number(k));
  connect(m_copyFrom, &QComboBox::activated, this, [this](int index) {
    if (index > 0) copyFrom(m_copyFrom->itemText(index).toInt());
    m_copyFrom->setCurrentIndex(0);
  });
  copyRow->addWidget(m_copyFrom);
  copyRow->addStretch();
  layout->addLayout(copyRow);

  auto* couplingRow = new QHBoxLayout;
  for (const QString& caption :
       {QStringLiteral("Hinzuf\u00FCgen"), QStringLiteral("Ersetzen"), QStringLiteral("L\u00F6schen")}) {
    addButton(couplingRow, QStringLiteral("coupling"), caption, [this, caption] { couplingAction(caption); });
  }
  addButton(couplingRow, QString(), QStringLiteral("Kopplung w\u00E4hlen"),
            [this] { emit commandRequested(QStringLiteral("S:")); });
  addButton(couplingRow, QString(), QStringLiteral("Hilfen"), [this] { ShowHelp(m_app.workspace(), m_app.ui()); });
  addButton(couplingRow, QString(), QStringLiteral("Ende"), [this] { close(); });
  layout->addLayout(couplingRow);
  resize(820, 520);
  showCoupling(coupling);
}

CouplingEditorDialog::~CouplingEditorDialog() { m_app.workspace().shell.helpTopic = "TAVIN.hlp~menu"; }

QListWidget* CouplingEditorDialog::pickList(const QString& name) const {
  for (QListWidget* list : m_pickLists) {
    if (list->objectName() == QStringLiteral("pick") + name) return list;
  }
  return nullptr;
}

QPushButton* CouplingEditorDialog::button(const QString& name) const { return findChild<QPushButton*>(name); }

void CouplingEditorDialog::showCoupling(int coupling) {
  const Workspace& ws = m_app.workspace();
  const bool exists = coupling >= 1 && coupling <= ws.plan.nCouplings();
  m_number->setText(QString::number(exists ? coupling : ws.plan.nCouplings() + 1));
  const QString text = exists ? toQString(couplingText(ws, coupling)) : QString();
  setCourses(text.section(QLatin1Char(':'), 1).split(QLatin1Char(','), Qt::SkipEmptyParts));
}

QStringList CouplingEditorDialog::courses() const {
  QStringList list;
  for (const QString& course : m_courses->text().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    if (!course.trimmed().isEmpty()) list << course.trimmed();
  }
  return list;
}

void CouplingEditorDialog::setCourses(const QStringList& list) {
  QStringList trimmed;
  for (const QString& course : list) {
    if (!course.trimmed().isEmpty()) trimmed << course.trimmed();
  }
  if (m_courses->text().split(QLatin1Char(','), Qt::SkipEmptyParts).join(QLatin1Char(',')) !=
      trimmed.join(QLatin1Char(','))) {
    m_courses->setText(trimmed.isEmpty() ? QString() : trimmed.join(QLatin1Char(',')) + QLatin1Char(','));
  }
  m_courseList->clear();
  m_courseList->addItems(trimmed);
}

// Class, teacher, subject and suffix as picked so far make the course in the "Kurs:" field.
void CouplingEditorDialog::composeCourse() {
  const QString subject = currentText(pickList(QStringLiteral("Fach")));
  const QString suffix = currentText(pickList(QStringLiteral("Zusatz")));
  m_course->setText(currentText(pickList(QStringLiteral("Klasse"))) + QLatin1Char(' ') +
                    currentText(pickList(QStringLiteral("Lehrer"))) + QLatin1Char(' ') + subject + suffix);
}

void CouplingEditorDialog::courseAction(const QString& caption) {
  QStringList list = courses();
  const int row = m_courseList->currentRow();
  const QString course = m_course->text().trimmed();
  if (caption == QStringLiteral("Hinzuf\u00FCgen") && !course.isEmpty()) list << course;
  if (caption == QStringLiteral("Ersetzen") && !course.isEmpty() && row >= 0 && row < list.size()) list[row] = course;
  if (caption == QStringLiteral("Entfernen") && row >= 0 && row < list.size()) list.removeAt(row);
  if (caption == QStringLiteral("L\u00F6schen")) list.clear();
  setCourses(list);
  m_course->clear();
}

void CouplingEditorDialog::couplingAction(const QString& caption) {
  Workspace& ws = m_app.workspace();
  const int number = m_number->text().trimmed().toInt();
  const std::string text = fromQString(m_courses->text());
  bool done = false;
  if (caption == QStringLiteral("Hinzuf\u00FCgen")) {
    const int added = addCoupling(ws, m_app.ui(), text);
    done = added > 0;
    if (done) m_number->setText(QString::number(added));
  } else if (caption == QStringLiteral("Ersetzen")) {
    done = replaceCoupling(ws, m_app.ui(), number, text);
  } else {
    done = deleteCouplings(ws, m_app.ui(), number) > 0;
    if (done) showCoupling(number);
  }
  if (!done) return;
  emit changed();
  emit commandRequested(QStringLiteral("S:"));
}

void CouplingEditorDialog::copyFrom(int source) {
  const auto text = copyCoursesFrom(m_app.workspace(), m_app.ui(), source);
  if (text) setCourses(toQString(*text).split(QLatin1Char(','), Qt::SkipEmptyParts));
}

}  // namespace quort
