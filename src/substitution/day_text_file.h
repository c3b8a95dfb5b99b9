#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quort {

// The extra-work log of the substitution days and its backup.
inline constexpr const char* kExtraWorkLog = "prot.x";
inline constexpr const char* kExtraWorkLogBackup = "prot.bx";

class Ui;

// The plain text files of the substitution day: CR LF lines, Windows code page, a byte
// 0x1A ends the file. Reading stops at 0x1A; writing never puts one.

// The lines of the file; std::nullopt when it does not exist or cannot be read.
std::optional<std::vector<std::string>> readDayTextLines(const std::string& name);

// The lines joined with CR LF, each line ended.
std::string joinDayText(const std::vector<std::string>& lines);

// Shows the file name, a line break and the system's error text.
void reportFileError(Ui& ui, const std::string& name);

// Whether a file with that name exists (in any letter case).
bool dayFileExists(const std::string& name);

}  // namespace quort
