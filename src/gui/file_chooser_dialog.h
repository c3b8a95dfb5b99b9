#pragma once

#include <QDialog>

#include "workspace/file_chooser_model.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace quort {

class Ui;

// The program's own file chooser: the entries of the current directory, "Laufwerke:",
// the current path and "Dateiname:". Messages go through ui.
class FileChooserDialog : public QDialog {
  Q_OBJECT

 public:
  FileChooserDialog(FileChooserModel& model, Ui& ui, QWidget* parent = nullptr);

  QListWidget* entryList() const { return m_entries; }
  QListWidget* driveList() const { return m_drives; }
  QLineEdit* nameField() const { return m_name; }
  QLabel* pathLabel() const { return m_path; }
  // "OK": the name field decides.
  void confirm();

 private:
  void fillLists();
  void entryChosen(QListWidgetItem* item);
  void entryActivated(QListWidgetItem* item);
  void driveActivated(QListWidgetItem* item);

  FileChooserModel& m_model;
  Ui& m_ui;
  QListWidget* m_entries;
  QListWidget* m_drives;
  QLabel* m_path;
  QLineEdit* m_name;
};

}  // namespace quort
