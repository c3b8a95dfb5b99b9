// planner: the timetable and substitution planner. Opens the main window, renders it into
// a picture, or runs a script without a window.
#include <fstream>
#include <iostream>
#include <string>

#include "gui/gui_main.h"
#include "gui/qt_print_device.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

int usage() {
  std::cerr << "Aufruf: planner [--open GRUNDDATEN [PLAN]] [--mode N] [--class KLASSE]\n"
               "        planner --screenshot BILD.png [--open GRUNDDATEN [PLAN]] [--mode N] [--class KLASSE]\n"
               "        planner --batch SKRIPT   (SKRIPT - liest die Standardeingabe)\n"
               "        planner --version\n";
  return 2;
}

int runBatch(const std::string& scriptName) {
  quort::Workspace ws;
  // PDF files need Qt's fonts; the provider starts Qt without a window when a job needs it.
  ws.printing.provider = quort::makeQtPrintProvider();
  quort::ScriptedUi ui;
  quort::Application app(ws, ui);
  quort::BatchRunner runner(app, ui, std::cout, std::cerr);
  if (scriptName == "-") return runner.run(std::cin);
  std::ifstream script(scriptName);
  if (!script) {
    std::cerr << "Skript nicht gefunden: " << scriptName << '\n';
    return 1;
  }
  return runner.run(script);
}

bool isOption(const char* text) { return text[0] == '-' && text[1] == '-'; }

// Reads the window options; false on anything it does not understand.
bool parseWindowOptions(int argc, char** argv, quort::WindowOptions& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc && !isOption(argv[i + 1]);
    if (!hasValue) return false;
    if (option == "--screenshot") {
      options.screenshot = argv[++i];
    } else if (option == "--open") {
      options.base = argv[++i];
      if (i + 1 < argc && !isOption(argv[i + 1])) options.plan = argv[++i];
    } else if (option == "--mode") {
      const std::string mode = argv[++i];
      if (mode.size() != 1 || mode[0] < '0' || mode[0] > '4') return false;
      options.workMode = mode[0] - '0';
    } else if (option == "--class") {
      options.classCode = argv[++i];
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 3 && first == "--batch") return runBatch(argv[2]);
  if (argc == 2 && first == "--version") {
    std::cout << quort::Application::versionText() << '\n';
    return 0;
  }
  quort::WindowOptions options;
  if (!parseWindowOptions(argc, argv, options)) return usage();
  return quort::runWindowProgram(argc, argv, options);
}
