#include "substitution/day_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "data/calendar.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "editors/coupling_editing.h"
#include "substitution/absence_register.h"
#include "substitution/day_text_file.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kLineKeyLength = 11;  // class, period and ".Std."
constexpr const char* kSupervisions = "Aufsichten:";

std::string filesTrimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string rightAligned(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// The coupling's classes and teachers, each list joined by ",", the two joined by "-".
std::string couplingPart(const Workspace& ws, int coupling) {
  if (coupling < 1 || coupling > ws.plan.nCouplings()) return {};
  std::vector<std::string> classes;
  std::vector<std::string> teachers;
  const std::string text = couplingText(ws, coupling);
  size_t start = text.find(':') + 1;
  while (start < text.size()) {
    const size_t comma = text.find(',', start);
    const std::string member = text.substr(start, comma - start);
    start = comma == std::string::npos ? text.size() : comma + 1;
    const std::string cls = filesTrimmed(lineField(member, 1));
    const std::string teacher = filesTrimmed(lineField(member, 2));
    if (!cls.empty() && std::find(classes.begin(), classes.end(), cls) == classes.end()) classes.push_back(cls);
    if (!teacher.empty() && std::find(teachers.begin(), teachers.end(), teacher) == teachers.end()) {
      teachers.push_back(teacher);
    }
  }
  const auto join = [](const std::vector<std::string>& list) {
    std::string joined;
    for (const std::string& item : list) joined += (joined.empty() ? "" : ",") + item;
    return joined;
  };
  return join(classes) + "-" + join(teachers);
}

std::string dateOfDayFile(const std::vector<std::string>& lines) {
  if (lines.empty()) return {};
  const size_t comma = lines.front().find(',');
  return comma == std::string::npos ? std::string() : filesTrimmed(lines.front().substr(comma + 1));
}

bool sameDate(const std::string& a, const std::string& b) { return DayNumber(a) > 0 && DayNumber(a) == DayNumber(b); }

bool renameAway(const std::string& name, const std::string& backup) {
  const auto existing = findExistingFile(name);
  if (!existing) return true;
  std::error_code error;
  std::filesystem::rename(nativePath(*existing), nativePath(backup), error);
  return !error;
}

}  // namespace

std::string dayFileName(char kind, const std::string& date) {
  return std::string(1, kind) + DayAbbrev(Weekday(date)) + ".x";
}

std::string dayFileHeader(const std::string& date) { return "Vertretungen " + DayAbbrev(Weekday(date)) + "," + date; }

std::string substitutionLine(const Workspace& ws, int schoolClass, int period, int coupling, const std::string& text) {
  const std::string code = schoolClass >= 1 && schoolClass <= ws.base.nClasses()
                               ? filesTrimmed(ws.base.classes[static_cast<size_t>(schoolClass)].code)
                               : std::string();
  const int shown = ws.base.weekAlternation ? (period + 1) / 2 : period;
  return rightAligned(code, 3) + rightAligned(std::to_string(shown), 3) + ".Std." + couplingPart(ws, coupling) + ": " +
         text;
}

void mergeSubstitutionLine(std::vector<std::string>& lines, const std::string& line) {
  const std::string_view key = std::string_view(line).substr(0, kLineKeyLength);
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].size() < kLineKeyLength || std::string_view(lines[i]).substr(0, kLineKeyLength) != key) continue;
    const size_t oldColon = lines[i].find(':');
    const size_t newColon = line.find(':');
    if (oldColon == std::string::npos || newColon == std::string::npos) {
      lines[i] = line;
    } else {
      lines[i] = lines[i].substr(0, oldColon) + line.substr(newColon);
    }
    return;
  }
  lines.push_back(line);
}

std::string logLine(const std::string& date, const std::string& reason, const std::string& line) {
  std::string safe;
  for (char c : reason) safe += (c == ',' ? ';' : c == ']' ? ')' : c);
  return date + "[" + safe + "]," + line;
}

bool clearDay(Workspace& ws, Ui& ui, const std::string& date) {
  (void)ws;
  const std::string s = dayFileName('s', date);
  const std::string t = dayFileName('t', date);
  if (!writeFileAtomically(s, joinDayText({dayFileHeader(date)}), std::string_view(s + "b"))) {
    reportFileError(ui, s);
    return false;
  }
  if (!renameAway(t, t + "b")) {
    reportFileError(ui, t);
    return false;
  }
  return true;
}

bool settleForeignDayFile(Workspace& ws, Ui& ui, const std::string& date) {
  const std::string s = dayFileName('s', date);
  const auto lines = readDayTextLines(s);
  if (!lines) return true;
  const std::string held = dateOfDayFile(*lines);
  if (sameDate(held, date)) return true;
  const std::string memo = s + "," + date;
  auto& kept = ws.substitution.keptForeignDayFiles;
  if (std::find(kept.begin(), kept.end(), memo) != kept.end()) return true;
  if (ui.askYesNo("Plan f\xFCr " + DayAbbrev(Weekday(date)) + " l\xF6schen?", MessageStyle{Icon::Question})) {
    return clearDay(ws, ui, date);
  }
  kept.push_back(memo);
  return true;
}

bool writeSubstitutionLines(Workspace& ws, Ui& ui, const std::string& date,
                            const std::vector<SubstitutionLine>& lines) {
  if (!settleForeignDayFile(ws, ui, date)) return false;
  if (ws.substitution.collectingDayLines) {
    for (const SubstitutionLine& entry : lines)
      ws.substitution.pendingDayLines.push_back({date, entry.line, entry.reason});
    return true;
  }
  const std::string s = dayFileName('s', date);
  std::vector<std::string> day = readDayTextLines(s).value_or(std::vector<std::string>{});
  if (day.empty()) day.push_back(dayFileHeader(date));
  std::vector<std::string> log = readDayTextLines(kExtraWorkLog).value_or(std::vector<std::string>{});
  for (const SubstitutionLine& entry : lines) {
    mergeSubstitutionLine(day, entry.line);
    log.push_back(logLine(date, entry.reason, entry.line));
  }
  const std::vector<FileToWrite> files = {{s, joinDayText(day), s + "b"},
                                          {kExtraWorkLog, joinDayText(log), kExtraWorkLogBackup}};
  if (const auto failed = writeFilesTogether(files)) {
    reportFileError(ui, files[*failed].name);
    return false;
  }
  return true;
}

std::string tidyNotesLine(const std::string& line) {
  std::string text = ReplaceAll(line, "  ", " ");
  text = ReplaceAll(text, " ,", ",");
  text = ReplaceAll(text, ", ", ",");
  const size_t first = text.find_first_not_of(',');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(',') - first + 1);
}

bool extendDayNotes(Ui& ui, const std::string& date, const std::vector<std::string>& items) {
  const std::string t = dayFileName('t', date);
  std::vector<std::string> lines = readDayTextLines(t).value_or(std::vector<std::string>{});
  if (lines.empty()) lines = {"", kSupervisions};
  std::string first = lines.front();
  for (const std::string& item : items) {
    const std::string wrapped = "," + tidyNotesLine(first) + ",";
    if (wrapped.find("," + item + ",") == std::string::npos) first += "," + item;
  }
  lines.front() = tidyNotesLine(first);
  if (!writeFileAtomically(t, joinDayText(lines), std::string_view(t + "b"))) {
    reportFileError(ui, t);
    return false;
  }
  return true;
}

namespace {

// The day-file lines of the date from the log: a later line of the same lesson replaces
// the earlier one in its place; exam lines ("#") do not belong in the day file.
std::vector<std::string> loggedDayLines(const std::vector<std::string>& log, const std::string& date) {
  std::vector<std::string> lines;
  for (const std::string& entry : log) {
    if (entry.size() < 10 || !sameDate(entry.substr(0, 10), date)) continue;
    const size_t comma = entry.find(',');
    if (comma == std::string::npos) continue;
    const std::string text = entry.substr(comma + 1);
    const size_t std = text.find(".Std");
    if (std == std::string::npos || text.find('#') != std::string::npos) continue;
    const auto same = std::find_if(lines.begin(), lines.end(), [&](const std::string& old) {
      return old.compare(0, std, text, 0, std) == 0 && old.find(".Std") == std;
    });
    if (same != lines.end()) {
      *same = text;
    } else {
      lines.push_back(text);
    }
  }
  return lines;
}

std::string registeredItems(const std::string& date) {
  std::string joined;
  const long day = DayNumber(date);
  for (const std::string& line : readDayTextLines("termin.x").value_or(std::vector<std::string>{})) {
    const auto parsed = parseAbsenceLine(line);
    if (!parsed || DayNumber(parsed->from) > day || day > DayNumber(parsed->to)) continue;
    joined += (joined.empty() ? "" : ",") + filesTrimmed(parsed->item);
  }
  return joined;
}

}  // namespace

bool rebuildDay(Workspace& ws, Ui& ui, const std::string& date) {
  (void)ws;
  if (Weekday(date) < 1 || Weekday(date) > 6) {
    ui.message("Datumsfehler!");
    return false;
  }
  std::vector<std::string> day = {dayFileHeader(date)};
  for (std::string& line : loggedDayLines(readDayTextLines(kExtraWorkLog).value_or(std::vector<std::string>{}), date)) {
    day.push_back(std::move(line));
  }
  const std::string t = dayFileName('t', date);
  std::vector<std::string> notes = readDayTextLines(t).value_or(std::vector<std::string>{});
  if (notes.empty()) notes = {"", kSupervisions};
  notes.front() = registeredItems(date);
  const std::string s = dayFileName('s', date);
  const std::vector<FileToWrite> files = {{s, joinDayText(day), s + "b"}, {t, joinDayText(notes), t + "b"}};
  if (writeFilesTogether(files)) {
    ui.message("Dateifehler", MessageStyle{Icon::Stop});
    return false;
  }
  return true;
}

}  // namespace quort
