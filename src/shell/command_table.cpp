#include "shell/command_table.h"

#include "shell/automation_commands.h"
#include "shell/command_interpreter.h"
#include "shell/completion_commands.h"
#include "shell/editor_commands.h"
#include "shell/generation_commands.h"
#include "shell/main_view_model.h"
#include "shell/output_commands.h"
#include "shell/placement_commands.h"
#include "shell/substitution_commands.h"
#include "workspace/plan_file.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// The command beginnings the main window knows, with the work modes that accept them.
void registerKnownCommands(CommandInterpreter& interpreter) {
  const char* anyMode[] = {">", "<", "E:", "H:K", "H:L", "O:", "P:", "U:", "X:"};
  for (const char* prefix : anyMode) interpreter.registerUnavailable(prefix);
  for (const char* prefix : {"B:", "D:", "S:", "T:"}) interpreter.registerUnavailable(prefix, kPlanningModes);
}

// "U:" (button "zurück") returns to the copy taken before the last change.
void registerPlanCommands(CommandInterpreter& interpreter) {
  interpreter.registerCommand("U:",
                              [](CommandContext& context, const std::string&) { RestorePlanRecords(context.ws); });
}

}  // namespace

void registerAllCommands(CommandInterpreter& interpreter) {
  registerKnownCommands(interpreter);
  registerPlanCommands(interpreter);
  registerViewCommands(interpreter);
  registerPlacementCommands(interpreter);
  registerEditorCommands(interpreter);
  registerGenerationCommands(interpreter);
  registerAutomationCommands(interpreter);
  registerSubstitutionCommands(interpreter);
  registerCompletionCommands(interpreter);
  registerOutputCommands(interpreter);
}

}  // namespace quort
