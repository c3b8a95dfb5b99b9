#include "shell/substitution_menu.h"

#include <string>
#include <vector>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "shell/application.h"
#include "shell/button_row.h"
#include "substitution/day_files.h"
#include "substitution/day_plan.h"
#include "substitution/day_records.h"
#include "substitution/extra_work_log.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// "#Auswahl|alle|Abbruch" of the two deletions: 1 the list, 2 everything, else nothing.
int deletionChoice(Application& app, const std::string& title) {
  return ChoiceBox(app.workspace(), app.ui(), title, "#Auswahl|alle|Abbruch", title).choiceResult;
}

void deleteSubstitutions(Application& app) {
  Workspace& ws = app.workspace();
  const int choice = deletionChoice(app, "L\xF6schen von Vertretungen:");
  if (choice == 1) app.typeCommand("D:");
  if (choice == 2 && app.ui().askYesNo("Alle Vertretungen l\xF6schen?", MessageStyle{Icon::Question})) {
    ws.plan.openLessons.clear();
    ws.plan.modifiedPlan = true;
  }
}

void deleteFreedLessons(Application& app) {
  Workspace& ws = app.workspace();
  const int choice = deletionChoice(app, "L\xF6schen von Stattstunden:");
  if (choice == 1) {
    const int chosen = app.ui().chooseFromList({"L\xF6schen von Stattstunden:", freedLessonLines(ws), 0});
    if (chosen < 0 || static_cast<size_t>(chosen) >= recordCount(ws.plan.freedLessons, FreedLessonView::kSize)) return;
    removeRecordAt(ws.plan.freedLessons, static_cast<size_t>(chosen), FreedLessonView::kSize);
    ws.plan.modifiedPlan = true;
  }
  if (choice == 2 && app.ui().askYesNo("Alle Stattstunden l\xF6schen?", MessageStyle{Icon::Question})) {
    ws.plan.freedLessons.clear();
    ws.plan.modifiedPlan = true;
  }
}

}  // namespace

bool runSubstitutionMenuItem(Application& app, int id) {
  Workspace& ws = app.workspace();
  Ui& ui = app.ui();
  switch (id) {
    case 105:
      if (DatePrompt(ws, ui, "Protokolldatei pflegen ab Datum", 0)) maintainLog(ws, ui, ws.dialogs.currentDate);
      return true;
    case 149:
      if (DatePrompt(ws, ui, "Vertretungsplan f\xFCr ...", 0)) rebuildDay(ws, ui, ws.dialogs.currentDate);
      return true;
    case 107:
      if (ws.shell.workMode != 3) return false;
      if (DatePrompt(ws, ui, "Vertretungsplan l\xF6schen f\xFCr Datum", 0)) clearDay(ws, ui, ws.dialogs.currentDate);
      return true;
    case 108:
      deleteSubstitutions(app);
      return true;
    case 109:
      deleteFreedLessons(app);
      return true;
    case 143: {
      const std::string& code = ws.base.classes[static_cast<size_t>(ws.shell.currentClass)].code;
      app.typeCommand("Z:,K:" + code.substr(0, code.find_last_not_of(' ') + 1));
      return true;
    }
    default:
      return false;
  }
}

std::vector<std::string> dayOpenLessonLines(const Workspace& ws) {
  const int day = Weekday(ws.dialogs.currentDate);
  return day >= 1 && day <= 6 ? openLessonLines(ws, day) : std::vector<std::string>{};
}

std::string openLessonCommand(const Workspace& ws, int row) {
  const int day = Weekday(ws.dialogs.currentDate);
  int seen = 0;
  for (size_t i = 0; i < recordCount(ws.plan.openLessons, OpenLessonView::kSize); ++i) {
    const OpenLessonView open(ws.plan.openLessons, i);
    if (open.day() != day || seen++ != row) continue;
    const std::string& code = ws.base.classes[static_cast<size_t>(open.schoolClass())].code;
    return "Z:" + std::to_string(shownPeriod(ws, open.period())) +
           ",K:" + code.substr(0, code.find_last_not_of(' ') + 1) + ">";
  }
  return {};
}

bool pressSubstitutionButton(Application& app, MainButton button) {
  if (app.workspace().shell.workMode != 3) return false;
  switch (button) {
    case MainButton::Remove:
      app.typeCommand("^");
      return true;
    case MainButton::Show:
      app.typeCommand("V:");
      return true;
    case MainButton::Couplings:
      app.ui().showPickList("Stattstunden:", freedLessonLines(app.workspace()));
      return true;
    case MainButton::Blocks:
      app.typeCommand("P:");
      return true;
    default:
      return false;
  }
}

}  // namespace quort
