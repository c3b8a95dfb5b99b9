#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "workspace/ui.h"

namespace quort {

// A Ui without a person: questions take their answers from a queue, and every call is
// recorded. A question with no queued answer takes the safe answer ("Nein", "Abbruch",
// cancel), so a script can never block.
class ScriptedUi : public Ui {
 public:
  struct Record {
    std::string kind;  // "message", "question", "text", "progress", "editor"
    std::string text;
    std::string answer;
  };

  // Texts are Windows-1252 bytes, as everywhere in the core.
  void queueAnswer(std::string answer) { m_answers.push_back(std::move(answer)); }
  // For the question that comes next, ahead of answers queued for later ones.
  void queueAnswerFirst(std::string answer) { m_answers.push_front(std::move(answer)); }
  void pressKey() { ++m_pendingKeys; }
  size_t pendingAnswers() const { return m_answers.size(); }
  const std::vector<Record>& records() const { return m_records; }
  // Called with each record as a printable line ("message: ...", "question: ... -> ...").
  void setListener(std::function<void(const std::string&)> listener) { m_listener = std::move(listener); }
  // Whether a message or question with exactly this text was shown.
  bool saw(const std::string& text) const;

  using Ui::message;
  void message(const std::string& text, const MessageStyle& style) override;
  bool askYesNo(const std::string& text, const MessageStyle& style) override;
  bool askOkCancel(const std::string& text, const MessageStyle& style) override;
  ChoiceOutcome choiceBox(const ChoiceBoxRequest& request) override;
  bool textPrompt(const std::string& title, std::string& text) override;
  bool editDate(const std::string& title, std::string& date) override;
  std::string chooseFile(const FileChooserRequest& request) override;
  void showText(const std::string& title, const std::string& text) override;
  // Records the window with its file list and edits nothing.
  void textEditor(TextEditorSession& session) override;
  // The answer names the entry; no answer or an unknown one closes the list.
  int chooseFromList(const ListChoiceRequest& request) override;
  // "Anwenden" applies the settings as they are; anything else cancels.
  bool printerSetup(PrinterSetupRequest& request) override;
  // Records which editor would open ("editor: Eingabe von Kopplung 3").
  void openEditor(const EditorRequest& request) override;
  // The dialog as a choice box, asked again after every button that leaves it open; the
  // answers fill its fields ("$text", "?1") and name its buttons. No answer left: "Abbruch".
  void runDialog(DialogSession& session) override;
  void progressOpen() override {}
  void progressShow(const std::string& text) override { m_lastProgress = text; }
  bool progressKeyPending() override;
  void progressClose() override {}

 private:
  bool takeAnswer(std::string& answer);
  void record(std::string kind, std::string text, std::string answer = {});
  int buttonNumber(const ChoiceBoxRequest& request, const std::string& answer) const;

  std::deque<std::string> m_answers;
  std::vector<Record> m_records;
  std::function<void(const std::string&)> m_listener;
  std::string m_lastProgress;
  int m_pendingKeys = 0;
};

// One line for a log: line breaks become single blanks.
std::string flattenLines(const std::string& text);

}  // namespace quort
