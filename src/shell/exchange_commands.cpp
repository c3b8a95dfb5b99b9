#include "shell/exchange_commands.h"

#include <algorithm>
#include <string>

#include "data/codepage.h"
#include "data/file_access.h"
#include "output/exchange_export.h"
#include "output/exchange_import.h"
#include "output/statistics_export.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/scripted_ui.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// The import ends the program, so the question the end would ask comes first: later the
// plan in memory has been replaced.
void runImport(Application& app, ExchangeImportMode mode) {
  Workspace& ws = app.workspace();
  if (Application::planMustBeSavedOnEnd(ws)) SavePlan(ws, app.ui(), SaveKind::Normal);
  if (!ImportExchange(ws, app.ui(), mode)) return;
  ws.shell.planOpened = false;
  app.closeMainWindow();
}

bool exchangeKeyword(BatchRunner& runner, const std::string& argument) {
  const auto [action, rest] = firstWordAndRest(argument);
  const auto [file, option] = firstWordAndRest(rest);
  Application& app = runner.app();
  if (file.empty() || (action != "export" && action != "import-base" && action != "import-plan")) {
    runner.fail("exchange: export|import-base|import-plan DATEI erwartet");
    return false;
  }
  if (action == "export") {
    if (!app.workspace().base.loaded()) {
      runner.fail("exchange: keine Grunddaten geladen");
      return false;
    }
    runner.ui().queueAnswerFirst(utf8ToCp1252(file));
    if (ExportExchange(app.workspace(), app.ui(), {option == ";" ? ';' : ','})) return true;
    runner.fail("exchange: nicht exportiert: " + file);
    return false;
  }
  const ExchangeImportMode mode = action == "import-base" ? ExchangeImportMode::BaseData : ExchangeImportMode::Plan;
  Workspace& ws = app.workspace();
  if (Application::planMustBeSavedOnEnd(ws)) SavePlan(ws, app.ui(), SaveKind::Normal);
  runner.ui().queueAnswerFirst(option.empty() ? "0" : option);
  runner.ui().queueAnswerFirst(utf8ToCp1252(file));
  if (!ImportExchange(ws, app.ui(), mode)) {
    runner.fail("exchange: nicht importiert: " + file);
    return false;
  }
  ws.shell.planOpened = false;
  app.closeMainWindow();
  return true;
}

}  // namespace

void runExchangeMenu(Application& app) {
  Workspace& ws = app.workspace();
  const std::string savedTopic = ws.shell.helpTopic;
  ws.shell.helpTopic = "TAVIN.hlp~dif";
  const ChoiceOutcome outcome =
      ChoiceBox(ws, app.ui(), "DIF-Import/Export:", "Grunddaten importieren|Plan importieren|Plan exportieren (,)|Ende",
                "DIF-Import/Export:");
  ws.shell.helpTopic = savedTopic;
  switch (outcome.choiceResult) {
    case 1:
      runImport(app, ExchangeImportMode::BaseData);
      return;
    case 2:
      runImport(app, ExchangeImportMode::Plan);
      return;
    case 3:
      if (ws.base.loaded()) ExportExchange(ws, app.ui());
      return;
    default:
      return;
  }
}

namespace {

// The list shows its names separated by "; " in the one-line field of the dialog.
std::string shownCourseFiles(const std::string& list) {
  std::string shown;
  size_t start = 0;
  while (start < list.size()) {
    const size_t end = std::min(list.find_first_of("\r\n", start), list.size());
    if (end > start) shown += (shown.empty() ? "" : "; ") + list.substr(start, end - start);
    start = end + 1;
  }
  return shown;
}

std::string courseFilesOfField(const std::string& field) {
  std::string list;
  size_t start = 0;
  while (start < field.size()) {
    const size_t end = std::min(field.find(';', start), field.size());
    const std::string piece = field.substr(start, end - start);
    const size_t first = piece.find_first_not_of(' ');
    if (first != std::string::npos) {
      list += (list.empty() ? "" : "\r\n") + piece.substr(first, piece.find_last_not_of(' ') - first + 1);
    }
    start = end + 1;
  }
  return list;
}

}  // namespace

// "UVD.TXT erzeugen": the course files of the upper school are typed into the field or
// picked one by one with the file chooser; "Erzeugen" runs the export with them.
void runDistributionMenu(Application& app) {
  Workspace& ws = app.workspace();
  if (!ws.base.loaded()) return;
  const std::string savedTopic = ws.shell.helpTopic;
  ws.shell.helpTopic = "TAVIN.hlp~uvd";
  std::string courseFiles;
  bool run = false;
  for (;;) {
    const ChoiceOutcome outcome = ChoiceBox(
        ws, app.ui(), "Kursdateien der Oberstufe:",
        "$Kursdateien:" + shownCourseFiles(courseFiles) + "|Kursdatei w\xE4hlen|Erzeugen|Abbruch", "UVD.TXT erzeugen");
    courseFiles = courseFilesOfField(outcome.values(1)[0]);
    // The items count from the text field: 2 picks a file, 3 runs the export.
    if (outcome.choiceResult != 2) {
      run = outcome.choiceResult == 3;
      break;
    }
    const std::string name = FileChooser(ws, app.ui(), FileChooserRequest{"Kursdatei", "R", "*.bk", ""});
    if (name.find('.') != std::string::npos) courseFiles = addCourseFile(courseFiles, currentDirectoryText(), name);
  }
  ws.shell.helpTopic = savedTopic;
  if (run) ExportDistribution(ws, app.ui(), courseFiles);
  app.refreshView();
}

void addExchangeKeywords(BatchRunner& runner) {
  runner.addKeyword("exchange", exchangeKeyword);
  // statistics export [BK-FILES...]: UVD.TXT from STAT.INI in the working directory
  runner.addKeyword("statistics", [](BatchRunner& r, const std::string& argument) {
    const auto [action, files] = firstWordAndRest(argument);
    std::string list = files;
    std::replace(list.begin(), list.end(), ' ', '\n');
    if (action != "export" || !r.app().workspace().base.loaded() ||
        !ExportDistribution(r.app().workspace(), r.app().ui(), utf8ToCp1252(list))) {
      r.fail("statistics: UVD.TXT nicht erstellt");
      return false;
    }
    return true;
  });
}

}  // namespace quort
