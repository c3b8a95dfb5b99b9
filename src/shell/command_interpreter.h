#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

struct CommandContext {
  Workspace& ws;
  Ui& ui;
  // Types a further command into the command field, the way choosers and editors hand
  // control back to the main window.
  std::function<void(const std::string&)> issue;
};

using CommandHandler = std::function<void(CommandContext&, const std::string& command)>;

// Work modes in which a command is accepted (bit n for mode n).
inline constexpr unsigned kAllWorkModes = 0x1F;
inline constexpr unsigned kPlanningModes = 0x03;  // "Kopplungen" and "Einzelstunden"

// Every action of the program goes through here: menu items, buttons and the command
// field write a command text, which is normalised and dispatched on its beginning.
class CommandInterpreter {
 public:
  CommandInterpreter(Workspace& ws, Ui& ui);

  // Registers the handler of all commands that begin with prefix; the longest matching
  // prefix wins. A later registration of the same prefix replaces the earlier one.
  void registerCommand(const std::string& prefix, CommandHandler handler, unsigned workModes = kAllWorkModes);
  // The command is known but its function is not built: it answers "Funktion nicht verfügbar!".
  void registerUnavailable(const std::string& prefix, unsigned workModes = kAllWorkModes);

  // The command field's Enter: normalises text and runs the command.
  void run(std::string text);

  // Normalisation without dispatch; std::nullopt when the command is dropped.
  std::optional<std::string> normalise(std::string text) const;

 private:
  struct Entry {
    std::string prefix;
    CommandHandler handler;
    unsigned workModes;
  };
  const Entry* find(const std::string& command) const;

  Workspace& m_ws;
  Ui& m_ui;
  std::vector<Entry> m_entries;
  int m_depth = 0;
};

// "+n" becomes "#" and the coupling numbers of block n; false when there is no block n.
bool expandBlock(std::string& text, const std::vector<std::string>& blocks);

}  // namespace quort
