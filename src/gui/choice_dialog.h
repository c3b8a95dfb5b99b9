#pragma once

#include <QDialog>
#include <vector>

#include "workspace/ui.h"

class QPushButton;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QFormLayout;
class QVBoxLayout;

namespace quort {

// The choice box: a prompt, then one row per item (button, check box or text field),
// with a first button "Hilfen" unless the items began with "#". Text fields with choices
// get a list beside them and the buttons "Hinzufügen" and "Entfernen" below them.
class ChoiceDialog : public QDialog {
  Q_OBJECT

 public:
  ChoiceDialog(const ChoiceBoxRequest& request, QWidget* parent = nullptr);

  ChoiceOutcome outcome() const;
  // The push button of item number (1-based, as choiceResult counts); nullptr for other rows.
  QPushButton* itemButton(int number) const;
  QPushButton* helpButton() const { return m_helpButton; }
  QCheckBox* checkBox(int number) const;
  QLineEdit* textField(int number) const;

 signals:
  void helpRequested();

 private:
  static int lastChoiceField(const ChoiceBoxRequest& request);
  void addChoiceList(const ChoiceItem& item, QFormLayout* form, QLineEdit* field);
  void addFieldButtons(QVBoxLayout* layout);

  ChoiceBoxRequest m_request;
  QListWidget* m_targetList = nullptr;
  QLineEdit* m_targetField = nullptr;
  std::vector<QWidget*> m_rows;
  QPushButton* m_helpButton = nullptr;
  int m_result = 0;
};

}  // namespace quort
