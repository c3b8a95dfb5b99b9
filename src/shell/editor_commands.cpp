#include "shell/editor_commands.h"

#include <cctype>

#include "data/codepage.h"
#include "data/plan_records.h"
#include "editors/assignment_editing.h"
#include "editors/assignment_entry.h"
#include "editors/block_editing.h"
#include "editors/code_lookup.h"
#include "editors/coupling_editing.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/command_interpreter.h"
#include "shell/main_view_model.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string trimmedText(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The number a command ends with; 0 when it has none.
int trailingNumber(const std::string& text) {
  const std::string rest = trimmedText(text);
  if (rest.empty() || rest.find_first_not_of("0123456789") != std::string::npos || rest.size() > 6) return 0;
  return std::stoi(rest);
}

// "D:" the buffer, "D:K" [class] a class's assignments, "D:L" [teacher] a teacher's.
void assignmentEditorCommand(CommandContext& context, const std::string& command) {
  Workspace& ws = context.ws;
  const char view = command.size() > 2 ? command[2] : ' ';
  const std::string code = trimmedText(command.size() > 3 ? command.substr(3) : std::string());
  if (view == 'K' || view == 'L') {
    const CodeList list = view == 'K' ? CodeList::Class : CodeList::Teacher;
    if (!code.empty()) {
      const int index = lookupCode(ws.base, list, code, &context.ui);
      if (index == 0) return;
      (view == 'K' ? ws.shell.currentClass : ws.shell.currentTeacher) = index;
    }
    context.ui.openEditor(EditorRequest{EditorKind::Assignments, view == 'L' ? 1 : 2, 0});
    return;
  }
  context.ui.openEditor(EditorRequest{EditorKind::Assignments, 0, 0});
}

// "H:K" and "H:L": choose a class or teacher, then its assignments.
void chooseForEditorCommand(CommandContext& context, const std::string& command) {
  const bool classes = command.compare(0, 3, "H:K") == 0;
  const PlanEntity kind = classes ? PlanEntity::Class : PlanEntity::Teacher;
  ListChoiceRequest request{classes ? "Klasse w\xE4hlen" : "Lehrer w\xE4hlen", entityCodes(context.ws, kind),
                            currentEntity(context.ws, kind) - 1};
  const int chosen = context.ui.chooseFromList(request);
  if (chosen < 0) return;
  context.issue(std::string(classes ? "D:K" : "D:L") + request.entries[static_cast<size_t>(chosen)]);
}

void couplingEditorCommand(CommandContext& context, const std::string& command) {
  const int number = trailingNumber(command.substr(2));
  context.ui.openEditor(EditorRequest{EditorKind::Coupling, 0, number <= context.ws.plan.nCouplings() ? number : 0});
}

// "B:" alone shows the block list, "B:n" opens the block editor on block n.
void blockCommand(CommandContext& context, const std::string& command) {
  const int number = trailingNumber(command.substr(2));
  if (number < 1 || number > context.ws.plan.nBlocks()) {
    context.ws.shell.mainView = MainView::BlockList;
    return;
  }
  context.ui.openEditor(EditorRequest{EditorKind::Block, 0, number});
}

std::pair<std::string, std::string> splitWord(const std::string& text) {
  const size_t blank = text.find_first_of(" \t");
  if (blank == std::string::npos) return {text, {}};
  return {text.substr(0, blank), trimmedText(text.substr(blank + 1))};
}

// "N TEXT": the number and the rest; false without a number.
bool numberAndText(const std::string& argument, int& number, std::string& text) {
  const auto [first, rest] = splitWord(argument);
  if (first.empty() || first.find_first_not_of("0123456789") != std::string::npos || first.size() > 6) return false;
  number = std::stoi(first);
  text = utf8ToCp1252(rest);
  return true;
}

bool assignmentKeyword(BatchRunner& runner, const std::string& argument) {
  Workspace& ws = runner.app().workspace();
  Ui& ui = runner.ui();
  const auto [action, rest] = splitWord(argument);
  const auto parse = [&](const std::string& line) {
    return parseAssignmentLine(AssignmentParseContext{ws.base, ws.plan.nCouplings(), &ui}, line);
  };
  constexpr AssignmentTarget kList = AssignmentTarget::Assignments;
  int number = 0;
  std::string text;
  if (action == "add") {
    if (const auto entry = parse(utf8ToCp1252(rest))) addAssignment(ws.plan, kList, *entry);
    return true;
  }
  if (action == "copy-from") {
    const int source = lookupCode(ws.base, CodeList::Class, utf8ToCp1252(rest), &ui);
    if (source != 0) copyAssignmentsFromClass(ws, ui, kList, source, ws.shell.currentClass);
    return true;
  }
  if (!numberAndText(rest, number, text)) {
    runner.fail("assignment: Nummer fehlt");
    return false;
  }
  if (action == "remove") {
    removeAssignment(ws.plan, ui, kList, number);
    return true;
  }
  const auto entry = action == "insert" || action == "replace" ? parse(text) : std::nullopt;
  if (action == "insert" && entry) insertAssignment(ws.plan, kList, number, *entry);
  if (action == "replace" && entry && !replaceAssignment(ws.plan, kList, number, *entry)) {
    ui.message("Keine Daten ausgew\xE4hlt!");
  }
  if (action != "insert" && action != "replace") {
    runner.fail("assignment: unbekannt: " + action);
    return false;
  }
  return true;
}

// "coupling" and "block" take the same three actions.
template <typename Add, typename Replace, typename Delete>
bool listKeyword(BatchRunner& runner, const std::string& name, const std::string& argument, Add add, Replace replace,
                 Delete remove) {
  Workspace& ws = runner.app().workspace();
  const auto [action, rest] = splitWord(argument);
  if (action == "add") {
    add(ws, runner.ui(), utf8ToCp1252(rest));
    return true;
  }
  int number = 0;
  std::string text;
  if ((action != "replace" && action != "delete") || !numberAndText(rest, number, text)) {
    runner.fail(name + ": " + argument);
    return false;
  }
  if (action == "replace") {
    replace(ws, runner.ui(), number, text);
  } else {
    remove(ws, runner.ui(), number);
  }
  return true;
}

bool listLinesKeyword(BatchRunner& runner, const std::string& argument) {
  const Workspace& ws = runner.app().workspace();
  if (argument == "assignments") {
    const std::string& list = ws.plan.assignments;
    for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
      runner.printText(assignmentLongLine(ws.base, std::string_view(list).substr(i * AssignmentView::kSize)));
    }
  } else if (argument == "couplings") {
    for (int k = 1; k <= ws.plan.nCouplings(); ++k) runner.printText(couplingText(ws, k));
  } else if (argument == "blocks") {
    for (int b = 1; b <= ws.plan.nBlocks(); ++b) runner.printText(blockText(ws, b));
  } else {
    runner.fail("list: assignments, couplings oder blocks erwartet");
    return false;
  }
  return true;
}

}  // namespace

void registerEditorCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand("D:", assignmentEditorCommand, kPlanningModes);
  interpreter.registerCommand("H:K", chooseForEditorCommand);
  interpreter.registerCommand("H:L", chooseForEditorCommand);
  interpreter.registerCommand("T:", couplingEditorCommand, kPlanningModes);
  interpreter.registerCommand("B:", blockCommand, kPlanningModes);
}

void addEditorKeywords(BatchRunner& runner) {
  runner.addKeyword("assignment", assignmentKeyword);
  runner.addKeyword("coupling", [](BatchRunner& r, const std::string& argument) {
    return listKeyword(r, "coupling", argument, addCoupling, replaceCoupling,
                       [](Workspace& ws, Ui& ui, int number) { return deleteCouplings(ws, ui, number); });
  });
  runner.addKeyword("block", [](BatchRunner& r, const std::string& argument) {
    return listKeyword(r, "block", argument, addBlock, replaceBlock, deleteBlock);
  });
  runner.addKeyword("list", listLinesKeyword);
}

}  // namespace quort
