#include "importer/answering_console.h"

#include <algorithm>
#include <ostream>

#include "data/codepage.h"
#include "importer/import_text.h"

namespace quort {

std::string valuePromptLabel(const std::string& label) {
  if (!label.empty() && (label.back() == ':' || label.back() == '?')) return label;
  return label + ": ";
}

// The longest matching start wins, so an answer for one course overrides one for all.
const std::string* AnsweringConsole::answerFor(const std::string& prompt) const {
  const std::string* found = nullptr;
  size_t foundLength = 0;
  for (const auto& [start, answer] : m_answers) {
    if (prompt.compare(0, start.size(), start) == 0 && (found == nullptr || start.size() > foundLength)) {
      found = &answer;
      foundLength = start.size();
    }
  }
  return found;
}

bool AnsweringConsole::saw(const std::string& message) const {
  return std::find(m_messages.begin(), m_messages.end(), message) != m_messages.end();
}

char AnsweringConsole::ChoicePrompt(const std::string& prompt) {
  const std::string* answer = answerFor(prompt);
  const char key = (answer != nullptr && !answer->empty()) ? UpperDos(answer->substr(0, 1))[0] : 'N';
  m_out << cp1252ToUtf8(prompt.substr(0, prompt.find(':') + 1)) << ' ' << cp1252ToUtf8(std::string(1, key)) << '\n';
  return key;
}

std::string AnsweringConsole::ValuePrompt(const std::string& label, const std::string& defaultValue) {
  const std::string* answer = answerFor(label);
  std::string value = answer != nullptr ? *answer : defaultValue;
  m_out << cp1252ToUtf8(valuePromptLabel(label) + value) << '\n';
  return value;
}

void AnsweringConsole::ShowMessage(const std::string& text, int) {
  m_messages.push_back(text);
  m_out << cp1252ToUtf8(text) << '\n';
}

std::string AnsweringConsole::ConsoleFileChooser(const std::string&, const std::string&) { return {}; }

}  // namespace quort
