#include "importer/kivo_list.h"

#include "data/file_access.h"
#include "importer/untis_file.h"

namespace quort {

namespace {

constexpr size_t kKivoCapacity = 128;

// Every occurrence once, left to right.
std::string replaceEach(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  size_t start = 0;
  for (size_t pos = text.find(from); pos != std::string_view::npos; pos = text.find(from, start)) {
    result.append(text.substr(start, pos - start)).append(to);
    start = pos + from.size();
  }
  return result.append(text.substr(start));
}

}  // namespace

bool LoadKivoIni(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string bytes;
  if (!readWholeFile(path, bytes)) return false;
  const std::string text = untisTextToWindows(bytes.substr(0, bytes.find('\x1A')));
  for (std::string_view line : splitTextLines(text)) {
    if (lines.size() >= kKivoCapacity) break;
    if (line.substr(0, 2) == "//") continue;
    lines.push_back(replaceEach(replaceEach(line, "=+", "+"), "=", "."));
  }
  return true;
}

}  // namespace quort
