#pragma once

#include <QDialog>
#include <vector>

#include "editors/entity_remap.h"

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quort {

class BaseDataEditor;

// "Grunddatenaufnahme - Klassen" (Lehrer, Fächer, Räume): the lines of one list, the
// input fields of a line and the buttons of the list editor. Modal within the run.
class EntityListDialog : public QDialog {
  Q_OBJECT

 public:
  EntityListDialog(BaseDataEditor& editor, EntityKind kind, QWidget* parent = nullptr);

  QListWidget* lines() const { return m_lines; }
  // Field 0 is "Kürzel:", then the fields of the list; the subject's kind is a combo box.
  QLineEdit* field(int index) const { return m_fields[static_cast<size_t>(index)]; }
  QComboBox* kindBox() const { return m_kindBox; }
  QPushButton* button(const QString& caption) const;
  // The 1-based index of the selected line; 0 when none is selected.
  int selectedIndex() const;

 private:
  void action(const QString& caption);
  void refreshLines(int select);
  void showSelected();
  std::vector<std::string> fieldTexts() const;
  void updateLockButton();

  BaseDataEditor& m_editor;
  EntityKind m_kind;
  QListWidget* m_lines = nullptr;
  std::vector<QLineEdit*> m_fields;
  QComboBox* m_kindBox = nullptr;
  QPushButton* m_lockButton = nullptr;
};

}  // namespace quort
