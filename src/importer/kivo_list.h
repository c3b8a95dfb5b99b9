#pragma once

#include <string>
#include <vector>

namespace quort {

// KIVO.INI: the subject conversion list of the course-choice import, loaded at start.
// Lines beginning with "//" are comments; "=+" becomes "+" and every other "=" a ".".
// At most 128 lines are kept. false when the file cannot be read (the lines read so far
// stay in lines).
bool LoadKivoIni(const std::string& path, std::vector<std::string>& lines);

}  // namespace quort
