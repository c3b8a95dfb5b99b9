#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "workspace/ui.h"

namespace quort {

// Whether a file name matches a pattern with "*" and "?", without regard to letter case
// (school files arrive as SCHULE.GD and schule.gd alike). "*.*" matches every name.
bool matchesPattern(std::string_view name, std::string_view pattern);

// The program's own file chooser without its window: the current directory, the entries
// shown for it ("[..]", "[dir]", matching files) and the "drives" (on this platform the
// roots of the mounted file systems and the home directory, "[- /media/stick -]").
// Names are program text (Windows-1252); the file system is asked through file_access.
class FileChooserModel {
 public:
  enum class Outcome { Accepted, PatternChanged, DirectoryChanged, NotFound, Cancelled };

  explicit FileChooserModel(FileChooserRequest request, const std::string& startDirectory = {});

  const FileChooserRequest& request() const { return m_request; }
  const std::string& directory() const { return m_directory; }  // with a trailing "/"
  const std::string& pattern() const { return m_pattern; }
  const std::vector<std::string>& entries() const { return m_entries; }
  const std::vector<std::string>& drives() const { return m_drives; }
  // What the "Dateiname:" field starts with.
  std::string initialName() const;

  // An entry of the list was chosen: a directory is entered (true), a file is not.
  bool openEntry(const std::string& entry);
  bool openDrive(const std::string& drive);
  // The name field was confirmed. A pattern becomes the new pattern, a directory is
  // entered, a file name is completed to chosenName; in mode "R" it must exist.
  Outcome submit(const std::string& typed);
  const std::string& chosenName() const { return m_chosen; }

  bool changeDirectory(const std::string& directory);

 private:
  void refresh();

  FileChooserRequest m_request;
  std::string m_directory;
  std::string m_pattern;
  std::vector<std::string> m_entries;
  std::vector<std::string> m_drives;
  std::string m_chosen;
};

// The mount roots of real devices, "/" and the home directory, each as program text.
std::vector<std::string> driveRoots();

}  // namespace quort
