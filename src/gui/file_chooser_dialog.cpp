#include "gui/file_chooser_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "workspace/ui.h"

namespace quort {

FileChooserDialog::FileChooserDialog(FileChooserModel& model, Ui& ui, QWidget* parent)
    : QDialog(parent),
      m_model(model),
      m_ui(ui),
      m_entries(new QListWidget(this)),
      m_drives(new QListWidget(this)),
      m_path(new QLabel(this)),
      m_name(new QLineEdit(toQString(model.initialName()), this)) {
  setWindowTitle(toQString(model.request().title.empty() ? std::string(kProgramTitle) : model.request().title));
  auto* layout = new QGridLayout(this);
  m_entries->setFont(fixedFont());
  m_drives->setFont(fixedFont());
  m_path->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(new QLabel(QStringLiteral("Dateiname:"), this), 0, 0);
  layout->addWidget(m_name, 1, 0);
  layout->addWidget(m_path, 2, 0, 1, 2);
  layout->addWidget(m_entries, 3, 0);
  auto* side = new QVBoxLayout;
  side->addWidget(new QLabel(QStringLiteral("Laufwerke:"), this));
  side->addWidget(m_drives);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Abbruch"), this);
  ok->setDefault(true);
  side->addWidget(ok);
  side->addWidget(cancel);
  layout->addLayout(side, 3, 1);
  layout->setColumnStretch(0, 3);
  layout->setColumnStretch(1, 2);
  connect(ok, &QPushButton::clicked, this, &FileChooserDialog::confirm);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_entries, &QListWidget::itemClicked, this, &FileChooserDialog::entryChosen);
  connect(m_entries, &QListWidget::itemActivated, this, &FileChooserDialog::entryActivated);
  connect(m_drives, &QListWidget::itemActivated, this, &FileChooserDialog::driveActivated);
  fillLists();
  resize(560, 400);
}

void FileChooserDialog::fillLists() {
  m_entries->clear();
  for (const std::string& entry : m_model.entries()) m_entries->addItem(toQString(entry));
  if (m_drives->count() == 0) {
    for (const std::string& drive : m_model.drives()) m_drives->addItem(toQString(drive));
  }
  m_path->setText(toQString(m_model.directory()));
}

void FileChooserDialog::entryChosen(QListWidgetItem* item) {
  if (!item->text().startsWith(QLatin1Char('['))) m_name->setText(item->text());
}

void FileChooserDialog::entryActivated(QListWidgetItem* item) {
  const std::string entry = fromQString(item->text());
  if (m_model.openEntry(entry)) {
    fillLists();
    m_name->setText(toQString(m_model.pattern()));
    return;
  }
  m_name->setText(item->text());
  confirm();
}

void FileChooserDialog::driveActivated(QListWidgetItem* item) {
  if (m_model.openDrive(fromQString(item->text()))) {
    fillLists();
    m_name->setText(toQString(m_model.pattern()));
  }
}

void FileChooserDialog::confirm() {
  const std::string typed = fromQString(m_name->text());
  switch (m_model.submit(typed)) {
    case FileChooserModel::Outcome::Accepted:
      accept();
      return;
    case FileChooserModel::Outcome::NotFound:
      m_ui.message(typed + " nicht gefunden!", MessageStyle{Icon::Exclamation});
      return;
    case FileChooserModel::Outcome::PatternChanged:
    case FileChooserModel::Outcome::DirectoryChanged:
    case FileChooserModel::Outcome::Cancelled:
      fillLists();
      m_name->setText(toQString(m_model.pattern()));
      return;
  }
}

}  // namespace quort
