#include "substitution/day_text_file.h"

#include <cerrno>
#include <cstring>

#include "data/file_access.h"
#include "workspace/ui.h"

namespace quort {

std::optional<std::vector<std::string>> readDayTextLines(const std::string& name) {
  std::string content;
  if (!findExistingFile(name) || !readWholeFile(name, content)) return std::nullopt;
  if (const size_t end = content.find('\x1A'); end != std::string::npos) content.resize(end);
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string joinDayText(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    for (char c : line) {
      if (c != '\x1A' && c != '\r' && c != '\n') text += c;
    }
    text += "\r\n";
  }
  return text;
}

void reportFileError(Ui& ui, const std::string& name) {
  const int error = errno;
  ui.message(name + "\r\nDateifehler: " + (error != 0 ? std::strerror(error) : "unbekannt"), MessageStyle{Icon::Stop});
}

bool dayFileExists(const std::string& name) { return findExistingFile(name).has_value(); }

}  // namespace quort
