#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

// What the console file chooser lists and how it understands what is typed. The
// directory is kept between calls: the chooser opens where the user left it.
// Names are Windows-1252 program text; directories end in "/".
class ConsoleFileChooserModel {
 public:
  explicit ConsoleFileChooserModel(std::string directory);

  // Starts a choice: a pattern with a directory part ("/schule/*.GD") moves there first.
  void start(std::string_view pattern);

  const std::string& directory() const { return m_directory; }
  const std::string& pattern() const { return m_pattern; }

  // The root "/", ".." (except at the root), the subdirectories with a trailing "/", then
  // the files matching the pattern.
  std::vector<std::string> entries() const;

  // Handles one input line. An empty input, a directory or a name with "*" or "?"
  // changes the directory or the pattern and gives std::nullopt (list again); any other
  // name is chosen and returned with its directory (it need not exist).
  std::optional<std::string> enter(std::string_view input);

 private:
  bool changeDirectory(std::string_view path);

  std::string m_directory;
  std::string m_pattern = "*";
};

// The directory part of a path, with its trailing "/" ("" when there is none).
std::string directoryPart(std::string_view path);

}  // namespace quort
