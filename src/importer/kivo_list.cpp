#include "importer/kivo_list.h"

#include "data/codepage.h"
#include "data/file_access.h"
#include "importer/untis_file.h"

namespace quort {

namespace {

constexpr size_t kKivoCapacity = 128;

}  // namespace

bool LoadKivoIni(const std::string& path, std::vector<std::string>& lines) {
  lines.clear();
  std::string bytes;
  if (!readWholeFile(path, bytes)) return false;
  const std::string text = untisTextToWindows(bytes.substr(0, bytes.find('\x1A')));
  for (std::string_view line : splitTextLines(text)) {
    if (lines.size() >= kKivoCapacity) break;
    if (line.substr(0, 2) == "//") continue;
    lines.push_back(replaceEachOnce(replaceEachOnce(line, "=+", "+"), "=", "."));
  }
  return true;
}

}  // namespace quort
