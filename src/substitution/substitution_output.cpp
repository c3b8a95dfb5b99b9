#include "substitution/substitution_output.h"

#include <algorithm>
#include <cstdlib>

#include "data/calendar.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "substitution/day_files.h"
#include "substitution/day_text_file.h"
#include "substitution/ftp_upload.h"
#include "substitution/web_plan.h"
#include "workspace/clock.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kBoardCellWidth = 35;
constexpr const char* kBoardCellEnd = "|  |";
constexpr const char* kSubstituteList = "vle.x";

std::string trimmedLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\xFF')) line.pop_back();
  return line;
}

std::string trimmedLine(const std::string& text) {
  const size_t first = text.find_first_not_of(' ');
  return first == std::string::npos ? std::string() : trimmedLineEnd(text.substr(first));
}

std::string boardPadded(std::string text, size_t width) {
  text.resize(width, ' ');
  return text;
}

std::string rightAlignedNumber(int number, size_t width) {
  std::string text = std::to_string(number);
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// An entry of s<WD>.x: class (3), blank, period and ".Std." (7), then the rest from ":"
// or the coupling part on. Anything else typed into the file is a note.
bool isEntry(const std::string& line) {
  return line.size() >= 12 && line.compare(6, 5, ".Std.") == 0 && line.find(':', 11) != std::string::npos;
}

std::vector<std::string> splitItems(const std::string& line) {
  std::vector<std::string> items;
  size_t start = 0;
  int depth = 0;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] == '(') ++depth;
    if (i < line.size() && line[i] == ')' && depth > 0) --depth;
    if (i == line.size() || (line[i] == ',' && depth == 0)) {
      if (i > start) items.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  return items;
}

// The code after ": " when a "-" follows it: the substituting teacher. "frei" names none.
std::string substituteOf(const std::string& entry) {
  const size_t colon = entry.find(": ");
  if (colon == std::string::npos || colon + 4 >= entry.size() + 1 || entry.size() < colon + 5) return {};
  if (entry[colon + 4] != '-') return {};
  return trimmedLine(entry.substr(colon + 2, 2));
}

std::string boardRewrite(const std::string& entry) {
  return entry.substr(4, 7) + " " + entry.substr(0, 3) + " " + entry.substr(11);
}

// The teachers' list: the substitute in front; without one, the teacher of the coupling
// part (the two characters before ":"), and a line with neither stands apart.
std::string teacherRewrite(const std::string& entry) {
  if (const std::string code = substituteOf(entry); !code.empty()) return boardPadded(code, 2) + "  " + entry;
  const size_t colon = entry.find(':', 11);
  const std::string coupling = entry.substr(11, colon - 11);
  if (coupling.size() >= 2 && coupling.find(" .") == std::string::npos)
    return entry.substr(colon - 2, 2) + "  " + entry;
  return "    " + entry;
}

std::vector<std::string> groupedEntries(std::vector<std::string> entries, size_t keyLength, bool blankKeys) {
  std::sort(entries.begin(), entries.end());
  if (!blankKeys) return entries;
  std::string previous;
  for (std::string& entry : entries) {
    const std::string key = entry.substr(0, std::min(keyLength, entry.size()));
    const bool continuation = entry.find("=>") != std::string::npos || entry.find(">>") != std::string::npos;
    if (continuation || key == previous) {
      std::fill_n(entry.begin(), key.size(), ' ');
    } else {
      previous = key;
    }
  }
  return entries;
}

std::string boardCell(const std::string& rewritten) {
  const size_t colon = rewritten.find(':');
  std::string text = boardPadded(rewritten.substr(0, colon), 18) + rewritten.substr(colon);
  return boardPadded(text.size() > 7 ? text.substr(7) : std::string(), kBoardCellWidth) + kBoardCellEnd;
}

std::string blankBoardLine() {
  return std::string(kBoardCellWidth, ' ') + kBoardCellEnd + std::string(kBoardCellWidth, ' ') + kBoardCellEnd;
}

// Two cells to a line, left first; an unfinished line gets a blank cell.
std::vector<std::string> boardRows(const std::vector<std::string>& cells) {
  std::vector<std::string> rows;
  std::string line;
  for (const std::string& cell : cells) {
    line += cell;
    if (line.size() > 40) {
      rows.push_back(line);
      line.clear();
    }
  }
  if (!line.empty()) rows.push_back(line + std::string(kBoardCellWidth, ' ') + kBoardCellEnd);
  return rows;
}

struct PeriodBlock {
  int period = 0;
  std::vector<std::string> rows;
};

// Every block gets the same height, so the periods stand at the same place each day; a
// period with more entries takes its lines from the others.
std::vector<int> blockHeights(const std::vector<PeriodBlock>& blocks, int pageLines, int noteLines) {
  std::vector<int> heights;
  if (blocks.empty()) return heights;
  const int usable = std::min(50, pageLines - 5 - noteLines / 2);
  const int height = std::max(4, usable / static_cast<int>(blocks.size()) - 1);
  int extra = 0;
  int others = 0;
  for (const PeriodBlock& block : blocks) {
    const int rows = static_cast<int>(block.rows.size());
    if (rows > height) {
      extra += rows - height;
    } else {
      ++others;
    }
  }
  const int lowered = others > 0 ? std::max(0, height - extra / others) : height;
  for (const PeriodBlock& block : blocks) {
    const int rows = static_cast<int>(block.rows.size());
    heights.push_back(rows > height ? rows : std::max(rows, lowered));
  }
  return heights;
}

std::vector<std::string> noticeBoardLines(const CoveredDay& day, int pageLines) {
  std::vector<std::string> rewritten;
  for (const std::string& entry : day.entries) rewritten.push_back(boardRewrite(entry));
  std::vector<PeriodBlock> blocks;
  std::vector<std::string> cells;
  const auto flush = [&] {
    if (!blocks.empty()) blocks.back().rows = boardRows(cells);
    cells.clear();
  };
  std::sort(rewritten.begin(), rewritten.end());
  const std::vector<std::string> shown = groupedEntries(rewritten, 7, true);
  for (size_t i = 0; i < rewritten.size(); ++i) {
    const std::string& entry = shown[i];
    const int period = std::atoi(rewritten[i].substr(0, 2).c_str());
    if (blocks.empty() || blocks.back().period != period) {
      flush();
      blocks.push_back({period, {}});
    }
    cells.push_back(boardCell(entry));
  }
  flush();
  std::vector<std::string> noteCells;
  for (const std::string& note : day.notes) {
    for (size_t at = 0; at < note.size(); at += kBoardCellWidth)
      noteCells.push_back(boardPadded(note.substr(at, kBoardCellWidth), kBoardCellWidth) + kBoardCellEnd);
  }
  const std::vector<std::string> noteRows = boardRows(noteCells);
  const std::vector<int> heights = blockHeights(blocks, pageLines, static_cast<int>(noteRows.size()));
  std::vector<std::string> lines;
  const std::string columnRule = "|==|" + std::string(kBoardCellWidth, '=') + "|==|";
  for (size_t b = 0; b < blocks.size(); ++b) {
    lines.push_back("[" + rightAlignedNumber(blocks[b].period, 2) + ".Std.]" + std::string(26, '=') + columnRule);
    lines.insert(lines.end(), blocks[b].rows.begin(), blocks[b].rows.end());
    for (int i = static_cast<int>(blocks[b].rows.size()); i < heights[b]; ++i) lines.push_back(blankBoardLine());
  }
  if (!noteRows.empty()) {
    lines.push_back("[ Hinweise ]" + std::string(23, '=') + columnRule);
    lines.insert(lines.end(), noteRows.begin(), noteRows.end());
  }
  return lines;
}

std::string cutAtParenthesis(const std::string& line) { return trimmedLineEnd(line.substr(0, line.find('('))); }

std::vector<std::string> blankFields(std::string text) {
  for (const char* mark : {".Std.", " in ", ":", ","}) text = ReplaceAll(text, mark, " ");
  text = trimmedLine(ReplaceAll(text, "  ", " "));
  std::vector<std::string> fields;
  size_t start = 0;
  while (start < text.size()) {
    const size_t blank = text.find(' ', start);
    fields.push_back(text.substr(start, blank - start));
    if (blank == std::string::npos) break;
    start = blank + 1;
  }
  return fields;
}

std::vector<std::string> difLines(const CoveredDay& day) {
  std::string heading = replaceEachOnce(day.heading, "Vertretungen ", "");
  std::replace(heading.begin(), heading.end(), ',', ' ');
  std::vector<std::string> lines = {difLine(blankFields(heading))};
  for (const std::string& entry : groupedEntries(day.entries, 3, false)) lines.push_back(difLine(blankFields(entry)));
  for (const std::string& note : day.notes) lines.push_back(difLine({cutAtParenthesis(note)}));
  return lines;
}

bool isPublished(const OutputRequest& request) {
  return request.kind == 'I' || (request.kind == 'G' && request.action == 'I');
}

char lineKind(const OutputRequest& request) {
  if (request.kind == 'G' && request.action == 'I') return 'V';
  return request.kind;
}

}  // namespace

std::optional<OutputRequest> parseOutputCommand(const std::string& text) {
  if (text.size() < 2 + 10) return std::nullopt;
  OutputRequest request{text[0], text[1], text.substr(2, 10)};
  if (std::string("PFI").find(request.action) == std::string::npos) return std::nullopt;
  if (std::string("KIGL").find(request.kind) == std::string::npos) return std::nullopt;
  if (!calendarDate(request.date)) return std::nullopt;
  return request;
}

std::string outputCommand(const OutputRequest& request) {
  return std::string("O:V") + request.action + request.kind + request.date;
}

std::vector<std::string> convertedDayLines(const std::vector<std::string>& raw) {
  std::vector<std::string> lines;
  for (const std::string& line : raw) {
    int position = 0;
    const std::string stripped = StripPrinterPrefix(line, position);
    std::string text = trimmedLineEnd(stripped == line ? line : ToWindowsText(stripped));
    if (text.find_first_not_of(' ') != std::string::npos) lines.push_back(text);
  }
  return lines;
}

std::optional<CoveredDay> readCoveredDay(const std::string& date) {
  const auto raw = readDayTextLines(dayFileName('s', date));
  if (!raw) return std::nullopt;
  const std::vector<std::string> lines = convertedDayLines(*raw);
  if (lines.empty()) return std::nullopt;
  const size_t comma = lines[0].find(',');
  if (comma == std::string::npos || trimmedLine(lines[0].substr(comma + 1)) != date) return std::nullopt;
  CoveredDay day;
  day.date = date;
  day.heading = lines[0];
  std::vector<std::string> strays;
  for (size_t i = 1; i < lines.size(); ++i) (isEntry(lines[i]) ? day.entries : strays).push_back(lines[i]);
  // Line 1 holds the absences by its place: a day without absences has it empty, and its
  // "Aufsichten:" line must not be taken for an absence.
  const std::vector<std::string> rawNotes =
      readDayTextLines(dayFileName('t', date)).value_or(std::vector<std::string>{});
  if (!rawNotes.empty()) {
    const std::vector<std::string> first = convertedDayLines({rawNotes[0]});
    if (!first.empty()) day.absences = splitItems(first[0]);
    day.notes = convertedDayLines(std::vector<std::string>(rawNotes.begin() + 1, rawNotes.end()));
  }
  day.notes.insert(day.notes.end(), strays.begin(), strays.end());
  return day;
}

std::vector<CoveredDay> coveredDays(const std::string& date, const std::string& today, bool published) {
  std::vector<std::string> dates = {date};
  if (published && DayNumber(date) > DayNumber(today) && DayNumber(today) > 0) dates.push_back(today);
  std::vector<CoveredDay> days;
  for (const std::string& d : dates) {
    if (auto day = readCoveredDay(d)) days.push_back(std::move(*day));
  }
  return days;
}

std::string weekdayName(const std::string& date) {
  static const char* const names[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};
  const int weekday = Weekday(date);
  return weekday >= 1 && weekday <= 7 ? names[weekday - 1] : "";
}

std::string outputHeading(const std::string& date, const std::string& time) {
  return weekdayName(date) + "," + date + std::string(14, ' ') + time + " h";
}

std::vector<std::string> dayOutputLines(const CoveredDay& day, char kind, int pageLines) {
  if (kind == 'G') return noticeBoardLines(day, pageLines);
  if (kind == 'I') return difLines(day);
  std::vector<std::string> entries = day.entries;
  if (kind == 'L') std::transform(entries.begin(), entries.end(), entries.begin(), teacherRewrite);
  std::vector<std::string> lines = groupedEntries(entries, 3, kind != 'V');
  for (const std::string& note : day.notes) lines.push_back(kind == 'V' ? cutAtParenthesis(note) : note);
  return lines;
}

std::string substituteListLine(const CoveredDay& day) {
  const size_t comma = day.heading.find(',');
  std::string line = (comma == std::string::npos ? day.date : trimmedLine(day.heading.substr(comma + 1))) + ": ";
  std::vector<std::string> seen;
  for (const std::string& entry : day.entries) {
    const std::string code = substituteOf(entry);
    if (code.empty() || std::find(seen.begin(), seen.end(), code) != seen.end()) continue;
    seen.push_back(code);
    line += code + ",";
  }
  return line;
}

std::string difLine(const std::vector<std::string>& fields) {
  std::string line;
  for (const std::string& field : fields) {
    if (!line.empty()) line += ',';
    line += '"';
    for (const char c : field) line += c == '"' ? std::string("\"\"") : std::string(1, c);
    line += '"';
  }
  return line;
}

std::string outputFileName(const OutputRequest& request) {
  const std::string weekday = DayAbbrev(Weekday(request.date));
  switch (lineKind(request)) {
    case 'V':
      return "vertr.txt";
    case 'I':
      return "vdif.txt";
    case 'G':
      return "g" + weekday + ".txt";
    case 'L':
      return "l" + weekday + ".txt";
    default:
      return "k" + weekday + ".txt";
  }
}

bool writeOutput(Workspace& ws, Ui& ui, const OutputRequest& request) {
  const std::string today = workspaceToday(ws);
  const std::vector<CoveredDay> days = coveredDays(request.date, today, isPublished(request));
  const char kind = lineKind(request);
  std::vector<std::string> lines;
  std::vector<std::string> substitutes;
  for (const CoveredDay& day : days) {
    if (kind != 'I') lines.push_back(outputHeading(day.date, workspaceTime(ws)));
    const std::vector<std::string> dayLines = dayOutputLines(day, kind);
    lines.insert(lines.end(), dayLines.begin(), dayLines.end());
    substitutes.push_back(substituteListLine(day));
  }
  const std::string fileName = outputFileName(request);
  // The plan itself goes last: when any file fails, the last good plan stays published.
  std::vector<FileToWrite> files = {{kSubstituteList, joinDayText(substitutes), std::nullopt, false}};
  const bool web = request.action != 'P';
  std::vector<CoveredDay> webDays = web ? coveredDays(request.date, today, true) : std::vector<CoveredDay>{};
  if (web) {
    const WebPlan plan = buildWebPlan(webDays, today + " " + workspaceTime(ws));
    files.push_back({kWebPlanHtml, webPlanHtml(plan), std::nullopt, false});
    files.push_back({kWebPlanJson, webPlanJson(plan), std::nullopt, false});
    files.push_back({kWebPlanIcs, webPlanIcs(plan), std::nullopt, false});
  }
  files.push_back({fileName, joinDayText(lines), std::nullopt, false});
  if (writeFilesTogether(files)) {
    ui.message("Datei-/Druckerfehler!", MessageStyle{Icon::Stop});
    return false;
  }
  if (request.action == 'P') {
    size_t width = 1;
    for (const std::string& line : lines) width = std::max(width, line.size());
    if (!PrintLines(ws, ui, lines, static_cast<int>(std::min<size_t>(width, 132)))) {
      ui.message("Datei-/Druckerfehler!", MessageStyle{Icon::Stop});
      return false;
    }
  }
  if (request.action == 'I') {
    const std::string all =
        fileName + "," + kSubstituteList + "," + kWebPlanHtml + "," + kWebPlanJson + "," + kWebPlanIcs;
    return uploadFiles(ws, ui, all) == UploadStatus::Transferred;
  }
  return true;
}

std::string stepSchoolDays(const std::string& date, int n) {
  std::string day = date;
  const int step = n < 0 ? -1 : 1;
  for (int i = 0; i != n; i += step) {
    ShiftDate(day, step);
    if (Weekday(day) == 7) ShiftDate(day, step);
  }
  return day;
}

std::optional<std::string> outputDialog(Workspace& ws, Ui& ui) {
  static const char* const kinds = "GKLI";
  std::string date = Weekday(ws.dialogs.currentDate) > 0 ? ws.dialogs.currentDate : workspaceToday(ws);
  if (Weekday(date) == 7) date = stepSchoolDays(date, 1);
  int kind = 1;
  for (;;) {
    std::string items = "$Datum (TT.MM.JJJJ):" + date + "|$f\xFCr:" + std::to_string(ws.substitution.outputDays) + "|";
    for (int k = 0; k < 4; ++k) {
      static const char* const labels[] = {"Gesamt", "Klassen", "Lehrer", "DIF (,)"};
      items += std::string("?") + labels[k] + "|";
    }
    items +=
        "<|>|Drucken|Speichern|\xDC"
        "bertragen|Druckerkonfiguration|Abbruch";
    ws.shell.helpTopic = "TAVIN.hlp~vprtin";
    ChoiceBoxRequest request = parseChoiceItems("Vertretungsplan", items, "Vertretungsplan");
    request.items[static_cast<size_t>(2 + kind)].value = "1";
    const ChoiceOutcome outcome = ui.choiceBox(request);
    if (outcome.choiceResult <= 0) return std::nullopt;
    std::vector<std::string> values;
    for (size_t start = 0, bar; (bar = outcome.choiceValues.find('|', start)) != std::string::npos; start = bar + 1)
      values.push_back(outcome.choiceValues.substr(start, bar - start));
    values.resize(6);
    const auto typed = calendarDate(trimmedLine(values[0]));
    ws.substitution.outputDays = std::atoi(values[1].c_str());
    kind = 1;
    for (int k = 0; k < 4; ++k) {
      if (values[static_cast<size_t>(2 + k)] == "1") {
        kind = k;
        break;
      }
    }
    const std::string button = request.items[static_cast<size_t>(outcome.choiceResult - 1)].label;
    if (button == "Abbruch" || button.empty()) return std::nullopt;
    if (!typed) {
      ui.message("Datumsfehler!");
      continue;
    }
    date = *typed;
    ws.dialogs.currentDate = date;
    if (button == "<" || button == ">") {
      date = stepSchoolDays(date, button == "<" ? -1 : 1);
      continue;
    }
    if (button == "Druckerkonfiguration") {
      PrinterSetup(ws, ui, "Vertretungsplan");
      continue;
    }
    const char action = button == "Drucken" ? 'P' : button == "Speichern" ? 'F' : 'I';
    return outputCommand({action, kinds[kind], date});
  }
}

}  // namespace quort
