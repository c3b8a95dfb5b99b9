// planner: the timetable and substitution planner. Without a window yet, it runs scripts.
#include <fstream>
#include <iostream>
#include <string>

#include "shell/application.h"
#include "shell/batch_runner.h"
#include "shell/scripted_ui.h"
#include "shell/workspace.h"

namespace {

int usage() {
  std::cerr << "Aufruf: planner --batch SKRIPT   (SKRIPT - liest die Standardeingabe)\n"
               "        planner --version\n";
  return 2;
}

int runBatch(const std::string& scriptName) {
  quort::Workspace ws;
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

}  // namespace

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (argc == 3 && first == "--batch") return runBatch(argv[2]);
  if (argc == 2 && first == "--version") {
    std::cout << quort::Application::versionText() << '\n';
    return 0;
  }
  return usage();
}
