#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace quort {

class Application;

// "Eingabe von Block ": the block number, its couplings as text and the pick list of
// couplings. Modeless; changes go to the block list at once.
class BlockEditorDialog : public QDialog {
  Q_OBJECT

 public:
  BlockEditorDialog(Application& app, int block, QWidget* parent = nullptr);
  ~BlockEditorDialog() override;

  QLineEdit* numberField() const { return m_number; }
  QLineEdit* couplingsField() const { return m_couplings; }
  QListWidget* pickList() const { return m_pick; }
  QPushButton* button(const QString& caption) const;

 signals:
  void changed();
  void commandRequested(const QString& command);

 private:
  void showBlock(int block);
  void action(const QString& caption);

  Application& m_app;
  QLineEdit* m_number = nullptr;
  QLineEdit* m_couplings = nullptr;
  QListWidget* m_pick = nullptr;
};

}  // namespace quort
