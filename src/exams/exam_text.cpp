#include "exams/exam_text.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace quort {

std::string trimmedOf(std::string_view text, std::string_view strip) {
  const size_t first = text.find_first_not_of(strip);
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(strip);
  return std::string(text.substr(first, last - first + 1));
}

std::string upperCasedOf(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

std::vector<std::string> fieldLines(std::string_view text) {
  std::vector<std::string> lines;
  for (std::string& line : fieldLinesKeepingBlanks(text)) {
    if (!trimmedOf(line).empty()) lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> fieldLinesKeepingBlanks(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> listItems(std::string_view text) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    std::string item = trimmedOf(text.substr(start, end - start));
    if (!item.empty()) items.push_back(item);
    start = end + 1;
  }
  return items;
}

bool listHasEntry(std::string_view list, std::string_view entry) {
  const std::string wanted = trimmedOf(entry);
  if (wanted.empty()) return false;
  for (const std::string& item : listItems(list)) {
    if (item == wanted) return true;
  }
  return false;
}

}  // namespace quort
