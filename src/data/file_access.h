#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quort {

// Files of a school may arrive with any letter case (SCHULE.GD as schule.gd), so an
// existing file is looked up without regard to case when the exact name is missing.
std::optional<std::filesystem::path> findExistingFile(const std::filesystem::path& path);

// Reads a whole file (found as above). Fails for a missing file, a directory, a read
// error or a file larger than maxBytes.
bool readWholeFile(const std::filesystem::path& path, std::string& content,
                   size_t maxBytes = 64U * 1024U * 1024U);

// Writes content to a temporary file beside path, flushes it and renames it over path,
// so a crash leaves either the old or the new file. When backupPath is given, the old
// file is kept under that name first.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content,
                         const std::optional<std::filesystem::path>& backupPath = std::nullopt);

// The name up to the first "." of the file-name part of a path (directories kept).
std::string stemOf(std::string_view name);

}  // namespace quort
