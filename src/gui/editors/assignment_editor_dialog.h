#pragma once

#include <QDialog>

#include "editors/assignment_composer.h"
#include "editors/assignment_editing.h"

class QLineEdit;
class QListWidget;
class QComboBox;
class QPushButton;

namespace quort {

class Application;

// "Deputateingabe": the assignments of the current teacher (view mode 1), of the current
// class (2) or the buffer (0), an input line that the pick lists compose, and the buttons
// that change the list at once. Modeless; every change asks the main window to redraw.
class AssignmentEditorDialog : public QDialog {
  Q_OBJECT

 public:
  AssignmentEditorDialog(Application& app, int viewMode, QWidget* parent = nullptr);
  ~AssignmentEditorDialog() override;

  QLineEdit* inputLine() const { return m_input; }
  QListWidget* entryList() const { return m_entries; }
  // The pick lists: "Lehrer", "Fach", "Klasse", "Kopplung", "Stunden", "Art".
  QListWidget* pickList(const QString& name) const;
  QPushButton* button(const QString& caption) const;
  // Entry number (1-based) of the selected line, 0 when none is selected.
  int selectedEntry() const { return m_selected; }

 signals:
  void changed();
  void commandRequested(const QString& command);

 private:
  QListWidget* addPickList(const QString& name, const std::vector<std::string>& items);
  void picked(const QString& name, const QString& text);
  void fillEntries();
  void apply(const QString& action);
  void enterPressed();
  void copyFromClass(const QString& code);
  void afterChange();
  bool shows(int index) const;

  Application& m_app;
  int m_viewMode;
  AssignmentTarget m_target;
  AssignmentComposer m_composer;
  int m_selected = 0;
  QLineEdit* m_input = nullptr;
  QListWidget* m_entries = nullptr;
  QComboBox* m_copyFrom = nullptr;
  std::vector<QListWidget*> m_pickLists;
};

}  // namespace quort
