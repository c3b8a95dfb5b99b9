#include "shell/output_commands.h"

#include <string>
#include <vector>

#include "shell/application.h"
#include "shell/command_interpreter.h"
#include "substitution/extra_work_reports.h"
#include "substitution/substitution_output.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::vector<std::string> selectedTeachers(const std::string& text) {
  std::vector<std::string> codes;
  size_t start = 0;
  while (start < text.size()) {
    const size_t bar = text.find('|', start);
    const std::string code = text.substr(start, bar - start);
    if (!code.empty()) codes.push_back(code);
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return codes;
}

void substitutionPlanCommand(CommandContext& context, const std::string& command) {
  if (command.size() <= 3) {
    if (const auto chosen = outputDialog(context.ws, context.ui)) context.issue(*chosen);
    return;
  }
  const auto request = parseOutputCommand(command.substr(3));
  if (!request) return context.ui.message("Eingabefehler!");
  writeOutput(context.ws, context.ui, *request);
}

}  // namespace

void registerOutputCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand("O:V", substitutionPlanCommand);
  interpreter.registerCommand("O:M", [](CommandContext& context, const std::string& command) {
    extraWorkReport(context.ws, context.ui, selectedTeachers(command.substr(3)));
  });
  interpreter.registerCommand("O:U", [](CommandContext& context, const std::string& command) {
    absenceReport(context.ws, context.ui, selectedTeachers(command.substr(3)));
  });
  interpreter.registerCommand(
      "O:A", [](CommandContext& context, const std::string&) { lostLessonsReport(context.ws, context.ui); });
}

bool runOutputMenuItem(Application& app, int id) {
  Workspace& ws = app.workspace();
  if (!ws.base.loaded()) return false;
  switch (id) {
    case 123:
      app.typeCommand("O:A");
      return true;
    case 124:
      app.typeCommand("O:M");
      return true;
    case 125:
      app.typeCommand("O:V");
      return true;
    case 148:
      app.typeCommand("O:U");
      return true;
    case 142:
      enterExtraWork(ws, app.ui());
      return true;
    case 147:
      importExtraWork(ws, app.ui());
      return true;
    default:
      return false;
  }
}

}  // namespace quort
