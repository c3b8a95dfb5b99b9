#include "substitution/absence_register.h"

#include <algorithm>

#include "data/base_data.h"
#include "data/calendar.h"
#include "data/file_access.h"
#include "substitution/day_text_file.h"
#include "workspace/dialogs.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kRegister = "termin.x";
constexpr const char* kRegisterBackup = "termin.bx";

std::string trimmedCode(std::string_view code) {
  std::string text(code);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

std::string upperWho(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// A period as typed: empty or "0" means "not given" (0); -1 when it is no number.
int typedPeriod(std::string_view text) {
  int value = 0;
  bool negative = false;
  for (char c : text) {
    if (c == ' ') continue;
    if (c == '-' && value == 0 && !negative) {
      negative = true;
      continue;
    }
    if (c < '0' || c > '9' || value > 1000) return -1;
    value = value * 10 + (c - '0');
  }
  return negative ? -1 : value;
}

std::string withoutLineBreaks(std::string_view text) {
  std::string result;
  for (char c : text) {
    if (c != '\r' && c != '\n') result += c;
  }
  return result;
}

}  // namespace

int lastShownPeriod(const BaseData& base) {
  return base.weekAlternation ? (base.periodsPerDay + 1) / 2 : base.periodsPerDay;
}

bool classMatches(const BaseData& base, int c, std::string_view who) {
  if (who.empty() || c < 1 || c > base.nClasses()) return false;
  return trimmedCode(base.classes[static_cast<size_t>(c)].code).starts_with(who);
}

AbsenceTarget findAbsenceTarget(const BaseData& base, std::string_view who) {
  if (who.empty()) return {};
  if (const int c = base.findClass(who); c > 0) return {AbsenceKind::Class, c};
  if (const int t = base.findTeacher(who); t > 0 && t < base.nTeachers()) return {AbsenceKind::Teacher, t};
  if (const int r = base.findRoom(who); r > 0) return {AbsenceKind::Room, r};
  for (int c = 1; c <= base.nClasses(); ++c) {
    if (classMatches(base, c, who)) return {AbsenceKind::Class, c};
  }
  return {};
}

std::string absenceItem(const AbsenceEntry& entry) {
  std::string item = entry.who;
  const bool periods = entry.first > 0;
  if (periods) item += ":" + std::to_string(entry.first) + "-" + std::to_string(entry.last);
  if (!entry.countFlag) item += periods ? "n" : ":n";
  return item + "(" + entry.reason + ")";
}

std::string absenceLine(const AbsenceEntry& entry) {
  std::string line = entry.from;
  if (!entry.to.empty() && entry.to != entry.from) line += "-" + entry.to;
  return line + ":" + absenceItem(entry);
}

std::string_view absenceKey(std::string_view text) { return text.substr(0, text.find('(')); }

AbsenceItemFields parseAbsenceItem(std::string_view item) {
  AbsenceItemFields fields;
  const std::string_view key = absenceKey(item);
  if (key.size() < item.size()) {
    const std::string_view rest = item.substr(key.size() + 1);
    const size_t close = rest.rfind(')');
    fields.reason = std::string(close == std::string_view::npos ? rest : rest.substr(0, close));
  }
  const size_t colon = key.find(':');
  fields.who = std::string(key.substr(0, colon));
  if (colon == std::string_view::npos) return fields;
  std::string range(key.substr(colon + 1));
  if (!range.empty() && (range.back() == 'n' || range.back() == 'N')) {
    fields.countFlag = false;
    range.pop_back();
  }
  if (range.empty()) return fields;
  const size_t dash = range.find('-');
  fields.first = std::max(typedPeriod(range.substr(0, dash)), 0);
  if (dash != std::string::npos) fields.last = std::max(typedPeriod(range.substr(dash + 1)), 0);
  return fields;
}

std::optional<AbsenceLine> parseAbsenceLine(std::string_view line) {
  const size_t colon = line.find(':');
  if (colon == std::string_view::npos || colon < 10) return std::nullopt;
  AbsenceLine parsed;
  parsed.from = std::string(line.substr(0, 10));
  parsed.to = colon >= 20 ? std::string(line.substr(11, 10)) : parsed.from;
  if (DayNumber(parsed.from) <= 0 || DayNumber(parsed.to) <= 0) return std::nullopt;
  parsed.item = std::string(line.substr(colon + 1));
  return parsed;
}

std::optional<AbsenceEntry> normaliseAbsence(const BaseData& base, Ui& ui, const AbsenceInput& input) {
  AbsenceEntry entry;
  const auto from = calendarDate(input.from);
  const auto to = input.to.empty() ? from : calendarDate(input.to);
  if (!from || !to || DayNumber(*to) < DayNumber(*from)) {
    ui.message("Datumsfehler!");
    return std::nullopt;
  }
  entry.from = *from;
  entry.to = *to;
  for (char c : input.who) {
    if (c != ' ' && c != '\r' && c != '\n') entry.who += c;
  }
  entry.who = upperWho(entry.who);
  if (findAbsenceTarget(base, entry.who).kind == AbsenceKind::None) {
    ui.message("Lehrer/Klasse/Raum fehlerhaft!");
    return std::nullopt;
  }
  const int lastShown = lastShownPeriod(base);
  int first = typedPeriod(input.firstPeriod);
  int last = typedPeriod(input.lastPeriod);
  if (first == 0) first = 1;
  if (last == 0) last = lastShown;
  if (first < 0 || last < 0 || first > last || last > lastShown) {
    ui.message("Zeitangabe fehlerhaft!");
    return std::nullopt;
  }
  if (first > 1 || last < lastShown) {
    entry.first = first;
    entry.last = last;
  }
  entry.countFlag = input.countFlag;
  // The reason ends at "(": the reader takes the first "(" as the start of the reason.
  const std::string reason = withoutLineBreaks(input.reason);
  entry.reason = reason.substr(0, reason.find('('));
  return entry;
}

bool writeAbsenceRegister(Ui& ui, const AbsenceEntry& entry, bool add) {
  const std::string line = absenceLine(entry);
  const std::string_view key = absenceKey(line);
  std::vector<std::string> lines = readDayTextLines(kRegister).value_or(std::vector<std::string>{});
  std::erase_if(lines, [&](const std::string& old) { return old.empty() || absenceKey(old) == key; });
  if (add) lines.push_back(line);
  if (!writeFileAtomically(kRegister, joinDayText(lines), std::string_view(kRegisterBackup))) {
    reportFileError(ui, kRegister);
    return false;
  }
  return true;
}

void removeAbsenceItems(Workspace& ws, std::string_view key) {
  std::erase_if(ws.substitution.absences, [&](const std::string& item) { return absenceKey(item) == key; });
}

namespace {

void listItem(Workspace& ws, const std::string& item) {
  removeAbsenceItems(ws, absenceKey(item));
  ws.substitution.absences.push_back(item);
}

bool readRegister(Workspace& ws, Ui& ui, const std::string& date) {
  const long day = DayNumber(date);
  if (day <= 0) {
    ui.message("Datumsfehler!");
    return false;
  }
  const auto lines = readDayTextLines(kRegister);
  if (!lines) return true;  // no register yet: nobody is absent
  for (const std::string& line : *lines) {
    const auto parsed = parseAbsenceLine(line);
    if (parsed && DayNumber(parsed->from) <= day && day <= DayNumber(parsed->to)) listItem(ws, parsed->item);
  }
  return true;
}

}  // namespace

bool readAbsences(Workspace& ws, Ui& ui, const std::string& date, AbsenceMode mode, const AbsenceInput& input) {
  if (mode == AbsenceMode::ReadRegister) return readRegister(ws, ui, date);
  AbsenceInput dated = input;
  if (dated.from.empty()) dated.from = date;
  const auto entry = normaliseAbsence(ws.base, ui, dated);
  if (!entry) return false;
  if (mode != AbsenceMode::ListOnly && !writeAbsenceRegister(ui, *entry, true)) return false;
  if (mode != AbsenceMode::StoreOnly) listItem(ws, absenceItem(*entry));
  return true;
}

bool deleteAbsence(Workspace& ws, Ui& ui, const AbsenceEntry& entry) {
  removeAbsenceItems(ws, absenceKey(absenceItem(entry)));
  return writeAbsenceRegister(ui, entry, false);
}

}  // namespace quort
