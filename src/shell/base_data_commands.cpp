#include "shell/base_data_commands.h"

#include <memory>
#include <sstream>

#include "data/calendar.h"
#include "data/codepage.h"
#include "editors/base_data_editor.h"
#include "editors/plan_verification.h"
#include "editors/tool_panels.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/command_interpreter.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string trimmedArgument(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::pair<std::string, std::string> firstWordAndRest(const std::string& text) {
  const std::string trimmed = trimmedArgument(text);
  const size_t blank = trimmed.find_first_of(" \t");
  if (blank == std::string::npos) return {trimmed, {}};
  return {trimmed.substr(0, blank), trimmedArgument(trimmed.substr(blank + 1))};
}

void showPanel(CommandContext& context) {
  context.ui.openEditor(EditorRequest{EditorKind::ToolPanel, 0, static_cast<int>(context.ws.panels.open)});
}

// "W:L [value]", "W:S [value]" and "W:S R [value]" (room locks): the lock panels,
// optionally with the value to set.
void lockPanelCommand(CommandContext& context, const std::string& command) {
  const bool subjects = command.compare(0, 3, "W:S") == 0;
  std::string value = trimmedArgument(command.substr(3));
  const bool rooms = subjects && !value.empty() && value[0] == 'R';
  if (rooms) value = trimmedArgument(value.substr(1));
  if (!value.empty()) {
    const bool number = value.size() <= 3 && value.find_first_not_of("0123456789") == std::string::npos;
    if (!setLockValue(context.ws, context.ui, number ? std::stoi(value) : -1)) return;
  }
  openLockPanel(context.ws, rooms      ? ToolPanelKind::RoomLock
                            : subjects ? ToolPanelKind::SubjectLock
                                       : ToolPanelKind::TeacherLock);
  showPanel(context);
}

int parseNumber(const std::string& text, int fallback = -1) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos) return fallback;
  return std::stoi(text);
}

// A day as its number or its two letters ("DI").
int parseDay(const std::string& text) {
  if (const int number = parseNumber(text); number >= 0) return number;
  for (int day = 1; day <= 7; ++day) {
    if (DayAbbrev(day) == utf8ToCp1252(text)) return day;
  }
  return -1;
}

// The fields of a script line are separated by "|", as the editor has one input per field.
EntityFields scriptFields(const std::string& text) {
  EntityFields fields;
  std::string field;
  std::istringstream in(utf8ToCp1252(text));
  while (std::getline(in, field, '|')) fields.push_back(field);
  if (!text.empty() && text.back() == '|') fields.emplace_back();
  return fields;
}

// What the script's "base" lines work on: the run begun with "base begin", or, without
// one, the live base data directly.
struct ScriptEditing {
  std::unique_ptr<BaseDataEditor> run;
};

BaseDataEditor& editorFor(BatchRunner& runner, ScriptEditing& state, std::unique_ptr<BaseDataEditor>& direct) {
  if (state.run) return *state.run;
  direct = std::make_unique<BaseDataEditor>(runner.app().workspace(), runner.ui());
  return *direct;
}

bool listLines(BatchRunner& runner, EntityKind kind) {
  const auto lines = entityLines(runner.app().workspace().base, kind);
  for (size_t i = 0; i < lines.size(); ++i) runner.printText(std::to_string(i + 1) + ": " + lines[i]);
  return true;
}

bool beginRun(BatchRunner& runner, ScriptEditing& state, const std::string& rest) {
  state.run = std::make_unique<BaseDataEditor>(runner.app().workspace(), runner.ui());
  if (!state.run->begin(rest == "new")) state.run.reset();
  runner.app().refreshView();
  return true;
}

bool endRun(BatchRunner& runner, ScriptEditing& state, const std::string& rest) {
  if (!state.run) {
    runner.fail("base end: kein Grunddaten-Editor offen");
    return false;
  }
  const auto finish = state.run->finish(utf8ToCp1252(rest));
  if (finish == BaseDataEditor::Finish::SaveFailed) return true;  // the run stays open
  const bool restart = finish == BaseDataEditor::Finish::Saved && state.run->restartRequired();
  state.run.reset();
  runner.app().refreshView();
  if (restart) {
    runner.ui().message("Programmende !", MessageStyle{Icon::Exclamation, kProgramTitle, true});
    runner.app().closeMainWindow();
  }
  return true;
}

bool baseKeyword(BatchRunner& runner, ScriptEditing& state, const std::string& argument) {
  const auto [action, rest] = firstWordAndRest(argument);
  if (action == "begin") return beginRun(runner, state, rest);
  if (action == "end") return endRun(runner, state, rest);
  auto [letter, detail] = firstWordAndRest(rest);
  const auto kind = letter.size() == 1 ? entityKindOfLetter(letter[0]) : std::nullopt;
  if (!kind) {
    runner.fail("base: Liste K, L, F oder R erwartet: " + argument);
    return false;
  }
  std::unique_ptr<BaseDataEditor> direct;
  BaseDataEditor& editor = editorFor(runner, state, direct);
  const auto [numberText, fields] = firstWordAndRest(detail);
  int number = parseNumber(numberText);
  if (action == "list") return listLines(runner, *kind);
  if (action == "add") {
    editor.add(*kind, scriptFields(detail));
  } else if (action == "sort") {
    editor.sort(*kind);
  } else if (number < 0 && *kind == EntityKind::Room && action == "lock-room") {
    editor.toggleRoomLock(runner.app().workspace().base.findRoom(utf8ToCp1252(numberText)));
  } else if (number < 0) {
    runner.fail("base " + action + ": Nummer fehlt");
    return false;
  } else if (action == "insert") {
    editor.insert(*kind, number, scriptFields(fields));
  } else if (action == "replace") {
    editor.replace(*kind, number, scriptFields(fields));
  } else if (action == "delete") {
    editor.remove(*kind, number);
  } else if (action == "lock-room" && *kind == EntityKind::Room) {
    editor.toggleRoomLock(number);
  } else {
    runner.fail("base: unbekannt: " + action);
    return false;
  }
  runner.app().refreshView();
  return true;
}

// "days D P A [W]": the fields of "Zahl der Tage:", "Stunden pro Tag:", "Mittagsanfang:"
// and "Wochenwechsel:" (0 or 1).
bool daysKeyword(BatchRunner& runner, ScriptEditing& state, const std::string& argument) {
  std::istringstream in(argument);
  DaysAndPeriodsInput input;
  std::string alternation;
  if (!(in >> input.days >> input.periods >> input.afternoon)) {
    runner.fail("days: Tage, Stunden und Mittagsanfang erwartet");
    return false;
  }
  in >> alternation;
  input.weekAlternation = alternation == "1";
  std::unique_ptr<BaseDataEditor> direct;
  editorFor(runner, state, direct).applyDaysAndPeriods(input);
  runner.app().refreshView();
  return true;
}

// "options reset" or the eleven values of "Planoptionen", separated by blanks.
bool optionsKeyword(BatchRunner& runner, ScriptEditing& state, const std::string& argument) {
  std::unique_ptr<BaseDataEditor> direct;
  BaseDataEditor& editor = editorFor(runner, state, direct);
  if (argument == "reset") {
    editor.resetPlanOptions();
    return true;
  }
  if (argument.empty()) {
    const auto fields = currentPlanOptionFields(runner.app().workspace().base);
    for (size_t i = 0; i < fields.size(); ++i) runner.print("option " + std::to_string(i + 1) + ":" + fields[i]);
    return true;
  }
  std::istringstream in(argument);
  PlanOptionFields fields;
  for (std::string& field : fields) in >> field;
  editor.applyPlanOptions(fields);
  return true;
}

bool clickKeyword(BatchRunner& runner, const std::string& argument) {
  const auto [dayText, periodText] = firstWordAndRest(argument);
  const int day = parseDay(dayText);
  const int period = parseNumber(periodText);
  if (day < 1 || period < 1) {
    runner.fail("click: Tag und Stunde erwartet");
    return false;
  }
  clickSlot(runner.app(), day, period);
  return true;
}

bool openPanelKeyword(BatchRunner& runner, const std::string& which, const std::string& code) {
  Application& app = runner.app();
  if (which == "teacher" || which == "subject") {
    std::string command = which == "teacher" ? "W:L" : "W:S";
    if (!code.empty()) {
      Workspace& ws = app.workspace();
      const int index =
          which == "teacher" ? ws.base.findTeacher(utf8ToCp1252(code)) : ws.base.findSubject(utf8ToCp1252(code));
      if (index == 0) {
        runner.ui().message("Fehler: " + utf8ToCp1252(code), MessageStyle{Icon::Exclamation});
        return true;
      }
      (which == "teacher" ? ws.shell.currentTeacher : ws.shell.view.currentSubject) = index;
      ws.shell.view.kind = which == "teacher" ? PlanEntity::Teacher : PlanEntity::Subject;
    }
    app.typeCommand(command);
  } else if (which == "room") {
    if (!code.empty()) {
      Workspace& ws = app.workspace();
      const int room = ws.base.findRoom(utf8ToCp1252(code));
      if (room == 0) {
        runner.ui().message("Fehler: " + utf8ToCp1252(code), MessageStyle{Icon::Exclamation});
        return true;
      }
      ws.shell.view.currentRoom = room;
      ws.shell.view.kind = PlanEntity::Room;
    }
    app.typeCommand("W:S R");
  } else if (which == "class") {
    app.typeCommand("W:K");
  } else if (which == "fix") {
    app.typeCommand("W:F");
  } else if (which == "index") {
    openIndexPanelWindow(app);
  } else {
    return false;
  }
  return true;
}

// "panel teacher|subject|room [CODE]", "panel class|fix|index|close", "panel value N",
// "panel classes CODES|all|sek1|sek2", "panel fix-all".
bool panelKeyword(BatchRunner& runner, const std::string& argument) {
  Workspace& ws = runner.app().workspace();
  Ui& ui = runner.ui();
  const auto [action, rest] = firstWordAndRest(argument);
  if (openPanelKeyword(runner, action, rest)) return true;
  if (action == "close") {
    closeToolPanel(ws);
  } else if (action == "value") {
    setLockValue(ws, ui, parseNumber(rest));
  } else if (action == "classes") {
    if (rest == "all" || rest == "sek1" || rest == "sek2") {
      presetLockClasses(ws, rest == "all"    ? ClassPreset::AllClasses
                            : rest == "sek1" ? ClassPreset::LowerSchool
                                             : ClassPreset::UpperSchool);
    } else {
      setLockClasses(ws, ui, utf8ToCp1252(rest));
    }
    runner.printText("classes: " + lockClassesText(ws));
  } else if (action == "fix-all") {
    toggleFixAllPlaced(ws);
  } else {
    runner.fail("panel: unbekannt: " + argument);
    return false;
  }
  return true;
}

bool verifyKeyword(BatchRunner& runner, const std::string&) {
  const auto findings = verifyPlan(runner.app().workspace());
  for (const std::string& line : findings) runner.printText("verify: " + line);
  if (findings.empty()) {
    runner.print("verify: ok");
    return true;
  }
  runner.fail("verify: " + std::to_string(findings.size()) + " Befunde");
  return false;
}

}  // namespace

void registerBaseDataCommands(Application& app) {
  CommandInterpreter& interpreter = app.interpreter();
  interpreter.registerCommand("G:", [&app](CommandContext&, const std::string& command) {
    app.editBaseData(trimmedArgument(command.substr(2)), false);
  });
  interpreter.registerCommand("W:L", lockPanelCommand, 0x07);
  interpreter.registerCommand("W:S", lockPanelCommand, 0x07);
  interpreter.registerCommand(
      "W:K",
      [](CommandContext& context, const std::string&) {
        openClassLockPanel(context.ws);
        showPanel(context);
      },
      0x07);
  interpreter.registerCommand(
      "W:F",
      [](CommandContext& context, const std::string&) {
        openFixPanel(context.ws);
        showPanel(context);
      },
      0x07);
}

bool clickSlot(Application& app, int day, int period) {
  Workspace& ws = app.workspace();
  ws.shell.currentDay = day;
  ws.shell.currentPeriod = period;
  const bool changed = toolPanelSlotClicked(ws, app.ui());
  app.refreshView();
  return changed;
}

void openIndexPanelWindow(Application& app) {
  openIndexPanel(app.workspace());
  app.ui().openEditor(EditorRequest{EditorKind::ToolPanel, 0, static_cast<int>(app.workspace().panels.open)});
}

void addBaseDataKeywords(BatchRunner& runner) {
  auto state = std::make_shared<ScriptEditing>();
  runner.addKeyword("base", [state](BatchRunner& r, const std::string& a) { return baseKeyword(r, *state, a); });
  runner.addKeyword("days", [state](BatchRunner& r, const std::string& a) { return daysKeyword(r, *state, a); });
  runner.addKeyword("options", [state](BatchRunner& r, const std::string& a) { return optionsKeyword(r, *state, a); });
  runner.addKeyword("click", clickKeyword);
  runner.addKeyword("panel", panelKeyword);
  runner.addKeyword("verify", verifyKeyword);
}

}  // namespace quort
