#pragma once

#include <QDialog>
#include <QWidget>
#include <string>

#include "workspace/ui.h"

class QLabel;
class QListWidget;

namespace quort {

// The window of a long run: "Abbruch -> Taste drücken" and the current message. A key
// pressed anywhere in the program while it is open counts as an abort request.
class ProgressWindow : public QWidget {
  Q_OBJECT

 public:
  explicit ProgressWindow(QWidget* parent = nullptr);
  ~ProgressWindow() override;

  void showMessage(const std::string& text);
  // Lets the window system deliver what is pending; whether a key was pressed since the last call.
  bool takeKeyPress();
  QLabel* messageLabel() const { return m_message; }
  // While a question is open its keys are answers, not abort requests.
  void setListening(bool listening) { m_listening = listening; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* m_message;
  bool m_keyPressed = false;
  bool m_listening = true;
};

// A compact pick list of codes (classes, teachers, rooms, subjects): one click chooses.
class ListChoiceDialog : public QDialog {
  Q_OBJECT

 public:
  ListChoiceDialog(const ListChoiceRequest& request, QWidget* parent = nullptr);
  int chosen() const { return m_chosen; }
  QListWidget* list() const { return m_list; }

 private:
  QListWidget* m_list;
  int m_chosen = -1;
};

}  // namespace quort
