#include "shell/print_commands.h"

#include "data/codepage.h"
#include "output/printout_dialogs.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/menu_actions.h"
#include "timetable/plan_control.h"
#include "workspace/print_job.h"
#include "workspace/scripted_ui.h"
#include "workspace/text_files.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

bool isPrintMenuItem(int id) {
  return id == 120 || id == 121 || id == 122 || id == 127 || id == 129 || id == 130 || id == 131 || id == 139 ||
         id == 140;
}

bool printToKeyword(BatchRunner& runner, const std::string& argument) {
  if (argument.empty()) {
    runner.fail("print-to: Dateiname fehlt");
    return false;
  }
  runner.app().workspace().printing.route = argument == "-" ? std::string() : utf8ToCp1252(argument);
  return true;
}

bool printerKeyword(BatchRunner& runner, const std::string& argument) {
  std::string config = utf8ToCp1252(argument);
  bool bold = false;
  if (config.size() > 5 && config.compare(config.size() - 5, 5, " fett") == 0) {
    bold = true;
    config.erase(config.size() - 5);
  }
  PrinterConfig parsed;
  if (!parsePrinterConfig(config, parsed) || parsed.fontSize < 1) {
    runner.fail("printer: Druckerkonfiguration wie 10F0:Druckername erwartet");
    return false;
  }
  PrintState& printing = runner.app().workspace().printing;
  printing.printerConfig = printerConfigText(parsed);
  printing.boldText = bold && parsed.emphasis;
  return true;
}

bool printKeyword(BatchRunner& runner, const std::string& argument) {
  Workspace& ws = runner.app().workspace();
  if (argument.rfind("text ", 0) != 0) {
    runner.fail("print: text DATEI erwartet");
    return false;
  }
  std::string name = utf8ToCp1252(argument.substr(5));
  std::string text;
  if (!ReadTextFile(ws, runner.ui(), name, text)) return false;
  return PrintText(ws, runner.ui(), text);
}

}  // namespace

bool runPrintMenuItem(Application& app, int id) {
  Workspace& ws = app.workspace();
  switch (id) {
    case 139:
      if (ws.base.loaded()) planControlDialog(ws, app.ui());
      return true;
    case 140:
      PrinterSetup(ws, app.ui(), "Druckereinstellung");
      return true;
    default:
      return isPrintMenuItem(id) && ws.base.loaded() && runPrintoutDialog(ws, app.ui(), id);
  }
}

void addPrintKeywords(BatchRunner& runner) {
  runner.addKeyword("print-to", printToKeyword);
  runner.addKeyword("printer", printerKeyword);
  runner.addKeyword("print", printKeyword);
  // The printing items of the menu run like in the window; a job that failed fails the line.
  runner.addKeyword("menu", [previous = runner.keyword("menu")](BatchRunner& r, const std::string& argument) {
    const int id = std::atoi(argument.c_str());
    if (!isPrintMenuItem(id)) return previous ? previous(r, argument) : false;
    Workspace& ws = r.app().workspace();
    ws.printing.failed = false;
    if (ws.base.loaded() || id == 140) runMenuItem(r.app(), id);
    return !ws.printing.failed;
  });
}

}  // namespace quort
