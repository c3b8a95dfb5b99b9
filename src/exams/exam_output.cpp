#include "exams/exam_output.h"

#include <algorithm>
#include <charconv>

#include "data/calendar.h"
#include "data/file_access.h"
#include "exams/exam_log.h"
#include "exams/exam_text.h"
#include "substitution/day_text_file.h"
#include "substitution/ftp_upload.h"
#include "workspace/clock.h"
#include "workspace/dialogs.h"
#include "workspace/print_job.h"
#include "workspace/text_files.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kPlanWidth = 37;
constexpr std::string_view kContinued = " ... ";
constexpr char kHeadingMarkChar = '\xAC';
constexpr char kBreakMarkChar = '\xA1';

// The pieces of a log line between its markers, blanks at their ends kept on the left.
std::vector<std::string> markedPieces(const std::string& line) {
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : line) {
    if (c == kHeadingMarkChar || c == kBreakMarkChar) {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  pieces.push_back(piece);
  return pieces;
}

std::string rightTrimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// A line held to the column width: it breaks after the last "," that fits, else after the
// last blank, or hard at the width when there is neither; every further part begins
// " ... ".
void appendWrapped(std::vector<std::string>& out, const std::string& line) {
  std::string rest = rightTrimmed(line);
  bool first = true;
  while (!rest.empty()) {
    const std::string lead = first ? std::string() : std::string(kContinued);
    const size_t room = kPlanWidth - lead.size();
    if (rest.size() <= room) {
      out.push_back(lead + rest);
      return;
    }
    // A list breaks between its items; a blank only when no item ends in the line.
    size_t cut = rest.find_last_of(',', room - 1);
    if (cut == std::string::npos || cut < 2) cut = rest.find_last_of(' ', room - 1);
    cut = cut == std::string::npos || cut < 2 ? room : cut + 1;
    out.push_back(rightTrimmed(lead + rest.substr(0, cut)));
    rest = trimmedOf(rest.substr(cut));
    first = false;
  }
}

// One exam record as plain text: heading, "Stufe:" line, then the supervisions, the
// rooms and the other sections, each under its name.
struct RecordParts {
  std::string heading;
  std::string grade;
  std::vector<std::string> rooms;
  std::vector<std::pair<std::string, std::vector<std::string>>> sections;  // name, lines
};

// "   D1 MA, M2 MB -> R12   E1 KR -> R14": the room groups, which the log separates by
// three blanks.
std::vector<std::string> roomGroups(const std::string& text) {
  std::vector<std::string> groups;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("   ", start);
    if (end == std::string::npos) end = text.size();
    if (std::string group = trimmedOf(text.substr(start, end - start)); !group.empty()) groups.push_back(group);
    start = end + 3;
  }
  return groups;
}

// The sections after the rooms; a "Frei:" line "3.:" alone is no section.
bool isSectionName(const std::string& piece) {
  return piece == "Aufsichten:" || piece == "Raum\xE4nderung:" || piece == "Frei:";
}

RecordParts partsOf(const std::vector<std::string>& record) {
  RecordParts parts;
  std::vector<std::string>* current = nullptr;
  // The first line is the heading; the same words in a later line are text of a field.
  for (const std::string& piece : markedPieces(record.front())) {
    if (const std::string text = trimmedOf(piece); !text.empty()) parts.heading += text;
  }
  for (size_t i = 1; i < record.size(); ++i) {
    for (const std::string& raw : markedPieces(record[i])) {
      const std::string piece = trimmedOf(raw);
      if (piece.empty()) continue;
      if (piece.starts_with("Stufe:")) {
        parts.grade = piece;
      } else if (piece.starts_with("R\xE4ume:")) {
        parts.rooms = roomGroups(piece.substr(6));
        current = nullptr;
      } else if (isSectionName(piece)) {
        parts.sections.push_back({piece, {}});
        current = &parts.sections.back().second;
      } else if (current != nullptr) {
        current->push_back(piece);
      }
    }
  }
  return parts;
}

void appendRecord(std::vector<std::string>& out, const std::vector<std::string>& record, bool forPrint) {
  const RecordParts parts = partsOf(record);
  const auto name = [&](const std::string& text) { return forPrint ? "\xA1" + text + "\xA1" : text; };
  // A heading damaged into a longer line is held to the width like every other line.
  std::vector<std::string> heading;
  appendWrapped(heading, parts.heading);
  for (const std::string& line : heading) out.push_back(forPrint ? "\xAC" + line + "\xAC" : line);
  appendWrapped(out, parts.grade);
  const auto section = [&](const std::string& title, const std::vector<std::string>& lines) {
    out.push_back(name(title));
    for (const std::string& line : lines) appendWrapped(out, "   " + line);
  };
  // The supervisions come first: that is what the staff room looks for.
  for (const auto& [title, lines] : parts.sections) {
    if (title == "Aufsichten:") section(title, lines);
  }
  if (!parts.rooms.empty()) section("R\xE4ume:", parts.rooms);
  for (const auto& [title, lines] : parts.sections) {
    if (title != "Aufsichten:") section(title, lines);
  }
  out.emplace_back();
}

std::string planFileText(const std::vector<std::string>& lines) { return joinDayText(lines); }

// The log as it stands, rewritten with every record closed; the old one stays as
// klausauf.x-b. A log that is already in that form is left alone, so the backup of a
// cleared overview is not overwritten by every output.
bool rewriteExamLog(Ui& ui, std::string& log) {
  if (!findExistingFile(kExamLogName)) return true;
  if (!readWholeFile(kExamLogName, log)) {
    reportFileError(ui, kExamLogName);
    return false;
  }
  const auto records = examLogRecords(log);
  const std::string text = examLogText(records);
  if (records.empty() || text == log) return true;
  if (!writeFileAtomically(kExamLogName, text, std::string_view(kExamLogBackupName))) {
    reportFileError(ui, kExamLogName);
    return false;
  }
  return true;
}

}  // namespace

int examPlanDayCount(std::string_view text) {
  const std::string digits = trimmedOf(text);
  int count = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
  if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) return 0;
  return count >= 1 && count <= kMaxExamPlanDays ? count : 0;
}

std::vector<std::string> examPlanDates(const std::string& start, int count) {
  std::vector<std::string> dates;
  if (Weekday(start) < 1) return dates;
  std::string date = start;
  while (static_cast<int>(dates.size()) < std::clamp(count, 1, kMaxExamPlanDays)) {
    if (Weekday(date) != 7) dates.push_back(date);
    ShiftDate(date, 1);
  }
  return dates;
}

std::vector<std::string> examPlanLines(std::string_view log, const std::vector<std::string>& dates, bool forPrint) {
  const auto records = examLogRecords(log);
  std::vector<std::string> lines;
  for (const std::string& date : dates) {
    for (const auto& record : records) {
      if (record.front().find(date) != std::string::npos) appendRecord(lines, record, forPrint);
    }
  }
  return lines;
}

ExamOutputResult writeExamOutput(Workspace& ws, Ui& ui, const ExamOutputRequest& request) {
  const std::vector<std::string> dates = examPlanDates(request.date, request.days);
  if (dates.empty()) {
    ui.message("Datumsfehler!");
    return ExamOutputResult::Refused;
  }
  if (request.days < 1 || request.days > kMaxExamPlanDays) {
    ui.message("Eingabefehler!");
    return ExamOutputResult::Refused;
  }
  std::string log;
  if (!rewriteExamLog(ui, log)) return ExamOutputResult::Refused;
  const std::vector<std::string> lines = examPlanLines(log, dates, false);
  if (lines.empty()) {
    ui.message("Keine Klausuren ab " + dates.front() + "!");
    return ExamOutputResult::Refused;
  }
  if (!writeFileAtomically(kExamPlanName, planFileText(lines))) {
    ui.message("Datei-/Druckfehler!", MessageStyle{Icon::Stop});
    return ExamOutputResult::Refused;
  }
  switch (request.action) {
    case ExamOutputAction::Save:
      return ExamOutputResult::Done;
    case ExamOutputAction::Print:
      return PrintLines(ws, ui, examPlanLines(log, dates, true), static_cast<int>(kPlanWidth))
                 ? ExamOutputResult::Done
                 : ExamOutputResult::Refused;
    case ExamOutputAction::Upload:
      return uploadFiles(ws, ui, kExamPlanName) == UploadStatus::Transferred ? ExamOutputResult::Done
                                                                             : ExamOutputResult::NotUploaded;
  }
  return ExamOutputResult::Refused;
}

namespace {

// What "Tag:" shows for the text of the date field: the weekday, or nothing for no date.
std::string weekdayOfDateText(const std::string& text) {
  const auto date = calendarDate(trimmedOf(text));
  return date ? DayAbbrev(Weekday(*date)) : std::string();
}

}  // namespace

std::optional<ExamOutputRequest> examOutputDialog(Workspace& ws, Ui& ui) {
  std::string date = Weekday(ws.dialogs.currentDate) > 0 ? ws.dialogs.currentDate : workspaceToday(ws);
  std::string days = "1";
  for (;;) {
    if (Weekday(date) == 7) ShiftDate(date, 1);
    std::string items = "$von Datum (TT.MM.JJJJ):" + date;
    items += "|$Tag:" + DayAbbrev(Weekday(date));
    items += "|$Tageszahl:" + days;
    items +=
        "|<|>|Druckerkonfiguration|Drucken|Speichern|\xDC"
        "bertragen|Abbruch";
    ws.shell.helpTopic = "TAVIN.hlp~klausout";
    ChoiceBoxRequest request = parseChoiceItems("Ausgabe von Klausurenpl\xE4nen", items, "Klausurenplan");
    // "Tag:" shows the weekday of the date; the date alone chooses the day.
    request.items[1].readOnly = true;
    request.items[1].follows = weekdayOfDateText;
    request.helpFile = helpReference(ws);
    const ChoiceOutcome outcome = ui.choiceBox(request);
    ws.shell.helpTopic = "TAVIN.hlp~menu";
    if (outcome.choiceResult <= 0) return std::nullopt;
    const std::vector<std::string> values = outcome.values(3);
    const std::string button = request.items[static_cast<size_t>(outcome.choiceResult - 1)].label;
    if (button == "Abbruch" || button.empty()) return std::nullopt;
    const auto typed = calendarDate(trimmedOf(values[0]));
    const int count = examPlanDayCount(values[2]);
    // A weekday typed into the shown "Tag:" (a script can) that is not the date's would be
    // lost without a word, so it is refused.
    const std::string day = trimmedOf(values[1]);
    if (!typed || count == 0 || (!day.empty() && day != weekdayOfDateText(*typed))) {
      ui.message(typed ? "Eingabefehler!" : "Datumsfehler!");
      continue;
    }
    date = *typed;
    days = std::to_string(count);
    ws.dialogs.currentDate = date;
    if (button == "<" || button == ">") {
      do {
        ShiftDate(date, button == "<" ? -1 : 1);
      } while (Weekday(date) == 7);
      continue;
    }
    if (button == "Druckerkonfiguration") {
      PrinterSetup(ws, ui, "Klausurenplan");
      continue;
    }
    const ExamOutputAction action = button == "Drucken"     ? ExamOutputAction::Print
                                    : button == "Speichern" ? ExamOutputAction::Save
                                                            : ExamOutputAction::Upload;
    return ExamOutputRequest{action, date, count};
  }
}

}  // namespace quort
