#include "shell/menu_actions.h"

#include "shell/application.h"
#include "shell/base_data_commands.h"
#include "shell/course_commands.h"
#include "shell/exam_output_commands.h"
#include "shell/exchange_commands.h"
#include "shell/generation_commands.h"
#include "shell/main_view_model.h"
#include "shell/menu_table.h"
#include "shell/output_commands.h"
#include "shell/print_commands.h"
#include "shell/substitution_menu.h"
#include "timetable/plan_deletion.h"
#include "workspace/dialogs.h"
#include "workspace/text_editor_session.h"
#include "workspace/text_files.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

void menuItemUnavailable(Application& app) {
  app.ui().message("Funktion nicht verf\xFCgbar!", MessageStyle{Icon::Information});
}

// Items that only type a command.
const char* commandOf(int id) {
  switch (id) {
    case 119:
      return "G:";
    case 110:
      return "S:";
    case 111:
      return "B:";
    case 112:
      return "H:K";
    case 113:
      return "H:L";
    case 114:
      return "D:";
    case 134:
      return "W:F";
    default:
      return nullptr;
  }
}

// "Sperren": the locks work on the plan of one class, teacher or subject, so that one is
// chosen first and shown; the lock panel follows. Closing the chooser opens no panel.
bool chooseForLocks(Application& app, int id) {
  PlanEntity kind = PlanEntity::Class;
  const char* command = "W:K";
  if (id == 116) {
    kind = PlanEntity::Teacher;
    command = "W:L";
  } else if (id == 117) {
    // In the room plans the same item locks rooms: " - Raumsperren".
    const bool rooms = app.workspace().shell.view.kind == PlanEntity::Room;
    kind = rooms ? PlanEntity::Room : PlanEntity::Subject;
    command = rooms ? "W:S R" : "W:S";
  } else if (id != 115) {
    return false;
  }
  if (chooseAndSelectEntity(app.workspace(), app.ui(), kind)) app.typeCommand(command);
  return true;
}

// "Einblenden": the set-aside assignments come back behind the others.
void showBufferedAssignments(Application& app) {
  PlanTables& plan = app.workspace().plan;
  if (plan.assignmentBuffer.empty()) return;
  plan.assignments += plan.assignmentBuffer;
  plan.assignmentBuffer.clear();
  plan.modifiedPlan = true;
}

bool runFileItem(Application& app, int id) {
  switch (id) {
    case 100:
      app.editBaseData("", true);
      return true;
    case 101:
      app.open("");
      return true;
    case 102:
      app.save();
      return true;
    case 103:
      app.requestEnd();
      return true;
    case 152:
      runExchangeMenu(app);
      return true;
    case 136:
      runDistributionMenu(app);
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string versionInfoText() {
  return Application::versionText() +
         "\r\rStunden- und Vertretungsplanung\rf\xFCr Gymnasien und Gesamtschulen\r\r"
         "Hilfe: Men\xFC \"Hilfen\" oder Knopf \"Hilfen\" in den Dialogen.";
}

namespace {

void runMenuItemSteps(Application& app, int id, const std::string& commandField);

// The caption without its accelerator marks: "&Plan" names the step "Plan".
std::string menuStepName(const std::string& caption) {
  std::string name;
  for (const char c : caption) {
    if (c != '&') name += c;
  }
  return name;
}

}  // namespace

// Every menu item that changes the plan (editors, runs, deletions) is one undo step; a
// file item that opens another plan clears the history itself.
void runMenuItem(Application& app, int id, const std::string& commandField) {
  Workspace& ws = app.workspace();
  const MenuNode* item = findMenuItem(id);
  ws.history.begin(ws.plan);
  runMenuItemSteps(app, id, commandField);
  ws.history.commit(ws.plan, item != nullptr ? menuStepName(item->caption) : std::string());
}

namespace {

void runMenuItemSteps(Application& app, int id, const std::string& commandField) {
  Workspace& ws = app.workspace();
  if (runFileItem(app, id)) return;
  if (runPrintMenuItem(app, id)) return;
  if (runCourseMenuItem(app, id)) return;
  if (runOutputMenuItem(app, id)) return;
  if (runExamOutputMenuItem(app, id)) return;
  if (((id >= 104 && id <= 127) || id == 154) && !ws.base.loaded()) return;
  if (ws.base.loaded() && runSubstitutionMenuItem(app, id)) return;
  if (const char* command = commandOf(id)) {
    app.typeCommand(command);
    return;
  }
  if (chooseForLocks(app, id)) return;
  switch (id) {
    case 106:
      deleteLessonsToPlace(ws, app.ui());
      return;
    case 107:
      deletePlan(ws, app.ui());
      return;
    case 104:
      app.typeCommand("^" + commandField);
      return;
    case 154:
      app.typeCommand("^C " + commandField);
      return;
    case 160:
      app.typeCommand("^B" + commandField);
      return;
    case 161:
      app.typeCommand("^" + commandField);
      return;
    case 132:
      openGenerationDialog(ws, app.ui(), commandField, 0);
      return;
    case 133:
      showBufferedAssignments(app);
      return;
    case 141:
      openIndexPanelWindow(app);
      return;
    case 135:
      TextEditor(ws, app.ui(), dayTextFiles(ws));
      return;
    case 150:
      ShowHelp(ws, app.ui());
      return;
    case 151:
      app.ui().message(versionInfoText(), MessageStyle{Icon::Information, kProgramTitle, true});
      return;
    default:
      menuItemUnavailable(app);
  }
}

}  // namespace

}  // namespace quort
