#include "shell/automation_commands.h"

#include <algorithm>
#include <cstdlib>

#include "data/number_text.h"
#include "editors/code_lookup.h"
#include "shell/command_interpreter.h"
#include "timetable/block_building.h"
#include "timetable/plan_views.h"
#include "timetable/room_distribution.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr unsigned kCouplingModes = 0x03;  // "Kopplungen" and "Einzelstunden"
constexpr unsigned kRoomMode = 0x04;       // "Raumplan"
constexpr int kMaxDialogRounds = 1000;     // every edit button reopens the dialog

const char* const kBlockDialogTitle = "Blockerstellung - Vorgaben";

std::vector<std::string> splitItems(std::string_view text) {
  std::vector<std::string> items;
  std::string item;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ' ';
    if (c == ' ' || c == ',' || c == ';' || c == '\t') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else {
      item += c;
    }
  }
  return items;
}

bool allDigits(std::string_view text) {
  return !text.empty() && text.size() <= 4 &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string joined(const std::vector<std::string>& items, const char* separator) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
  return text;
}

void inputError(Ui& ui) { ui.message("Eingabefehler!", MessageStyle{Icon::Exclamation, kProgramTitle, true}); }

// What the dialog holds between its rounds.
struct BlockDialogState {
  std::vector<std::string> ranges;
  bool deleteOld = true;
  bool automaticChoice = true;
};

ChoiceBoxRequest blockRequest(const BlockDialogState& state) {
  ChoiceBoxRequest request = parseChoiceItems(kBlockDialogTitle,
                                              "$Bereiche:|$Kopplung:|$Letzte Kopplung:|$Stufe:|"
                                              "?Alte Bl\xF6"
                                              "cke l\xF6schen|?Automatische Blockwahl|"
                                              "Hinzuf\xFCgen|Ersetzen|Entfernen|Auswerten|Abbruch",
                                              kBlockDialogTitle);
  request.helpFile = "TAVIN.hlp~blockaut";
  // Plain fields: the window's pick lists would add their own "Hinzufügen" and "Entfernen",
  // which edit a field instead of the range list.
  request.items[0].value = joined(state.ranges, ",");
  request.items[4].value = state.deleteOld ? "1" : "0";
  request.items[5].value = state.automaticChoice ? "1" : "0";
  return request;
}

int clampedCoupling(const Workspace& ws, const std::string& text) {
  return std::clamp(static_cast<int>(std::clamp(numericValue(text), 0.0, 1000.0)), 1,
                    std::max(ws.plan.nCouplings(), 1));
}

// The item that "Kopplung:" to "Letzte Kopplung:", or else "Stufe:", describe; empty when
// neither is filled in, std::nullopt when what is filled in is no number.
std::optional<std::string> composedItem(const Workspace& ws, const std::vector<std::string>& values) {
  const std::vector<std::string> first = splitItems(values[1]);
  const std::vector<std::string> last = splitItems(values[2]);
  const std::vector<std::string> grade = splitItems(values[3]);
  if (!grade.empty()) {
    if (grade.size() != 1 || !allDigits(grade[0]) || std::atoi(grade[0].c_str()) == 0) return std::nullopt;
    return std::to_string(std::atoi(grade[0].c_str()));
  }
  if (first.empty()) return std::string();
  if (first.size() != 1 || !allDigits(first[0]) || last.size() > 1 || (!last.empty() && !allDigits(last[0]))) {
    return std::nullopt;
  }
  int a = clampedCoupling(ws, first[0]);
  int b = last.empty() ? a : clampedCoupling(ws, last[0]);
  if (a > b) std::swap(a, b);
  return std::to_string(a) + "-" + std::to_string(b);
}

// "Hinzufügen" appends the item, "Ersetzen" puts it in place of the last one, "Entfernen"
// takes it out (the last item when none is composed).
bool editRanges(std::vector<std::string>& ranges, const std::string& button, const std::string& item) {
  if (button == "Entfernen") {
    if (item.empty() && !ranges.empty()) ranges.pop_back();
    std::erase(ranges, item);
    return true;
  }
  if (item.empty()) return false;
  if (button == "Ersetzen" && !ranges.empty()) ranges.pop_back();
  ranges.push_back(item);
  return true;
}

BlockBuildRequest buildRequest(const BlockDialogState& state) {
  BlockBuildRequest request;
  for (const std::string& range : state.ranges) request.ranges += range + "#";
  request.deleteOld = state.deleteOld;
  request.automaticChoice = state.automaticChoice;
  return request;
}

void roomDistributionCommand(CommandContext& context, const std::string& command) {
  const std::string parameters = command == "^:" ? std::string() : command.substr(1);
  const std::vector<int> classes = roomDistributionClasses(context.ws, context.ui, parameters);
  if (classes.empty()) return;
  distributeRooms(context.ws, context.ui, classes);
  context.ui.showText("Fehlende R\xE4ume", joinLines(missingRoomsList(context.ws, ListFilter{})));
}

void blockCommand(CommandContext& context, const std::string& command) {
  const bool finished = openBlockDialog(context.ws, context.ui, command.substr(2));
  if (finished) context.issue("B:");
}

}  // namespace

std::optional<std::vector<std::string>> parseBlockRanges(std::string_view text) {
  std::vector<std::string> ranges;
  for (const std::string& item : splitItems(text)) {
    const size_t dash = item.find('-');
    if (dash == std::string::npos) {
      if (!allDigits(item) || std::atoi(item.c_str()) == 0) return std::nullopt;
      ranges.push_back(std::to_string(std::atoi(item.c_str())));
      continue;
    }
    const std::string first = item.substr(0, dash);
    const std::string last = item.substr(dash + 1);
    if (!allDigits(first) || !allDigits(last)) return std::nullopt;
    ranges.push_back(std::to_string(std::atoi(first.c_str())) + "-" + std::to_string(std::atoi(last.c_str())));
  }
  return ranges;
}

bool openBlockDialog(Workspace& ws, Ui& ui, const std::string& preset) {
  BlockDialogState state;
  const std::optional<std::vector<std::string>> presetRanges = parseBlockRanges(preset);
  if (!presetRanges) {
    inputError(ui);
    return false;
  }
  state.ranges = *presetRanges;
  for (int round = 0; round < kMaxDialogRounds; ++round) {
    const ChoiceBoxRequest request = blockRequest(state);
    const ChoiceOutcome outcome = ui.choiceBox(request);
    if (outcome.choiceResult < 1 || outcome.choiceResult > static_cast<int>(request.items.size())) return false;
    const std::string& button = request.items[static_cast<size_t>(outcome.choiceResult - 1)].label;
    if (button == "Abbruch") return false;
    const std::vector<std::string> values = outcome.values(6);
    state.deleteOld = values[4] == "1";
    state.automaticChoice = values[5] == "1";
    const std::optional<std::vector<std::string>> ranges = parseBlockRanges(values[0]);
    const std::optional<std::string> item = composedItem(ws, values);
    if (!ranges || !item) {
      inputError(ui);
      continue;
    }
    state.ranges = *ranges;
    if (button == "Auswerten") {
      buildBlocks(ws, ui, buildRequest(state));
      return true;
    }
    if (!editRanges(state.ranges, button, *item)) inputError(ui);
  }
  return false;
}

std::vector<int> roomDistributionClasses(Workspace& ws, Ui& ui, std::string_view parameters) {
  std::string_view rest = parameters;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (rest.starts_with("K:")) rest.remove_prefix(2);
  const std::vector<std::string> codes = splitItems(rest);
  if (codes.empty()) return allClasses(ws);
  std::vector<int> classes;
  for (const std::string& code : codes) {
    const int c = lookupCode(ws.base, CodeList::Class, code, &ui);
    if (c > 0 && std::find(classes.begin(), classes.end(), c) == classes.end()) classes.push_back(c);
  }
  return classes;
}

void registerAutomationCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand("^B", blockCommand, kCouplingModes);
  interpreter.registerCommand("^", roomDistributionCommand, kRoomMode);
}

}  // namespace quort
