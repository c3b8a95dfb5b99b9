#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

// File names inside the program are Windows-1252 text like every other text. They are
// converted to the platform's encoding (UTF-8 on Linux) only when the file system is
// asked, and back when it answers.
std::filesystem::path nativePath(std::string_view name);
std::string textFromPath(const std::filesystem::path& path);

// The current directory as program text, with a trailing "/".
std::string currentDirectoryText();
// The directory part of name made absolute, as program text.
std::string absoluteDirectoryOf(std::string_view name);

// Files of a school may arrive with any letter case (SCHULE.GD as schule.gd), so an
// existing file is looked up without regard to case when the exact name is missing.
std::optional<std::string> findExistingFile(std::string_view name);

// Reads a whole file (found as above). Fails for a missing file, a directory, a read
// error or a file larger than maxBytes.
bool readWholeFile(std::string_view name, std::string& content, size_t maxBytes = 64U * 1024U * 1024U);

// Writes content to a temporary file beside the target, flushes it and renames it over
// the target, so a crash leaves either the old or the new file. When backupName is
// given, the old file is kept under that name first. An existing file of another letter
// case is the one that is replaced.
bool writeFileAtomically(std::string_view name, std::string_view content,
                         std::optional<std::string_view> backupName = std::nullopt);

// The same without backup, for files that hold secrets (passwords): the new file is
// readable and writable by its owner only, whatever the old one allowed.
bool writePrivateFileAtomically(std::string_view name, std::string_view content);

// One file of a save that must land together with the others.
struct FileToWrite {
  std::string name;
  std::string content;
  std::optional<std::string> backupName;  // the old file is kept under this name first
  bool ownerOnly = false;                 // for secrets: readable by the owner only
};

// Writes several files so that they land together: every temporary file is written and
// synced before any target is replaced, the targets are renamed only when all of them
// succeeded, and the directories are synced after the renames. Returns the index of the
// first file that failed (nothing has been replaced when a temporary file failed), or
// std::nullopt when every file is on disk.
std::optional<size_t> writeFilesTogether(const std::vector<FileToWrite>& files);

// The name up to the first "." of the file-name part (directories kept).
std::string stemOf(std::string_view name);

}  // namespace quort
