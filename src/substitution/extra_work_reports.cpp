#include "substitution/extra_work_reports.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>

#include "data/base_data.h"
#include "data/calendar.h"
#include "data/file_access.h"
#include "substitution/absence_register.h"
#include "substitution/day_text_file.h"
#include "substitution/extra_work_log.h"
#include "substitution/substitution_output.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string trimmedField(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string alignedRightText(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string classField(const std::string& code) { return alignedRightText(trimmedField(code), 3).substr(0, 3); }

bool reasonIsSafe(const std::string& reason) {
  for (const char* mark : {"(#", "(*)", "]", ".Std", "\r", "\n"}) {
    if (reason.find(mark) != std::string::npos) return false;
  }
  return true;
}

// The substitute of a log line: the code after ": " when "-" follows it.
std::string substituteCode(const std::string& line) {
  const size_t colon = line.find(": ");
  if (colon == std::string::npos || line.size() < colon + 5 || line[colon + 4] != '-') return {};
  return trimmedField(line.substr(colon + 2, 2));
}

long lineDay(const std::string& line) { return line.size() >= 10 ? DayNumber(line.substr(0, 10)) : 0; }

std::vector<std::string> teacherCodes(const BaseData& base, const std::vector<std::string>& chosen) {
  std::vector<std::string> codes;
  for (int t = 1; t < base.nTeachers(); ++t) {
    const std::string code = trimmedField(base.teachers[static_cast<size_t>(t)].code);
    if (code == "*" || code.empty()) continue;
    if (chosen.empty() || std::find(chosen.begin(), chosen.end(), code) != chosen.end()) codes.push_back(code);
  }
  return codes;
}

std::vector<std::string> splitNames(const std::string& names) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= names.size()) {
    const size_t end = names.find(';', start);
    const std::string part = trimmedField(names.substr(start, end - start));
    if (!part.empty()) parts.push_back(part);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

bool printReport(Workspace& ws, Ui& ui, const std::vector<std::string>& lines) {
  if (PrintLines(ws, ui, lines, 80)) return true;
  ui.message("Datei-/Druckfehler!", MessageStyle{Icon::Stop});
  return false;
}

std::vector<std::string> logLines() { return readDayTextLines(kExtraWorkLog).value_or(std::vector<std::string>{}); }

}  // namespace

ExtraWorkLine manualExtraWorkLine(const BaseData& base, const ExtraWorkInput& input, bool reduced) {
  const auto date = calendarDate(trimmedField(input.date));
  if (!date) return {{}, "Datum"};
  const std::string teacher = trimmedField(input.teacher);
  if (teacher.empty() || teacher == "*" || base.findTeacher(teacher) == 0) return {{}, "Lehrer"};
  const std::string schoolClass = trimmedField(input.schoolClass);
  if (!schoolClass.empty() && base.findClass(schoolClass) == 0) return {{}, "Klasse"};
  std::string reason = trimmedField(input.reason);
  if (!reasonIsSafe(reason)) return {{}, "Grund"};
  std::replace(reason.begin(), reason.end(), ',', ';');
  const std::string number = trimmedField(input.number);
  const int hours = std::atoi(number.c_str());
  if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || hours < 1 || hours > 99)
    return {{}, "Zahl"};
  const std::string code = teacher.size() < 2 ? teacher + " " : teacher.substr(0, 2);
  return {*date + "[" + reason + "], " + classField(schoolClass.empty() ? "0A" : schoolClass) + "  0.Std.: " + code +
              "-*  (#" + std::to_string(reduced ? -hours : hours) + ")",
          {}};
}

bool appendLogLines(Ui& ui, const std::vector<std::string>& lines) {
  if (lines.empty()) return true;
  std::vector<std::string> log = logLines();
  log.insert(log.end(), lines.begin(), lines.end());
  if (writeFileAtomically(kExtraWorkLog, joinDayText(log), std::string_view(kExtraWorkLogBackup))) return true;
  reportFileError(ui, kExtraWorkLog);
  return false;
}

bool enterExtraWork(Workspace& ws, Ui& ui) {
  ExtraWorkInput input{Weekday(ws.dialogs.currentDate) > 0 ? ws.dialogs.currentDate : std::string(), "", "", "", "1"};
  bool ok = true;
  for (;;) {
    const std::string items = "$Datum (TT.MM.JJJJ):" + input.date + "|$Lehrer:" + input.teacher +
                              "|$Klasse:" + input.schoolClass + "|$Grund:" + input.reason + "|$Zahl:" + input.number +
                              "|Mehrarbeit|Minderarbeit|Ende";
    const ChoiceBoxRequest request = parseChoiceItems("Eingabe von Mehr-/Minderarbeit", items);
    const ChoiceOutcome outcome = ui.choiceBox(request);
    if (outcome.choiceResult <= 0) return ok;
    const std::string button = request.items[static_cast<size_t>(outcome.choiceResult - 1)].label;
    if (button != "Mehrarbeit" && button != "Minderarbeit") return ok;
    std::vector<std::string> values;
    for (size_t start = 0, bar; (bar = outcome.choiceValues.find('|', start)) != std::string::npos; start = bar + 1)
      values.push_back(outcome.choiceValues.substr(start, bar - start));
    values.resize(5);
    input = {values[0], values[1], values[2], values[3], values[4]};
    const ExtraWorkLine line = manualExtraWorkLine(ws.base, input, button == "Minderarbeit");
    if (!line.error.empty()) {
      ui.message("Eingabefehler: " + line.error);
      ok = false;
      continue;
    }
    if (!appendLogLines(ui, {line.line})) return false;
  }
}

std::vector<std::string> importedExtraWorkLines(const BaseData& base, const std::vector<std::string>& lines,
                                                const std::string& reason) {
  std::vector<std::string> out;
  std::string date;
  std::map<int, int> counts;
  const auto flush = [&] {
    for (const auto& [teacher, count] : counts) {
      if (count <= 0) continue;
      const std::string code = base.teachers[static_cast<size_t>(teacher)].code;
      out.push_back(date + "[" + reason + "], 0A 0.Std.: " + code.substr(0, 2) + "-*  (#" + std::to_string(count) +
                    ")");
    }
    counts.clear();
  };
  for (const std::string& line : lines) {
    if (lineDay(line) <= 0) continue;
    const std::string code = substituteCode(line);
    const int teacher = code.empty() ? 0 : base.findTeacher(code);
    if (teacher == 0) continue;
    if (line.substr(0, 10) != date) {
      flush();
      date = line.substr(0, 10);
    }
    ++counts[teacher];
  }
  flush();
  return out;
}

bool importExtraWork(Workspace& ws, Ui& ui) {
  FileChooserRequest request{"Mehrarbeitsdateien", "R", "*.x*", ""};
  const std::string names = FileChooser(ws, ui, request);
  if (names.find('.') == std::string::npos) return false;
  std::string reason;
  if (!ui.textPrompt("Grund f\xFCr Mehrarbeit", reason)) return false;
  reason = trimmedField(reason);
  if (!reasonIsSafe(reason)) {
    ui.message("Eingabefehler: Grund");
    return false;
  }
  std::replace(reason.begin(), reason.end(), ',', ';');
  std::vector<std::string> imported;
  for (const std::string& name : splitNames(names)) {
    const auto lines = readDayTextLines(name);
    if (!lines) {
      reportFileError(ui, name);
      return false;
    }
    const std::vector<std::string> part = importedExtraWorkLines(ws.base, *lines, reason);
    imported.insert(imported.end(), part.begin(), part.end());
  }
  return appendLogLines(ui, imported);
}

std::string extraWorkSinceText(const Workspace& ws, const std::string& fromDate) {
  const ExtraWork count = countExtraWork(ws, fromDate);
  std::string text;
  for (size_t t = 1; t < count.hours.size(); ++t) {
    if (count.hours[t] == 0) continue;
    text += alignedRightText(trimmedField(ws.base.teachers[t].code), 2) + ":" +
            alignedRightText(std::to_string(count.hours[t]), 3);
  }
  return text;
}

bool extraWorkSince(Workspace& ws, Ui& ui) {
  if (!DatePrompt(ws, ui, "Mehrarbeit ab Datum", 0)) return false;
  ui.showText("Mehrarbeit ab " + ws.dialogs.currentDate, extraWorkSinceText(ws, ws.dialogs.currentDate));
  return true;
}

std::vector<std::string> extraWorkReportLines(const Workspace& ws, const std::vector<std::string>& log,
                                              const std::string& fromDate, const std::vector<std::string>& teachers) {
  const long from = DayNumber(fromDate);
  std::vector<std::string> lines = {"Mehrarbeit ab " + fromDate, ""};
  for (const std::string& code : teacherCodes(ws.base, teachers)) {
    std::vector<std::string> own;
    for (const std::string& line : log) {
      if (lineDay(line) >= from && substituteCode(line) == code) own.push_back(line);
    }
    if (own.empty()) continue;
    std::stable_sort(own.begin(), own.end(),
                     [](const std::string& a, const std::string& b) { return lineDay(a) < lineDay(b); });
    lines.push_back("Vertretungen durch " + code + ":");
    std::string month;
    int hours = 0;
    const auto closeMonth = [&] {
      if (!month.empty()) lines.push_back("-> Monat " + month + " - zus\xE4tzliche Stunden: " + std::to_string(hours));
      hours = 0;
    };
    for (const std::string& line : own) {
      if (line.substr(3, 7) != month) {
        closeMonth();
        month = line.substr(3, 7);
      }
      lines.push_back("   " + line);
      hours += loggedHours(line);
    }
    closeMonth();
    lines.push_back("");
  }
  return lines;
}

std::vector<std::string> absenceReportLines(const Workspace& ws, const std::vector<std::string>& registerLines,
                                            const std::string& fromDate, const std::vector<std::string>& teachers) {
  const long from = DayNumber(fromDate);
  std::vector<std::string> lines = {"Fehltage ab " + fromDate, ""};
  const int lastPeriod = lastShownPeriod(ws.base);
  for (const std::string& code : teacherCodes(ws.base, teachers)) {
    std::vector<std::string> own;
    std::set<long> days;
    for (const std::string& raw : registerLines) {
      const auto entry = parseAbsenceLine(raw);
      if (!entry || DayNumber(entry->to) < from) continue;
      const AbsenceItemFields fields = parseAbsenceItem(entry->item);
      if (fields.who != code) continue;
      const int hours = fields.first > 0 ? (fields.last > 0 ? fields.last : lastPeriod) - fields.first + 1 : lastPeriod;
      const std::string range = entry->from == entry->to ? entry->from : entry->from + "-" + entry->to;
      own.push_back("-> [" + range + "]" + std::to_string(hours) + " Std. " + fields.reason);
      for (long day = std::max(from, DayNumber(entry->from)); day <= DayNumber(entry->to) && day - from < 4000; ++day) {
        std::string date = fromDate;
        ShiftDate(date, static_cast<int>(day - from));
        if (Weekday(date) != 7) days.insert(day);
      }
    }
    if (own.empty()) continue;
    lines.push_back("Ausfallzeiten f\xFCr " + code + ":");
    lines.insert(lines.end(), own.begin(), own.end());
    lines.push_back("Tage mit Fehlzeiten: " + std::to_string(days.size()));
    lines.push_back("");
  }
  return lines;
}

std::vector<std::string> lostLessonsReportLines(const std::vector<std::string>& log, const std::string& fromDate) {
  const long from = DayNumber(fromDate);
  std::vector<std::pair<std::string, int>> perDate;
  for (const std::string& line : log) {
    if (lineDay(line) < from || lineDay(line) <= 0 || line.find("-BT]") != std::string::npos) continue;
    const size_t colon = line.find(": ");
    if (colon == std::string::npos || line.compare(colon + 2, 4, "frei") != 0) continue;
    const size_t field = line.find("],");
    if (field == std::string::npos || std::atoi(line.c_str() + field + 2) > 13) continue;
    const std::string date = line.substr(0, 10);
    auto it = std::find_if(perDate.begin(), perDate.end(), [&](const auto& entry) { return entry.first == date; });
    if (it == perDate.end()) {
      perDate.push_back({date, 1});
    } else {
      ++it->second;
    }
  }
  std::stable_sort(perDate.begin(), perDate.end(),
                   [](const auto& a, const auto& b) { return DayNumber(a.first) < DayNumber(b.first); });
  std::vector<std::string> lines = {"Ausfallstunden:", ""};
  std::string line;
  for (size_t i = 0; i < perDate.size(); ++i) {
    line += weekdayName(perDate[i].first) + "," + perDate[i].first + ": " +
            alignedRightText(std::to_string(perDate[i].second), 3) + "  ";
    if (i % 3 == 2) {
      lines.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

bool extraWorkReport(Workspace& ws, Ui& ui, const std::vector<std::string>& teachers) {
  if (!DatePrompt(ws, ui, "Mehrarbeit ab Datum", 0)) return false;
  return printReport(ws, ui, extraWorkReportLines(ws, logLines(), ws.dialogs.currentDate, teachers));
}

bool absenceReport(Workspace& ws, Ui& ui, const std::vector<std::string>& teachers) {
  if (!DatePrompt(ws, ui, "Fehltage ab Datum", 0)) return false;
  const auto lines = readDayTextLines("termin.x").value_or(std::vector<std::string>{});
  return printReport(ws, ui, absenceReportLines(ws, lines, ws.dialogs.currentDate, teachers));
}

bool lostLessonsReport(Workspace& ws, Ui& ui) {
  if (!DatePrompt(ws, ui, "Protokolldatei pflegen ab Datum", 0)) return false;
  return printReport(ws, ui, lostLessonsReportLines(logLines(), ws.dialogs.currentDate));
}

}  // namespace quort
