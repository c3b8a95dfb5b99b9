#include "output/printout_dialogs.h"

#include <functional>
#include <string>
#include <vector>

#include "output/plan_printouts.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// What one menu item prints.
struct Printout {
  const char* title;
  const char* fieldLabel;  // nullptr: nothing to choose
  PlanEntity kind;
  const char* textFile;
  bool weekPlans;
};

bool printoutFor(int menuId, Printout& printout) {
  switch (menuId) {
    case 120:
      printout = {"Ausgabe von Klassenpl\xE4nen", "$Klassen (leer = alle):", PlanEntity::Class, "klassen.txt", true};
      return true;
    case 121:
      printout = {"Ausgabe von Lehrerpl\xE4nen", "$Lehrer (leer = alle):", PlanEntity::Teacher, "lehrer.txt", true};
      return true;
    case 122:
      printout = {"Ausgabe von Raumpl\xE4nen", "$R\xE4ume (leer = alle):", PlanEntity::Room, "raum.txt", true};
      return true;
    case 129:
      printout = {"Ausgabe von Klassendeputaten", "$Klassen (leer = alle):", PlanEntity::Class, "klasdep.txt", false};
      return true;
    case 130:
      printout = {"Ausgabe von Lehrerdeputaten", "$Lehrer (leer = alle):", PlanEntity::Teacher, "lehrdep.txt", false};
      return true;
    case 127:
      printout = {"Kopplungen drucken", nullptr, PlanEntity::Class, "kopplung.txt", false};
      return true;
    case 131:
      printout = {"Grunddaten drucken", nullptr, PlanEntity::Class, "grunddat.txt", false};
      return true;
    default:
      return false;
  }
}

int findEntity(const Workspace& ws, PlanEntity kind, const std::string& code) {
  switch (kind) {
    case PlanEntity::Class:
      return ws.base.findClass(code);
    case PlanEntity::Teacher: {
      const int teacher = ws.base.findTeacher(code);
      return teacher < ws.base.nTeachers() ? teacher : 0;
    }
    case PlanEntity::Room:
      return ws.base.findRoom(code);
    case PlanEntity::Subject:
      return 0;
  }
  return 0;
}

// Codes separated by "," or blanks; false for one that names nothing.
bool parseCodes(const Workspace& ws, PlanEntity kind, const std::string& text, std::vector<int>& entities) {
  std::string code;
  for (size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ',';
    if (c != ',' && c != ' ' && c != ';') {
      code += c;
      continue;
    }
    if (code.empty()) continue;
    const int entity = findEntity(ws, kind, code);
    if (entity < 1) return false;
    entities.push_back(entity);
    code.clear();
  }
  return true;
}

bool runPrintout(Workspace& ws, Ui& ui, const Printout& printout, int menuId, const std::vector<int>& entities,
                 const std::string& textFile) {
  if (printout.weekPlans) return printWeekPlans(ws, ui, printout.kind, entities, textFile);
  std::vector<std::string> lines;
  if (menuId == 127) {
    lines = couplingPrintoutLines(ws);
  } else if (menuId == 131) {
    lines = baseDataListLines(ws);
  } else {
    lines = assignmentListLines(ws, printout.kind, entities);
  }
  return printList(ws, ui, printout.title, lines, textFile);
}

}  // namespace

bool runPrintoutDialog(Workspace& ws, Ui& ui, int menuId) {
  Printout printout{};
  if (!printoutFor(menuId, printout)) return false;
  const std::string field = printout.fieldLabel ? std::string(printout.fieldLabel) + "|" : std::string();
  for (;;) {
    const ChoiceOutcome outcome =
        ChoiceBox(ws, ui, printout.title, field + "Drucken|Textdatei|Druckerkonfiguration|Abbruch", printout.title);
    const int button = outcome.choiceResult - (printout.fieldLabel ? 1 : 0);
    if (button < 1 || button > 3) return true;
    std::vector<int> entities;
    const std::string codes = outcome.choiceValues.substr(0, outcome.choiceValues.find('|'));
    if (printout.fieldLabel && !parseCodes(ws, printout.kind, codes, entities)) {
      ui.message("Eingabefehler!");
      continue;
    }
    if (button == 1) runPrintout(ws, ui, printout, menuId, entities, {});
    if (button == 2) {
      if (runPrintout(ws, ui, printout, menuId, entities, printout.textFile)) {
        ui.message(std::string(printout.textFile) + " geschrieben.", MessageStyle{Icon::Information});
      }
    }
    if (button == 3) {
      PrinterSetup(ws, ui, printout.title, [&] { runPrintout(ws, ui, printout, menuId, entities, {}); });
    }
    return true;
  }
}

}  // namespace quort
