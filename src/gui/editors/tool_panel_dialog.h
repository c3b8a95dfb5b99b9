#pragma once

#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace quort {

class Application;

// The open tool panel of the workspace as a small modeless window beside the plan:
// the lock values, the class field of the class locks, "Bisher gesetzte Stunden". The
// slot clicks themselves reach the panel through the main window.
class ToolPanelDialog : public QDialog {
  Q_OBJECT

 public:
  ToolPanelDialog(Application& app, QWidget* parent = nullptr);
  // The next panel replaces this one: closing the window leaves the workspace's panel open.
  void replaceByNext() { m_replaced = true; }

  QListWidget* values() const { return m_values; }
  QLineEdit* classField() const { return m_classes; }
  QPushButton* button(const QString& caption) const;

 signals:
  void changed();
  void commandRequested(const QString& command);

 private:
  void buildLockValues(const QString& chooser);
  void buildClassLocks();
  void buildFixing();
  void action(const QString& caption);

  Application& m_app;
  QListWidget* m_values = nullptr;
  QLineEdit* m_classes = nullptr;
  bool m_replaced = false;
};

}  // namespace quort
