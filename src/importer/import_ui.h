#pragma once

#include <string>

namespace quort {

inline constexpr char kEscapeKey = '\x1B';

// How the import talks to its user: the console, or the answers of a command line.
// Texts are Windows-1252 bytes; the front end converts them at its edge.
class ImportUi {
 public:
  virtual ~ImportUi() = default;

  // Shows prompt on the prompt row and returns the key pressed, upper-cased
  // (kEscapeKey for Escape).
  virtual char ChoicePrompt(const std::string& prompt) = 0;
  // An input line labelled label and pre-filled with defaultValue; the text entered.
  virtual std::string ValuePrompt(const std::string& label, const std::string& defaultValue) = 0;
  // seconds > 0: shown that long (or until a key); 0: an error that waits for a key.
  virtual void ShowMessage(const std::string& text, int seconds) = 0;
  // A file name chosen or typed in the directory of the last choice; empty when cancelled.
  virtual std::string ConsoleFileChooser(const std::string& pattern, const std::string& title) = 0;

  virtual void showStartScreen() {}
  virtual void showMenuScreen() {}
};

// The label of a value prompt as shown: ": " follows unless it ends in ":" or "?".
std::string valuePromptLabel(const std::string& label);

}  // namespace quort
