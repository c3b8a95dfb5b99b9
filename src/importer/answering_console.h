#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "importer/import_ui.h"

namespace quort {

// The import without a person: prompts take their answers from a table (by the
// beginning of the prompt text), the defaults otherwise; messages are written as UTF-8
// lines and kept. Nothing waits.
class AnsweringConsole : public ImportUi {
 public:
  explicit AnsweringConsole(std::ostream& out) : m_out(out) {}

  // Prompts whose text begins with promptStart get answer.
  void setAnswer(const std::string& promptStart, const std::string& answer) { m_answers[promptStart] = answer; }
  const std::vector<std::string>& messages() const { return m_messages; }
  bool saw(const std::string& message) const;

  char ChoicePrompt(const std::string& prompt) override;
  std::string ValuePrompt(const std::string& label, const std::string& defaultValue) override;
  void ShowMessage(const std::string& text, int seconds) override;
  std::string ConsoleFileChooser(const std::string& pattern, const std::string& title) override;

 private:
  const std::string* answerFor(const std::string& prompt) const;

  std::ostream& m_out;
  std::map<std::string, std::string> m_answers;
  std::vector<std::string> m_messages;
};

}  // namespace quort
