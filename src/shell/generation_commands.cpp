#include "shell/generation_commands.h"

#include <algorithm>
#include <vector>

#include "data/number_text.h"
#include "shell/command_interpreter.h"
#include "timetable/assignment_list.h"
#include "timetable/plan_views.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::vector<std::string> presetItems(std::string_view text) {
  std::vector<std::string> items;
  std::string item;
  for (const char ch : text) {
    if (ch == ' ' || ch == ';') {
      if (!item.empty()) items.push_back(item);
      item.clear();
    } else {
      item += ch;
    }
  }
  if (!item.empty()) items.push_back(item);
  return items;
}

bool applySwitch(GenerationPreset& preset, const std::string& item) {
  if (item.size() != 2 || (item[1] != '1' && item[1] != '0')) return false;
  const bool on = item[1] == '1';
  switch (item[0]) {
    case 'E':
      preset.filter.singles = on;
      return true;
    case 'K':
      preset.filter.couplings = on;
      preset.switches.shiftCouplings = on;
      return true;
    case 'V':
      preset.switches.shiftCouplings = on;
      return true;
    case 'O':
      preset.switches.optimisePlan = on;
      return true;
    case 'W':
      preset.switches.optimiseWeights = on;
      return true;
    default:
      return false;
  }
}

std::string checkValue(bool on) { return on ? "1" : "0"; }

// The codes of a list without the "none" entry and the sentinel.
template <typename Entity>
std::vector<std::string> codesOf(const std::vector<Entity>& list) {
  std::vector<std::string> codes;
  for (size_t i = 1; i + 1 < list.size(); ++i) codes.push_back(trimmedCode(list[i].code));
  return codes;
}

// The grades that occur among the classes, each once, in class order.
std::vector<std::string> gradesOf(const BaseData& base) {
  std::vector<std::string> grades;
  for (int c = 1; c <= base.nClasses(); ++c) {
    const int grade = static_cast<int>(numericValue(base.classes[static_cast<size_t>(c)].code));
    const std::string text = std::to_string(grade);
    if (grade > 0 && std::find(grades.begin(), grades.end(), text) == grades.end()) grades.push_back(text);
  }
  return grades;
}

ChoiceBoxRequest filterRequest(const Workspace& ws, const GenerationPreset& preset) {
  const bool generation = preset.mode != 0;
  std::string items =
      "$F\xE4"
      "cher:|$Lehrer:|$Stufen:|?Einzelstunden:|?Kopplungen:|";
  if (generation) items += "?Koppl. versetzen:|?Plan optimieren:|?Wichtungen optimieren:|";
  items += "$Vorgaben:|Auswerten|Abbruch";
  ChoiceBoxRequest request = parseChoiceItems(generation ? "Planerstellung - Filter" : "Ausblenden - Filter", items,
                                              generation ? "Planerstellung - Filter" : "Ausblenden - Filter");
  request.helpFile = ws.shell.helpTopic;
  const GenerationSwitches& s = preset.switches;
  const std::vector<std::string> values = {preset.filter.subjects,
                                           preset.filter.teachers,
                                           preset.filter.grades,
                                           checkValue(preset.filter.singles),
                                           checkValue(preset.filter.couplings),
                                           checkValue(s.shiftCouplings),
                                           checkValue(s.optimisePlan),
                                           checkValue(s.optimiseWeights)};
  const std::vector<std::vector<std::string>> choices = {codesOf(ws.base.subjects), codesOf(ws.base.teachers),
                                                         gradesOf(ws.base)};
  size_t next = 0;
  for (ChoiceItem& item : request.items) {
    if (item.kind == ChoiceItem::Kind::Button) continue;
    if (next < choices.size()) item.choices = choices[next];
    if (item.label == "Vorgaben") {
      item.value = std::to_string(preset.mode);
    } else if (next < values.size()) {
      item.value = values[next++];
    }
  }
  return request;
}

// Reads the fields and boxes back in the order the request laid them out.
GenerationPreset presetFrom(const ChoiceBoxRequest& request, const ChoiceOutcome& outcome, GenerationPreset preset) {
  const std::vector<std::string> values = outcome.values();
  const GenerationPreset before = preset;
  size_t v = 0;
  for (const ChoiceItem& item : request.items) {
    if (item.kind == ChoiceItem::Kind::Button || v >= values.size()) continue;
    const std::string& value = values[v++];
    const bool on = value == "1";
    if (item.label ==
            "F\xE4"
            "cher:" ||
        item.label ==
            "F\xE4"
            "cher")
      preset.filter.subjects = value;
    if (item.label == "Lehrer") preset.filter.teachers = value;
    if (item.label == "Stufen") preset.filter.grades = value;
    if (item.label == "Einzelstunden:") preset.filter.singles = on;
    if (item.label == "Kopplungen:") preset.filter.couplings = on;
    if (item.label == "Koppl. versetzen:") preset.switches.shiftCouplings = on;
    if (item.label == "Plan optimieren:") preset.switches.optimisePlan = on;
    if (item.label == "Wichtungen optimieren:") preset.switches.optimiseWeights = on;
    if (item.label == "Vorgaben") preset.mode = value.empty() ? preset.mode : std::atoi(value.c_str());
  }
  // Switching "Kopplungen:" carries "Koppl. versetzen:" along, unless that was changed too.
  if (preset.filter.couplings != before.filter.couplings &&
      preset.switches.shiftCouplings == before.switches.shiftCouplings)
    preset.switches.shiftCouplings = preset.filter.couplings;
  return preset;
}

}  // namespace

std::optional<GenerationPreset> parseGenerationPreset(std::string_view text, bool optimiseWeights) {
  GenerationPreset preset;
  preset.switches.optimiseWeights = optimiseWeights;
  for (const std::string& item : presetItems(text)) {
    if (item == "A") {
      preset.mode = 0;
    } else if (item.rfind("F:", 0) == 0) {
      preset.filter.subjects = item.substr(2);
    } else if (item.rfind("L:", 0) == 0) {
      preset.filter.teachers = item.substr(2);
    } else if (item.rfind("S:", 0) == 0) {
      preset.filter.grades = item.substr(2);
    } else if (!applySwitch(preset, item)) {
      return std::nullopt;
    }
  }
  return preset;
}

void runGeneration(Workspace& ws, Ui& ui, const std::string& workList, GenerationSwitches switches,
                   const std::string& assignmentsBefore) {
  BackupPlanRecords(ws, ui);
  // The work list has taken its coupling entries out of the assignments already; "zurück"
  // must bring them back with everything else.
  ws.backup.assignments = assignmentsBefore;
  ws.generator.optimiseWeights = switches.optimiseWeights;
  ProgressOpen(ws, ui);
  ui.progressTitle("Automatische Planerstellung");
  generateWorkList(ws, ui, workList, switches);
  ws.shell.currentClass = 1;
  ws.shell.currentTeacher = 1;
  if (!ws.plan.assignments.empty()) ui.showText("zu setzen", joinLines(lessonsToPlaceList(ws, ListFilter{})));
  ProgressClose(ui);
}

void openGenerationDialog(Workspace& ws, Ui& ui, const std::string& presetText, int mode) {
  const std::optional<GenerationPreset> parsed = parseGenerationPreset(presetText, ws.generator.optimiseWeights);
  if (!parsed) {
    ui.message("Eingabefehler!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
    return;
  }
  GenerationPreset preset = *parsed;
  if (mode == 0) preset.mode = 0;
  for (;;) {
    const ChoiceBoxRequest request = filterRequest(ws, preset);
    const ChoiceOutcome outcome = ui.choiceBox(request);
    const int buttons = static_cast<int>(request.items.size());
    if (outcome.choiceResult != buttons - 1) return;  // "Abbruch", or closed
    preset = presetFrom(request, outcome, preset);
    if (preset.mode == 0) {
      hideAssignments(ws, preset.filter);
      return;
    }
    const std::string assignmentsBefore = ws.plan.assignments;
    const std::string workList = buildWorkList(ws, preset.filter);
    if (workList.empty()) {
      ui.message("Keine passenden Deputatseintr\xE4ge!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
      continue;
    }
    runGeneration(ws, ui, workList, preset.switches, assignmentsBefore);
    return;
  }
}

// Work modes "Kopplungen" and "Einzelstunden"; in "Raumplan" "^" distributes the rooms.
constexpr unsigned kGenerationModes = 0x03;

void registerGenerationCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand(
      "^",
      [](CommandContext& context, const std::string& command) {
        // A lone "^" reaches here as "^:".
        const std::string preset = command == "^:" ? std::string() : command.substr(1);
        openGenerationDialog(context.ws, context.ui, preset, 1);
      },
      kGenerationModes);
}

}  // namespace quort
