#pragma once

#include <string>

namespace quort {

// Where an import reads from and what it writes: the Untis directory and the name of
// the base data (directory and stem; ".GD" and ".PL" are appended).
struct ImportSource {
  std::string untisDirectory;
  std::string baseDataName;
};

// What a menu function achieved, for the exit code of the command line.
struct ImportOutcome {
  bool written = false;     // the target file (.GD or .PL) was written
  bool fileFailed = false;  // some file could not be read or written

  bool succeeded() const { return written && !fileFailed; }
};

}  // namespace quort
