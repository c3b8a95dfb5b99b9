#include "gui/editors/schedule_dialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editors/base_data_editor.h"
#include "gui/qt_text.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

QPushButton* addButton(QDialog* dialog, QHBoxLayout* row, const QString& caption) {
  auto* button = new QPushButton(caption, dialog);
  button->setAutoDefault(false);
  row->addWidget(button);
  return button;
}

}  // namespace

DaysAndPeriodsDialog::DaysAndPeriodsDialog(BaseDataEditor& editor, QWidget* parent)
    : QDialog(parent), m_editor(editor) {
  setWindowTitle(QStringLiteral("QUORT-Plan - Stundenzahl"));
  const DaysAndPeriodsInput current = currentDaysAndPeriods(editor.workspace().base);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  const char* captions[] = {"Zahl der Tage:", "Stunden pro Tag:", "Mittagsanfang:"};
  const std::string values[] = {current.days, current.periods, current.afternoon};
  for (size_t i = 0; i < m_fields.size(); ++i) {
    m_fields[i] = new QLineEdit(toQString(values[i]), this);
    form->addRow(QString::fromLatin1(captions[i]), m_fields[i]);
  }
  m_alternation = new QCheckBox(this);
  m_alternation->setChecked(current.weekAlternation);
  form->addRow(QStringLiteral("Wochenwechsel:"), m_alternation);
  layout->addLayout(form);
  auto* row = new QHBoxLayout;
  connect(addButton(this, row, QStringLiteral("Anwenden")), &QPushButton::clicked, this, &DaysAndPeriodsDialog::apply);
  connect(addButton(this, row, QStringLiteral("Abbruch")), &QPushButton::clicked, this, &QDialog::reject);
  layout->addLayout(row);
}

void DaysAndPeriodsDialog::apply() {
  const DaysAndPeriodsInput input{fromQString(m_fields[0]->text()), fromQString(m_fields[1]->text()),
                                  fromQString(m_fields[2]->text()), m_alternation->isChecked()};
  if (m_editor.applyDaysAndPeriods(input)) accept();
}

PlanOptionsDialog::PlanOptionsDialog(BaseDataEditor& editor, QWidget* parent) : QDialog(parent), m_editor(editor) {
  setWindowTitle(QStringLiteral("QUORT-Plan - Planoptionen"));
  const PlanOptionFields current = currentPlanOptionFields(editor.workspace().base);
  auto* layout = new QVBoxLayout(this);
  auto* weights = new QGroupBox(QStringLiteral("Wichtungen (0-100):"), this);
  auto* others = new QGroupBox(QStringLiteral("Sonstiges:"), this);
  auto* weightForm = new QFormLayout(weights);
  auto* otherForm = new QFormLayout(others);
  for (size_t i = 0; i < m_fields.size(); ++i) {
    m_fields[i] = new QLineEdit(toQString(current[i]), this);
    m_fields[i]->setObjectName(QStringLiteral("option%1").arg(i + 1));
    (i < 7 ? weightForm : otherForm)->addRow(toQString(planOptionCaption(i)), m_fields[i]);
  }
  layout->addWidget(weights);
  layout->addWidget(others);
  auto* row = new QHBoxLayout;
  connect(addButton(this, row, QStringLiteral("Zur\u00FCcksetzen")), &QPushButton::clicked, this,
          &PlanOptionsDialog::reset);
  connect(addButton(this, row, QStringLiteral("Anwenden")), &QPushButton::clicked, this, &PlanOptionsDialog::apply);
  connect(addButton(this, row, QStringLiteral("Abbruch")), &QPushButton::clicked, this, &QDialog::reject);
  layout->addLayout(row);
}

void PlanOptionsDialog::apply() {
  PlanOptionFields fields;
  for (size_t i = 0; i < fields.size(); ++i) fields[i] = fromQString(m_fields[i]->text());
  if (m_editor.applyPlanOptions(fields)) accept();
}

void PlanOptionsDialog::reset() {
  m_editor.resetPlanOptions();
  accept();
}

}  // namespace quort
