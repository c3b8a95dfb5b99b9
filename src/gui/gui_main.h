#pragma once

#include <string>

namespace quort {

// What the command line asks of the window program.
struct WindowOptions {
  std::string screenshot;  // render the window into this PNG and end
  std::string base;        // base data to open at start (UTF-8 as typed)
  std::string plan;        // plan to open after them
  int workMode = -1;
  std::string classCode;
};

// Runs the main window until it is closed; with a screenshot name, renders it offscreen
// (no display needed) and ends. The exit status.
int runWindowProgram(int argc, char** argv, const WindowOptions& options);

}  // namespace quort
