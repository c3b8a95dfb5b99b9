#include "substitution/extra_work_log.h"

#include <algorithm>
#include <unordered_set>

#include "data/calendar.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "substitution/day_text_file.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

struct KeyedLine {
  std::string key;
  std::string line;
  bool mergeable = true;
};

// Year, month, day of the line's date and the class and period before ".Std".
std::string lineKey(const std::string& line, size_t std) {
  std::string date = "00000000";
  if (line.size() >= 10 && DayNumber(line.substr(0, 10)) > 0)
    date = line.substr(6, 4) + line.substr(3, 2) + line.substr(0, 2);
  const size_t start = std >= 6 ? std - 6 : 0;
  return date + line.substr(start, std - start);
}

std::string normalisedOldForms(std::string line) {
  line = replaceEachOnce(line, "-,", "-* ,");
  return replaceEachOnce(line, "- ", "-*  ");
}

void addExtraWork(const Workspace& ws, const std::string& line, long from, ExtraWork& count) {
  if (line.size() < 10 || DayNumber(line.substr(0, 10)) < from || DayNumber(line.substr(0, 10)) <= 0) return;
  const size_t colon = line.find(": ");
  if (colon == std::string::npos || colon + 4 > line.size()) return;
  const std::string code = line.substr(colon + 2, 2);
  int teacher = 0;
  for (int t = 1; t < ws.base.nTeachers() && teacher == 0; ++t) {
    if (ws.base.teachers[static_cast<size_t>(t)].code.starts_with(code)) teacher = t;
  }
  if (teacher == 0) return;
  const int hours = loggedHours(line);
  if (count.hours.size() <= static_cast<size_t>(teacher)) count.hours.resize(static_cast<size_t>(teacher) + 1, 0);
  count.hours[static_cast<size_t>(teacher)] += hours;
}

}  // namespace

int loggedHours(const std::string& line) {
  int hours = line.find("(*)") != std::string::npos ? 1 : 0;
  if (const size_t hash = line.find("(#"); hash != std::string::npos) {
    hours = 0;
    size_t i = hash + 2;
    // "Minderarbeit" is written as a negative count and lowers the teacher's hours.
    const bool negative = i < line.size() && line[i] == '-';
    if (negative) ++i;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9' && hours < 1000; ++i)
      hours = hours * 10 + (line[i] - '0');
    if (negative) hours = -hours;
  }
  return hours;
}

std::vector<std::string> maintainedLogLines(const std::vector<std::string>& log) {
  std::vector<std::string> prefixes;
  std::vector<KeyedLine> keyed;
  for (const std::string& raw : log) {
    std::string line = raw;
    if (line.find('\x1B') != std::string::npos) {
      int position = 0;
      const std::string rest = StripPrinterPrefix(line, position);
      if (position > 0) {
        prefixes.push_back(line.substr(0, static_cast<size_t>(position)) + "\xFF");
        line = line.substr(static_cast<size_t>(position));
      } else {
        line = rest;
      }
    }
    line = normalisedOldForms(line);
    const size_t std = line.find(".Std");
    if (std == std::string::npos) continue;
    keyed.push_back({lineKey(line, std), line, line.find('#') == std::string::npos});
  }
  // The later line of a lesson wins; the order of equal keys is the log's order.
  std::vector<KeyedLine> kept;
  std::unordered_set<std::string> seen;
  for (size_t i = keyed.size(); i-- > 0;) {
    if (keyed[i].mergeable && !seen.insert(keyed[i].key).second) continue;
    kept.push_back(keyed[i]);
  }
  std::reverse(kept.begin(), kept.end());
  std::stable_sort(kept.begin(), kept.end(), [](const KeyedLine& a, const KeyedLine& b) { return a.key < b.key; });
  std::vector<std::string> lines = prefixes;
  for (const KeyedLine& line : kept) lines.push_back(line.line);
  return lines;
}

ExtraWork countExtraWork(const Workspace& ws, const std::string& fromDate) {
  ExtraWork count;
  const long from = DayNumber(fromDate);
  for (const std::string& line : readDayTextLines(kExtraWorkLog).value_or(std::vector<std::string>{})) {
    addExtraWork(ws, line, from, count);
  }
  return count;
}

bool maintainLog(Workspace& ws, Ui& ui, const std::string& fromDate, ExtraWork* count) {
  const auto log = readDayTextLines(kExtraWorkLog);
  if (!log) return true;
  const std::vector<std::string> lines = maintainedLogLines(*log);
  if (!writeFileAtomically(kExtraWorkLog, joinDayText(lines), std::string_view(kExtraWorkLogBackup))) {
    reportFileError(ui, kExtraWorkLog);
    return false;
  }
  if (count != nullptr) {
    const long from = DayNumber(fromDate);
    for (const std::string& line : lines) addExtraWork(ws, line, from, *count);
  }
  return true;
}

}  // namespace quort
