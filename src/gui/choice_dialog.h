#pragma once

#include <QDialog>
#include <vector>

#include "shell/ui.h"

class QPushButton;
class QCheckBox;
class QLineEdit;

namespace quort {

// The choice box: a prompt, then one row per item (button, check box or text field),
// with a first button "Hilfen" unless the items began with "#".
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
  ChoiceBoxRequest m_request;
  std::vector<QWidget*> m_rows;
  QPushButton* m_helpButton = nullptr;
  int m_result = 0;
};

}  // namespace quort
