#pragma once

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <map>
#include <string>
#include <utility>

namespace quort {

class Application;
class ScriptedUi;

// A script argument's first word (up to the first blank) and the rest after the blanks
// that follow it; the rest keeps its trailing blanks.
std::pair<std::string, std::string> firstWordAndRest(const std::string& text);

// Runs a script against the program without a window: each line is a keyword and its
// argument, dialogs are answered from "answer" lines. Script and output are UTF-8.
class BatchRunner {
 public:
  using Keyword = std::function<bool(BatchRunner&, const std::string& argument)>;

  BatchRunner(Application& app, ScriptedUi& ui, std::ostream& out, std::ostream& err);

  // Adds or replaces a keyword; the handler returns false when the line could not be carried out.
  void addKeyword(const std::string& name, Keyword handler);
  // The handler of a keyword (empty when unknown), for a replacement that builds on it.
  Keyword keyword(const std::string& name) const {
    const auto found = m_keywords.find(name);
    return found == m_keywords.end() ? Keyword() : found->second;
  }

  // 0 when the script ran to its end, 1 when a line could not be carried out. A line that
  // cannot be read (unknown keyword, missing argument, a command that is not run) stops the
  // script there; a step the program refused with a failure message ("Eingabefehler!",
  // "Fehler: QQ", ...) lets the script run on and ends it with 1.
  int run(std::istream& script);

  Application& app() { return m_app; }
  ScriptedUi& ui() { return m_ui; }
  // Writes one UTF-8 line to the output.
  void print(const std::string& utf8Line);
  // Writes one Windows-1252 line to the output, converted.
  void printText(const std::string& cp1252Line);
  // Reports why a line failed.
  void fail(const std::string& reason);

 private:
  void addStandardKeywords();
  // Whether a message shown since that record reports a failure; reports it as the reason.
  bool refusedSince(size_t firstRecord);

  Application& m_app;
  ScriptedUi& m_ui;
  std::ostream& m_out;
  std::ostream& m_err;
  std::map<std::string, Keyword> m_keywords;
  int m_lineNumber = 0;
};

}  // namespace quort
