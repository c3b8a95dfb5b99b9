#include "gui/editors/tool_panel_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/tool_panels.h"
#include "gui/qt_text.h"
#include "shell/application.h"
#include "shell/main_view_model.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const QString kAllClasses = QStringLiteral("Alle Klassen");
const QString kLowerSchool = QStringLiteral("Sek.I");
const QString kUpperSchool = QStringLiteral("Sek.II");
const QString kChooseClass = QStringLiteral("Klasse w\u00E4hlen >>");
const QString kChooseTeacher = QStringLiteral("Lehrer w\u00E4hlen >>");
const QString kChooseSubject = QStringLiteral("Fach w\u00E4hlen >>");
const QString kChooseRoom = QStringLiteral("Raum w\u00E4hlen >>");
const QString kFixAll = QStringLiteral("Bisher gesetzte Stunden");
const QString kPanelEnd = QStringLiteral("Ende");

}  // namespace

ToolPanelDialog::ToolPanelDialog(Application& app, QWidget* parent) : QDialog(parent), m_app(app) {
  const Workspace& ws = app.workspace();
  setWindowTitle(toQString(toolPanelTitle(ws)));
  setModal(false);
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(toQString(toolPanelTitle(ws)), this));
  switch (ws.panels.open) {
    case ToolPanelKind::TeacherLock:
      buildLockValues(kChooseTeacher);
      break;
    case ToolPanelKind::SubjectLock:
      buildLockValues(kChooseSubject);
      break;
    case ToolPanelKind::RoomLock:
      buildLockValues(kChooseRoom);
      break;
    case ToolPanelKind::ClassLock:
      buildClassLocks();
      break;
    case ToolPanelKind::Fix:
      buildFixing();
      break;
    case ToolPanelKind::Index:
    case ToolPanelKind::None:
      break;
  }
  auto* end = new QPushButton(kPanelEnd, this);
  end->setAutoDefault(false);
  connect(end, &QPushButton::clicked, this, &QDialog::close);
  layout->addWidget(end);
  // Closing the window closes the panel: clicks select slots again.
  connect(this, &QDialog::finished, this, [this] {
    if (!m_replaced) closeToolPanel(m_app.workspace());
  });
}

QPushButton* ToolPanelDialog::button(const QString& caption) const {
  for (QPushButton* button : findChildren<QPushButton*>()) {
    if (button->text() == caption) return button;
  }
  return nullptr;
}

void ToolPanelDialog::buildLockValues(const QString& chooser) {
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  layout->addWidget(new QLabel(QStringLiteral("H\u00F6he der Sperre"), this));
  m_values = new QListWidget(this);
  m_values->setObjectName(QStringLiteral("lockValues"));
  const int current = m_app.workspace().panels.lockValue;
  for (const int value : lockValueChoices()) {
    m_values->addItem(value == 0 ? QStringLiteral("0 (frei)") : QString::number(value));
    if (value == current) m_values->setCurrentRow(m_values->count() - 1);
  }
  connect(m_values, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) setLockValue(m_app.workspace(), m_app.ui(), lockValueChoices()[static_cast<size_t>(row)]);
  });
  layout->addWidget(m_values, 1);
  auto* choose = new QPushButton(chooser, this);
  choose->setAutoDefault(false);
  connect(choose, &QPushButton::clicked, this, [this, chooser] { action(chooser); });
  layout->addWidget(choose);
}

void ToolPanelDialog::buildClassLocks() {
  auto* layout = static_cast<QVBoxLayout*>(this->layout());
  m_classes = new QLineEdit(toQString(lockClassesText(m_app.workspace())), this);
  m_classes->setObjectName(QStringLiteral("lockClasses"));
  connect(m_classes, &QLineEdit::editingFinished, this, [this] {
    if (setLockClasses(m_app.workspace(), m_app.ui(), fromQString(m_classes->text()))) emit changed();
  });
  layout->addWidget(m_classes);
  auto* row = new QHBoxLayout;
  for (const QString& caption : {kAllClasses, kLowerSchool, kUpperSchool, kChooseClass}) {
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, caption] { action(caption); });
    row->addWidget(button);
  }
  layout->addLayout(row);
}

void ToolPanelDialog::buildFixing() {
  auto* button = new QPushButton(kFixAll, this);
  button->setAutoDefault(false);
  button->setCheckable(true);
  button->setChecked(m_app.workspace().panels.fixAllOn);
  connect(button, &QPushButton::clicked, this, [this] { action(kFixAll); });
  layout()->addWidget(button);
}

void ToolPanelDialog::action(const QString& caption) {
  Workspace& ws = m_app.workspace();
  if (caption == kAllClasses || caption == kLowerSchool || caption == kUpperSchool) {
    presetLockClasses(ws, caption == kAllClasses    ? ClassPreset::AllClasses
                          : caption == kLowerSchool ? ClassPreset::LowerSchool
                                                    : ClassPreset::UpperSchool);
    m_classes->setText(toQString(lockClassesText(ws)));
  } else if (caption == kChooseClass) {
    if (chooseAndSelectEntity(ws, m_app.ui(), PlanEntity::Class)) {
      const QString code =
          toQString(entityCodes(ws, PlanEntity::Class)[static_cast<size_t>(ws.shell.currentClass - 1)]);
      const QString text = m_classes->text().trimmed();
      m_classes->setText(text.isEmpty() ? code : code + QLatin1Char(',') + text);
      setLockClasses(ws, m_app.ui(), fromQString(m_classes->text()));
    }
  } else if (caption == kChooseTeacher) {
    chooseAndSelectEntity(ws, m_app.ui(), PlanEntity::Teacher);
  } else if (caption == kChooseSubject) {
    chooseAndSelectEntity(ws, m_app.ui(), PlanEntity::Subject);
  } else if (caption == kChooseRoom) {
    if (chooseAndSelectEntity(ws, m_app.ui(), PlanEntity::Room)) setWindowTitle(toQString(toolPanelTitle(ws)));
  } else if (caption == kFixAll) {
    toggleFixAllPlaced(ws);
  }
  emit changed();
}

}  // namespace quort
