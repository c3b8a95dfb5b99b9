#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "support/temp_dir.h"

namespace quort::test {

struct ProgramRun {
  int exitCode = -1;   // -1: the program did not end normally (a crash)
  std::string output;  // standard output and standard error
};

// Runs a command line in directory, the way an administrator's script would.
inline ProgramRun runIn(const std::filesystem::path& directory, const std::string& commandLine) {
  const std::filesystem::path log = directory / "run-output.txt";
  const std::string command = "cd '" + directory.string() + "' && " + commandLine + " > '" + log.string() + "' 2>&1";
  const int status = std::system(command.c_str());
  ProgramRun run;
  run.output = readFile(log.string());
  std::filesystem::remove(log);
  if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

inline ProgramRun runImporter(const std::filesystem::path& directory, const std::string& arguments) {
  return runIn(directory, std::string("'") + QUORT_IMPORTER_BINARY + "' " + arguments);
}

// The planner's batch mode on a script; its output lines.
inline ProgramRun runPlanner(const std::filesystem::path& directory, const std::string& script) {
  std::ofstream(directory / "check.batch", std::ios::binary) << script;
  return runIn(directory, std::string("'") + QUORT_PLANNER_BINARY + "' --batch check.batch");
}

// A copy of one fixture folder of real Untis exports (the originals are read-only and
// the import writes GPTAVIN.TXT and gpuerr.txt beside them). false when not there.
inline bool copyFixture(const std::string& name, const std::filesystem::path& target) {
  const std::filesystem::path source = std::filesystem::path(QUORT_FIXTURE_DIR) / name;
  std::error_code ec;
  if (!std::filesystem::is_directory(source, ec)) return false;
  std::filesystem::create_directories(target);
  for (const auto& entry : std::filesystem::directory_iterator(source)) {
    const auto copy = target / entry.path().filename();
    std::filesystem::copy_file(entry.path(), copy, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  }
  return true;
}

// A plan file of the "#4#" layout, read back independently of the importer's code.
struct PlanFileContent {
  bool wellFormed = false;
  std::vector<std::string> couplings;  // Enc40 lines
  // (class, row, day) -> (lessonWord, roomWord), only cells that are not 0,0
  std::map<std::tuple<int, int, int>, std::pair<uint16_t, uint16_t>> cells;
  size_t cellLines = 0;
};

PlanFileContent parsePlanFile(const std::string& text, int classes, int periods);

}  // namespace quort::test
