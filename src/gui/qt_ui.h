#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "workspace/ui.h"

class QWidget;

namespace quort {

struct Workspace;
class ProgressWindow;

// The Ui of the window program: every question and dialog as a Qt dialog, modal to the
// main window.
class QtUi : public Ui {
 public:
  explicit QtUi(Workspace& ws);
  ~QtUi() override;

  void setParentWidget(QWidget* parent) { m_parent = parent; }
  // The main window opens the editors; until it is there, none opens.
  void setEditorOpener(std::function<void(const EditorRequest&)> opener) { m_editorOpener = std::move(opener); }

  using Ui::message;
  void message(const std::string& text, const MessageStyle& style) override;
  bool askYesNo(const std::string& text, const MessageStyle& style) override;
  bool askOkCancel(const std::string& text, const MessageStyle& style) override;
  ChoiceOutcome choiceBox(const ChoiceBoxRequest& request) override;
  bool textPrompt(const std::string& title, std::string& text) override;
  bool editDate(const std::string& title, std::string& date) override;
  std::string chooseFile(const FileChooserRequest& request) override;
  void showText(const std::string& title, const std::string& text) override;
  void textEditor(TextEditorSession& session) override;
  bool printerSetup(PrinterSetupRequest& request) override;
  int chooseFromList(const ListChoiceRequest& request) override;
  int showPickList(const std::string& title, const std::vector<std::string>& lines) override;
  void openEditor(const EditorRequest& request) override {
    if (m_editorOpener) m_editorOpener(request);
  }

  // The substitution dialogs as their own windows; any other session as a choice box asked
  // again after every button that leaves it open.
  void runDialog(DialogSession& session) override;

  void progressOpen() override;
  void progressTitle(const std::string& title) override;
  void progressShow(const std::string& text) override;
  bool progressKeyPending() override;
  void progressClose() override;

 private:
  // Index of the button pressed; buttons are captions, the first is the default.
  int ask(const std::string& text, const MessageStyle& style, const QStringList& buttons);
  QWidget* parent() const;

  Workspace& m_ws;
  QPointer<QWidget> m_parent;
  std::unique_ptr<ProgressWindow> m_progress;
  std::function<void(const EditorRequest&)> m_editorOpener;
};

}  // namespace quort
