#include "shell/command_interpreter.h"

#include <algorithm>
#include <cctype>

#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// Commands issued from inside commands (choosers handing back) may nest, but a command
// that keeps issuing itself must not take the program down.
constexpr int kMaxNesting = 16;

std::string upperCase(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    // Windows-1252 lower-case letters with an upper-case partner 0x20 below them.
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0xE0 && byte != 0xF7 && byte != 0xFF) c = static_cast<char>(byte - 0x20);
  }
  return text;
}

}  // namespace

bool expandBlock(std::string& text, const std::vector<std::string>& blocks) {
  const size_t plus = text.find('+');
  if (plus == std::string::npos) return true;
  size_t end = plus + 1;
  while (end < text.size() && text[end] == ' ') ++end;
  const size_t digits = end;
  long n = 0;
  while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) && n < 100000) {
    n = n * 10 + (text[end] - '0');
    ++end;
  }
  const long nBlocks = static_cast<long>(blocks.size()) - 1;
  if (end == digits || n < 1 || n > nBlocks) return false;
  text.replace(plus, end - plus, "#" + blocks[static_cast<size_t>(n)]);
  return true;
}

CommandInterpreter::CommandInterpreter(Workspace& ws, Ui& ui) : m_ws(ws), m_ui(ui) {}

void CommandInterpreter::registerCommand(const std::string& prefix, CommandHandler handler, unsigned workModes) {
  // A handler replaces the earlier ones of its prefix that share a work mode with it; one
  // for other work modes only (the substitution mode's "P:") stands beside them.
  std::erase_if(m_entries,
                [&](const Entry& entry) { return entry.prefix == prefix && (entry.workModes & workModes) != 0; });
  m_entries.push_back({prefix, std::move(handler), workModes});
  std::stable_sort(m_entries.begin(), m_entries.end(),
                   [](const Entry& a, const Entry& b) { return a.prefix.size() > b.prefix.size(); });
}

void CommandInterpreter::registerUnavailable(const std::string& prefix, unsigned workModes) {
  registerCommand(
      prefix,
      [](CommandContext& context, const std::string&) {
        context.ui.message(
            "Funktion nicht verf\xFC"
            "gbar!",
            MessageStyle{Icon::Information});
      },
      workModes);
}

std::optional<std::string> CommandInterpreter::normalise(std::string text) const {
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  if (!expandBlock(text, m_ws.plan.blocks)) return std::nullopt;
  text = upperCase(std::move(text));
  if (text.size() == 1 && static_cast<unsigned char>(text[0]) > 'A') text += ':';
  return text;
}

const CommandInterpreter::Entry* CommandInterpreter::find(const std::string& command) const {
  // A prefix may have a handler of its own in some work modes (the substitution mode's
  // "P:" and "D:"); the one of the current mode wins, else the first for the message.
  const Entry* first = nullptr;
  for (const Entry& entry : m_entries) {
    if (command.compare(0, entry.prefix.size(), entry.prefix) != 0) continue;
    if ((entry.workModes & (1U << m_ws.shell.workMode)) != 0) return &entry;
    if (first == nullptr) first = &entry;
  }
  return first;
}

CommandOutcome CommandInterpreter::run(std::string text) {
  auto command = normalise(std::move(text));
  if (!command) return CommandOutcome::NoBlock;
  m_ws.shell.currentCommand = *command;
  if (command->empty() || (*command)[0] != '>') m_ws.shell.continuation = false;
  if (!m_ws.base.loaded() && command->compare(0, 2, "G:") != 0) return CommandOutcome::NoBaseData;
  const Entry* entry = find(*command);
  if (entry == nullptr) return CommandOutcome::Unknown;
  if ((entry->workModes & (1U << m_ws.shell.workMode)) == 0) return CommandOutcome::NotInWorkMode;
  if (m_depth >= kMaxNesting) return CommandOutcome::NestedTooDeeply;
  ++m_depth;
  // Every command that changes the plan is one undo step, named after the command unless
  // the operation names itself.
  m_ws.history.begin(m_ws.plan);
  CommandContext context{m_ws, m_ui, [this](const std::string& next) { run(next); }};
  entry->handler(context, *command);
  m_ws.history.commit(m_ws.plan, *command);
  --m_depth;
  return CommandOutcome::Dispatched;
}

std::string outcomeText(CommandOutcome outcome) {
  switch (outcome) {
    case CommandOutcome::Dispatched:
      return {};
    case CommandOutcome::NoBlock:
      return "Block nicht vorhanden, Befehl verworfen";
    case CommandOutcome::NoBaseData:
      return "Keine Grunddaten geladen! Erst Datei \x9B \xD6"
             "ffnen, nur G: geht ohne sie";
    case CommandOutcome::Unknown:
      return "Unbekannter Befehl";
    case CommandOutcome::NotInWorkMode:
      return "Befehl in diesem Arbeitsmodus nicht m\xF6glich";
    case CommandOutcome::NestedTooDeeply:
      return "Befehle zu tief geschachtelt";
  }
  return {};
}

}  // namespace quort
