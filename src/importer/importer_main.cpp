// importer: turns Untis export files into base-data and plan files of the planner.
// Without arguments it runs the console menu; with "grunddaten" or "plandaten" it runs
// that function with the answers given as options.
#include <unistd.h>

#include <clocale>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "importer/command_line.h"
#include "importer/console/curses_console.h"
#include "importer/import_tables.h"
#include "importer/importer_menu.h"

namespace {

// ncursesw draws UTF-8 only under a UTF-8 locale; C.UTF-8 is there on every Debian.
void useUtf8Locale() {
  std::setlocale(LC_ALL, "");
  const char* ctype = std::setlocale(LC_CTYPE, nullptr);
  if (ctype == nullptr || (std::strstr(ctype, "UTF-8") == nullptr && std::strstr(ctype, "utf8") == nullptr)) {
    std::setlocale(LC_CTYPE, "C.UTF-8");
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (!arguments.empty()) return quort::runImporterCommand(arguments, std::cout, std::cerr);
  if (isatty(STDIN_FILENO) == 0 || isatty(STDOUT_FILENO) == 0) {
    std::cerr << quort::importerUsage();
    return 2;
  }
  useUtf8Locale();
  quort::ImportTables tables;
  quort::CursesConsole console;
  quort::ImporterMenu(tables, console).run();
  return 0;
}
