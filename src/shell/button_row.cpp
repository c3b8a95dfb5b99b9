#include "shell/button_row.h"

#include "shell/application.h"
#include "shell/exam_commands.h"
#include "shell/main_view_model.h"
#include "shell/substitution_menu.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

const char* const kDefaultLabels[kMainButtonCount] = {
    "zur\374ck", "entfernen", "einf\xFCgen", "anzeigen", "zu setzen", "Resourcen", "\334bersicht", "Koppl.Nr.",
    "Kl",        "Le",        "Ra",          "Fa",       "Ko",        "Bl",        "zu setzen"};

bool dayMode(int workMode) { return workMode == 3 || workMode == 4; }

std::string couplingLabel(const ShellState& shell) {
  if (shell.workMode == 2) return "Kurse";
  // The label names what a press switches to.
  return shell.showCouplingNumbers ? "Koppl.Fach" : "Koppl.Nr.";
}

std::string labelOf(const ShellState& shell, MainButton button) {
  if (dayMode(shell.workMode)) {
    switch (button) {
      case MainButton::Remove:
        return "Vorgaben";
      case MainButton::ToPlace:
        return "Kl.Plan";
      case MainButton::Couplings:
        return "St";
      case MainButton::Blocks:
        return "Me";
      default:
        break;
    }
  }
  if (button == MainButton::Coupling) return couplingLabel(shell);
  if (button == MainButton::PlanToggle && shell.workMode == 3) {
    return shell.showOriginalPlan ? "Org.Plan" : "Vertr.Plan";
  }
  return kDefaultLabels[static_cast<int>(button)];
}

void buttonUnavailable(Application& app) {
  app.ui().message("Funktion nicht verf\xFCgbar!", MessageStyle{Icon::Information});
}

// "Kl", "Le", "Ra", "Fa": a pick list of the codes; the chosen entity's week is shown.
void chooseEntity(Application& app, PlanEntity kind) {
  if (chooseAndSelectEntity(app.workspace(), app.ui(), kind)) app.typeCommand("X:" + viewLetter(kind));
}

void pressDayModeButton(Application& app, MainButton button) {
  switch (button) {
    case MainButton::ToPlace:
      app.typeCommand("X:K");
      return;
    case MainButton::Insert:
      if (app.workspace().shell.workMode == 3) {
        app.typeCommand(">");
        return;
      }
      break;
    default:
      break;
  }
  buttonUnavailable(app);  // the substitution and exam functions of these buttons
}

}  // namespace

std::vector<ButtonState> buttonRow(const Workspace& ws) {
  const ShellState& shell = ws.shell;
  const bool dataThere = ws.base.loaded();
  std::vector<ButtonState> row;
  for (int i = 0; i < kMainButtonCount; ++i) {
    const auto button = static_cast<MainButton>(i);
    ButtonState state{button, labelOf(shell, button), dataThere, true};
    if (button == MainButton::Back && shell.workMode == 4) state.enabled = false;
    if (button == MainButton::PlanToggle) state.isButton = shell.workMode == 3;
    row.push_back(state);
  }
  return row;
}

void pressButton(Application& app, MainButton button) {
  Workspace& ws = app.workspace();
  if (!ws.base.loaded()) return;
  ShellState& shell = ws.shell;
  const bool inDayMode = dayMode(shell.workMode);
  if (pressSubstitutionButton(app, button)) return;
  if (pressExamButton(app, button)) return;
  switch (button) {
    case MainButton::Back:
      if (shell.workMode != 4) app.typeCommand("U");
      return;
    case MainButton::Remove:
    case MainButton::Insert:
    case MainButton::ToPlace:
    case MainButton::Couplings:
    case MainButton::Blocks:
      if (inDayMode) return pressDayModeButton(app, button);
      break;
    default:
      break;
  }
  switch (button) {
    case MainButton::Remove:
      app.typeCommand("<");
      return;
    case MainButton::Insert:
      app.typeCommand(">");
      return;
    case MainButton::Show:
      app.typeCommand("X:" + viewLetter(shell.view.kind));
      return;
    case MainButton::ToPlace:
      app.typeCommand("P:");
      return;
    case MainButton::Resources:
      app.typeCommand("E");
      return;
    case MainButton::Coupling:
      if (shell.workMode == 2) return buttonUnavailable(app);
      shell.showCouplingNumbers = !shell.showCouplingNumbers;
      return;
    case MainButton::Classes:
      return chooseEntity(app, PlanEntity::Class);
    case MainButton::Teachers:
      return chooseEntity(app, PlanEntity::Teacher);
    case MainButton::Rooms:
      return chooseEntity(app, PlanEntity::Room);
    case MainButton::Subjects:
      return chooseEntity(app, PlanEntity::Subject);
    case MainButton::Couplings:
      app.typeCommand("S:");
      return;
    case MainButton::Blocks:
      app.typeCommand("B:");
      return;
    case MainButton::PlanToggle:
      if (shell.workMode == 3) shell.showOriginalPlan = !shell.showOriginalPlan;
      return;
    case MainButton::Overview:
      return buttonUnavailable(app);  // the plan overview
    case MainButton::Back:
      return;
  }
}

}  // namespace quort
