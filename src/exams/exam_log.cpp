#include "exams/exam_log.h"

#include <algorithm>
#include <cctype>

#include "data/file_access.h"
#include "exams/exam_text.h"

namespace quort {

namespace {

constexpr std::string_view kHeadingMark = "\xAC";
constexpr std::string_view kBreakMark = "\xA1";
constexpr std::string_view kRecordEnd = "####";
constexpr std::string_view kRecordStart = "Klausuren am ";
constexpr std::string_view kSupervisionWord = "Aufsichten:";
constexpr std::string_view kRoomChangeWord = "Raum\xE4nderung:";
constexpr std::string_view kFreeWord = "Frei:";

// A field line in the log: its label up to ":" padded to 5, the rest left-trimmed.
std::string logFieldLine(const std::string& line) {
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return line;
  std::string label = line.substr(0, colon + 1);
  if (label.size() < 5) label.resize(5, ' ');
  const std::string rest = line.substr(colon + 1);
  const size_t first = rest.find_first_not_of(' ');
  return label + (first == std::string::npos ? std::string() : rest.substr(first));
}

void appendSection(std::vector<std::string>& out, const std::string& lead, const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    out.push_back((i == 0 ? lead : std::string(16, ' ')) + logFieldLine(lines[i]));
  }
}

std::string withArrows(const std::string& line) {
  std::string out;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '>' && (i == 0 || line[i - 1] != '-')) out += '-';
    out += line[i];
  }
  return out;
}

std::string roomsLine(const std::string& field) {
  std::string line = std::string(kBreakMark) + "R\xE4ume:";
  for (const std::string& room : fieldLines(field)) {
    const size_t colon = room.find(':');
    const std::string label = colon == std::string::npos ? std::string() : room.substr(0, colon);
    const std::string groups = colon == std::string::npos ? room : room.substr(colon + 1);
    line += "   " + upperCasedOf(trimmedOf(groups, " ;,")) + " -> " + upperCasedOf(trimmedOf(label));
  }
  return line + std::string(kBreakMark);
}

std::string withoutMarks(std::string line) {
  for (char& c : line) {
    if (c == kHeadingMark[0] || c == kBreakMark[0]) c = ' ';
  }
  return line;
}

int leadingNumber(std::string_view text) {
  const std::string trimmed = trimmedOf(text);
  int value = 0;
  for (char c : trimmed) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) break;
    if (value < 1000) value = value * 10 + (c - '0');
  }
  return value;
}

std::pair<std::string, std::string> splitAtColon(const std::string& line) {
  const size_t colon = line.find(':');
  if (colon == std::string::npos) return {std::string(), line};
  return {trimmedOf(line.substr(0, colon)), line.substr(colon + 1)};
}

// The teacher of a supervision item "3.MR(*)": the text between the period's dot and an
// opening bracket; empty for an item without a dot.
std::string supervisorOf(const std::string& item) {
  const size_t dot = item.find('.');
  if (dot == std::string::npos) return {};
  const size_t open = item.find('(', dot);
  return trimmedOf(item.substr(dot + 1, open == std::string::npos ? std::string::npos : open - dot - 1));
}

void readSupervisions(const std::string& content, ExamOfDay& exam) {
  const auto [room, items] = splitAtColon(content);
  for (const std::string& item : listItems(items)) {
    const std::string teacher = supervisorOf(item);
    if (teacher.empty()) continue;
    exam.supervisions.push_back({room, leadingNumber(item), teacher, item.find("(*)") != std::string::npos});
  }
}

void readRoomChanges(const std::string& content, ExamOfDay& exam) {
  const auto [label, items] = splitAtColon(content);
  for (const std::string& item : listItems(items)) {
    const size_t arrow = item.find("->");
    if (arrow == std::string::npos) continue;
    const std::string left = trimmedOf(item.substr(0, arrow));
    const size_t blank = left.rfind(' ');
    if (blank == std::string::npos) continue;
    exam.roomChanges.push_back({leadingNumber(label), trimmedOf(left.substr(0, blank)), left.substr(blank + 1),
                                trimmedOf(item.substr(arrow + 2))});
  }
}

void readFreed(const std::string& content, ExamOfDay& exam) {
  const auto [label, items] = splitAtColon(content);
  for (const std::string& item : listItems(items)) exam.freed.push_back({leadingNumber(label), item});
}

void readHeading(const std::string& line, ExamOfDay& exam) {
  const size_t grade = line.find("Stufe:");
  const size_t time = line.find("Zeit:");
  if (grade != std::string::npos) {
    exam.grade = trimmedOf(line.substr(grade + 6, time == std::string::npos ? std::string::npos : time - grade - 6));
  }
  if (time != std::string::npos) exam.time = trimmedOf(line.substr(time + 5));
}

ExamOfDay examOfRecord(const std::vector<std::string>& record, const std::string& date) {
  enum class Section { None, Supervisions, RoomChanges, Freed } section = Section::None;
  ExamOfDay exam;
  exam.date = date;
  for (const std::string& raw : record) {
    // Headings and section names stand at the start of their line, behind at most one
    // mark; field text goes on indented, so the same words typed into a field are text.
    std::string_view head = raw;
    if (head.starts_with(kHeadingMark) || head.starts_with(kBreakMark)) head.remove_prefix(1);
    std::string line;
    if (head.starts_with(kSupervisionWord)) {
      section = Section::Supervisions;
      line = withoutMarks(std::string(head.substr(kSupervisionWord.size())));
    } else if (head.starts_with(kRoomChangeWord)) {
      section = Section::RoomChanges;
      line = withoutMarks(std::string(head.substr(kRoomChangeWord.size())));
    } else if (head.starts_with(kFreeWord)) {
      section = Section::Freed;
      line = withoutMarks(std::string(head.substr(kFreeWord.size())));
    } else if (head.starts_with("Stufe:")) {
      readHeading(withoutMarks(raw), exam);
      continue;
    } else if (head.starts_with("R\xE4ume:") || isExamHeading(raw)) {
      section = Section::None;
      continue;
    } else {
      line = withoutMarks(raw);
    }
    if (trimmedOf(line).empty()) continue;
    if (section == Section::Supervisions) readSupervisions(line, exam);
    if (section == Section::RoomChanges) readRoomChanges(line, exam);
    if (section == Section::Freed) readFreed(line, exam);
  }
  return exam;
}

}  // namespace

std::string examRecordText(const ExamPreset& preset, const std::string& date, const ExamFields& typed) {
  // The marks frame headings and section names; typed into a field they would make its
  // text a section of its own when the log is read back.
  const ExamFields fields{withoutMarks(typed.rooms), withoutMarks(typed.supervisions), withoutMarks(typed.roomChanges),
                          withoutMarks(typed.freed)};
  std::string time = preset.term.size() > 2 ? preset.term.substr(2) : std::string();
  time.erase(std::remove(time.begin(), time.end(), ':'), time.end());
  std::vector<std::string> lines;
  lines.push_back(std::string(kHeadingMark) + std::string(kRecordStart) + preset.term.substr(0, 2) + "," + date +
                  std::string(kHeadingMark));
  lines.emplace_back();
  lines.push_back(std::string(kBreakMark) + "Stufe: " + withoutMarks(preset.grade) + "      Zeit: " + time +
                  std::string(kBreakMark));
  lines.push_back(roomsLine(fields.rooms));
  const std::string open = std::string(kBreakMark);
  appendSection(lines, open + "Aufsichten:" + open + "   ", fieldLines(fields.supervisions));
  std::vector<std::string> changes;
  for (const std::string& line : fieldLines(fields.roomChanges)) changes.push_back(withArrows(line));
  appendSection(lines, open + std::string(kRoomChangeWord) + open + " ", changes);
  appendSection(lines, open + "Frei:" + open + "         ", fieldLines(fields.freed));
  lines.emplace_back(kRecordEnd);
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

bool saveExamRecord(const std::string& record, bool startNew) {
  if (startNew) {
    if (!findExistingFile(kExamLogName)) return writeFileAtomically(kExamLogName, record);
    return writeFileAtomically(kExamLogName, record, std::string_view(kExamLogBackupName));
  }
  std::string log;
  if (findExistingFile(kExamLogName) && !readWholeFile(kExamLogName, log)) return false;
  if (!log.empty() && log.back() != '\n') log += "\r\n";
  return writeFileAtomically(kExamLogName, log + record);
}

bool isExamHeading(std::string_view line) {
  if (line.starts_with(kHeadingMark)) line.remove_prefix(kHeadingMark.size());
  return line.starts_with(kRecordStart);
}

std::vector<std::vector<std::string>> examLogRecords(std::string_view log) {
  std::vector<std::vector<std::string>> records;
  bool open = false;
  for (const std::string& raw : fieldLinesKeepingBlanks(log)) {
    // Only a heading begins a record: the same words typed into a field of the dialog
    // stand further in, and must not split the exam in two.
    if (isExamHeading(raw)) {
      records.push_back({raw});
      open = true;
    } else if (open && raw == kRecordEnd) {
      open = false;
    } else if (open) {
      records.back().push_back(raw);
    }
  }
  return records;
}

std::string examLogText(const std::vector<std::vector<std::string>>& records) {
  std::string text;
  for (const std::vector<std::string>& record : records) {
    for (const std::string& line : record) text += line + "\r\n";
    text += std::string(kRecordEnd) + "\r\n";
  }
  return text;
}

std::vector<ExamOfDay> examsOfDayIn(std::string_view log, const std::string& date) {
  std::vector<ExamOfDay> exams;
  for (const std::vector<std::string>& record : examLogRecords(log)) {
    if (record.front().find(date) == std::string::npos) continue;
    exams.push_back(examOfRecord(record, date));
  }
  return exams;
}

std::vector<ExamOfDay> readExamsOfDay(const std::string& date) {
  std::string log;
  if (!readWholeFile(kExamLogName, log)) return {};
  return examsOfDayIn(log, date);
}

std::vector<SupervisionCount> countSupervisions(const std::string& supervisionField) {
  std::vector<SupervisionCount> counts;
  for (const std::string& line : fieldLines(supervisionField)) {
    const std::string items = splitAtColon(line).second;
    for (const std::string& item : listItems(items)) {
      const std::string teacher = supervisorOf(item);
      if (teacher.empty()) continue;
      const size_t open = item.find('(', item.find('.'));
      auto found =
          std::find_if(counts.begin(), counts.end(), [&](const SupervisionCount& c) { return c.teacher == teacher; });
      if (found == counts.end()) found = counts.insert(counts.end(), SupervisionCount{teacher});
      const bool starred = open != std::string::npos && item.compare(open, 3, "(*)") == 0;
      ++(starred ? found->starred : found->plain);
    }
  }
  return counts;
}

std::vector<std::string> examExtraWorkLines(const std::string& date, const std::string& grade, int firstPeriod,
                                            const std::vector<SupervisionCount>& counts,
                                            const std::function<bool(const std::string&)>& isRealTeacher) {
  std::string period = std::to_string(firstPeriod);
  if (period.size() < 2) period = " " + period;
  std::vector<std::string> lines;
  for (const SupervisionCount& count : counts) {
    if (!isRealTeacher(count.teacher)) continue;
    const int hours = count.starred > 0 ? count.starred : count.plain;
    if (hours <= 0) continue;
    lines.push_back(date + "[Klausur], " + grade + "A " + period + ".Std.: " + count.teacher + "-*  (#" +
                    std::to_string(hours) + ")");
  }
  return lines;
}

}  // namespace quort
