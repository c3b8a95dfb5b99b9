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

// What became of a typed command. The window drops the others silently, as the user
// sees at once that nothing happened; a script must learn it, or it runs on as if the
// command had been carried out.
enum class CommandOutcome {
  Dispatched,      // a handler ran (whatever it then reported through the Ui)
  NoBlock,         // "+n" names no block
  NoBaseData,      // only "G:" runs before base data are loaded
  Unknown,         // no command begins like this
  NotInWorkMode,   // the command exists, but not in the current work mode
  NestedTooDeeply  // a command that keeps issuing commands
};

// The German reason for a command that was not dispatched; empty for Dispatched.
std::string outcomeText(CommandOutcome outcome);

// Work modes in which a command is accepted (bit n for mode n).
inline constexpr unsigned kAllWorkModes = 0x1F;
inline constexpr unsigned kPlanningModes = 0x03;  // "Kopplungen" and "Einzelstunden"

// Every action of the program goes through here: menu items, buttons and the command
// field write a command text, which is normalised and dispatched on its beginning.
class CommandInterpreter {
 public:
  CommandInterpreter(Workspace& ws, Ui& ui);

  // Registers the handler of all commands that begin with prefix; the longest matching
  // prefix wins. A later registration replaces the earlier ones of the same prefix that
  // share a work mode with it; a prefix may have different handlers in other work modes.
  void registerCommand(const std::string& prefix, CommandHandler handler, unsigned workModes = kAllWorkModes);
  // The command is known but its function is not built: it answers "Funktion nicht verfügbar!".
  void registerUnavailable(const std::string& prefix, unsigned workModes = kAllWorkModes);

  // The command field's Enter: normalises text and runs the command.
  CommandOutcome run(std::string text);

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
