#include "output/statistics_export.h"

#include <algorithm>
#include <cstdio>

#include "courses/course_editing.h"
#include "courses/course_file.h"
#include "data/base_data.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "data/number_text.h"
#include "data/plan_records.h"
#include "data/plan_tables.h"
#include "timetable/lesson_grid.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::string trimmedUpper(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  std::string text(line.substr(first, line.find_last_not_of(" \t\r") - first + 1));
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

std::string ruleKey(int section, int rule) {
  char key[32];
  std::snprintf(key, sizeof key, "[%2d,%2d]", section, rule);
  return key;
}

std::vector<std::string> splitAt(const std::string& text, char separator) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (c == separator) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

enum class IniBlock { None, Codes, Header, Adjustment };

}  // namespace

bool parseStatIni(std::string_view text, StatisticsConfig& config) {
  StatisticsConfig result;
  int section = 0;
  IniBlock block = IniBlock::None;
  bool fromDos = false;
  std::string adjustment;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = std::min(text.find('\n', start), text.size());
    std::string_view raw = text.substr(start, end - start);
    start = end + 1;
    // Files written under DOS are recognised by their first line that the conversion changes.
    if (!fromDos && ToWindowsText(raw) != raw) fromDos = true;
    const std::string line = trimmedUpper(fromDos ? std::string_view(ToWindowsText(raw)) : raw);
    if (line == "[ENDE]") break;
    if (line == "[UVD.TXT]")
      section = 1;
    else if (line == "[FAECHER]")
      section = 2;
    else if (line == "[LEISTUNG.TXT]" || line == "[SCHUELER.TXT]" || line == "[ABI.TXT]" || line == "[SIM.TXT]")
      section = 3;
    else if (line == "[CODES]")
      block = IniBlock::Codes;
    else if (line == "[HEADER]")
      block = IniBlock::Header;
    else if (line == "[ANGLEICHKURSE]")
      block = IniBlock::Adjustment;
    else if (line.empty() || line[0] == '[')
      continue;
    else if (block == IniBlock::Codes) {
      const size_t colon = line.find(':');
      const int rule = colon == std::string::npos ? 0 : static_cast<int>(numericValue(line.substr(0, colon)));
      if (rule == 0) continue;
      std::string& rules = result.codeRules[ruleKey(section, rule)];
      if (result.codeRules.size() > kMaxStatisticsKeys) return false;
      rules += (rules.empty() ? "" : ";") + line.substr(colon + 1);
    } else if (block == IniBlock::Header && section == 1) {
      result.header += line;
    } else if (block == IniBlock::Adjustment) {
      adjustment += line;
    }
  }
  if (!adjustment.empty()) {
    std::string list = "," + adjustment + ",";
    for (size_t at; (at = list.find(",,")) != std::string::npos;) list.erase(at, 1);
    result.adjustmentCourses = list;
  }
  config = std::move(result);
  return true;
}

std::string MapCode(const StatisticsConfig& config, const std::string& code, int section, int rule) {
  const auto found = config.codeRules.find(ruleKey(section, rule));
  if (found == config.codeRules.end()) return code;
  std::string fallback;
  bool haveFallback = false;
  for (const std::string& entry : splitAt(found->second, ';')) {
    const size_t equals = entry.find('=');
    if (equals == std::string::npos) continue;
    const std::string left = entry.substr(0, equals);
    const std::string replacement = entry.substr(equals + 1);
    if (left == "**") {
      if (!haveFallback) fallback = replacement;
      haveFallback = true;
      continue;
    }
    const std::vector<std::string> codes = splitAt(left, ',');
    if (std::find(codes.begin(), codes.end(), code) != codes.end()) return replacement;
  }
  return haveFallback ? fallback : code;
}

bool noCourseFiles(const std::string&, CourseEntries&) { return false; }

bool courseLinesOfFile(const std::string& fileName, CourseEntries& courses) {
  CourseBook book;
  CourseFileNotes notes;
  if (readCourseFile(fileName, book, notes) != CourseFileStatus::Ok) return false;
  for (int n = 1; n <= book.nCourses(); ++n) courses.push_back(courseItem(book, n));
  return true;
}

namespace {

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

bool upperSchool(const BaseData& base, int value) { return value >= (base.hasYear13 ? 11 : 10); }

std::string groupKey(const BaseData& base, int schoolClass) {
  const SchoolClass& entry = base.classes[static_cast<size_t>(schoolClass)];
  const int year = static_cast<int>(numericValue(entry.code));
  std::string key;
  if (upperSchool(base, year)) {
    key = std::to_string(year) + " ";
  } else {
    std::string designation = lineField(entry.line, 3);
    if (!designation.empty() && designation[0] == '>') designation.erase(0, 1);
    key = designation.substr(0, 2) + " ";
  }
  return std::string(3 - std::min<size_t>(3, key.size()), ' ') + key.substr(0, 3);
}

// The course whose year group, subject and kind letter (its first six characters) are
// the record's: a record and a course entry share that layout.
const std::string* courseEntry(const CourseEntries& courses, std::string_view record) {
  const std::string_view key = record.substr(0, 6);
  for (const std::string& course : courses) {
    if (course.size() >= 6 && std::string_view(course).substr(0, 6) == key) return &course;
  }
  return nullptr;
}

char at(const std::string& text, size_t index) { return index < text.size() ? text[index] : ' '; }

// Subject, suffix (the course kind letter of a coupled lesson), mark and teacher: six
// characters after the group key.
std::string lessonText(const BaseData& base, const PlanTables& plan, int schoolClass, uint16_t lesson,
                       uint16_t roomWord) {
  const int teacher = LessonWord::teacher(lesson);
  int subject = LessonWord::subject(lesson);
  char suffix = ' ';
  const int coupling = RoomWord::coupling(roomWord);
  if (coupling > 0 && coupling <= plan.nCouplings()) {
    const std::string& members = plan.couplings[static_cast<size_t>(coupling)];
    for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
      const CouplingMemberView member(members, i);
      if (member.schoolClass() != schoolClass || member.teacher() != teacher) continue;
      subject = member.subject();
      suffix = member.suffix();
      break;
    }
  }
  return base.subjects[static_cast<size_t>(subject)].code + suffix + " " +
         base.teachers[static_cast<size_t>(teacher)].code;
}

// A coupled lesson whose course the course files hold takes the course's advanced mark
// and the six characters after the course name; every other record gets blanks there.
std::string recordText(const BaseData& base, const PlanTables& plan, int schoolClass, Slot slot,
                       const CourseEntries& courses) {
  const uint16_t roomWord = plan.timetable.roomWord.at(schoolClass, slot.period, slot.day);
  std::string text =
      groupKey(base, schoolClass) +
      lessonText(base, plan, schoolClass, plan.timetable.lessonWord.at(schoolClass, slot.period, slot.day), roomWord);
  std::string tail = "      ";
  if (RoomWord::coupling(roomWord) > 0) {
    if (const std::string* course = courseEntry(courses, text)) {
      if (at(*course, 6) == '*') text[6] = '*';
      for (size_t i = 0; i < tail.size(); ++i) tail[i] = at(*course, 9 + i);
    }
  }
  return text + tail;
}

}  // namespace

std::vector<DistributionRecord> distributionRecords(const BaseData& base, const PlanTables& plan,
                                                    const CourseEntries& courses) {
  std::vector<DistributionRecord> records;
  const int slots = plan.timetable.lessonWord.periods();
  const int days = std::min(base.days, kGridDays);
  for (int slot = 1; slot <= slots; ++slot) {
    for (int c = 1; c <= base.nClasses(); ++c) {
      for (int day = 1; day <= days; ++day) {
        const uint16_t lesson = plan.timetable.lessonWord.at(c, slot, day);
        const int teacher = LessonWord::teacher(lesson);
        if (teacher < 1 || teacher >= base.nTeachers() || LessonWord::subject(lesson) < 1 ||
            LessonWord::subject(lesson) > base.nSubjects()) {
          continue;
        }
        // With week alternation a weekly lesson fills both slots of its period.
        if (base.weekAlternation && slot % 2 == 0 && plan.timetable.lessonWord.at(c, slot - 1, day) == lesson) continue;
        const std::string text = recordText(base, plan, c, Slot{day, slot}, courses);
        const auto same = std::find_if(records.begin(), records.end(), [&](const DistributionRecord& r) {
          return r.text.compare(0, 9, text, 0, 9) == 0;
        });
        if (same != records.end()) {
          ++same->count;
        } else {
          records.push_back({text, 1});
        }
      }
    }
  }
  return records;
}

std::string KindCode(const BaseData& base, const StatisticsConfig& config, const CourseEntries& courses,
                     const DistributionRecord& record) {
  const std::string& r = record.text;
  const std::string group = trimmed(r.substr(0, 3));
  const int value = static_cast<int>(numericValue(group));
  const std::string subject = trimmed(r.substr(3, 2));
  std::string kind;
  const std::string* course = courseEntry(courses, r);
  if (course && (at(*course, 7) == ' ' || at(*course, 7) == '*')) {
    kind = "T";
  } else if (r[6] == '*') {
    kind = "LK";
  } else if (r[6] == '#') {
    kind = "3F";
  } else if (r[6] == '=') {
    kind = "4F";
  } else if ((value == (base.hasYear13 ? 13 : 12) || group.starts_with("Q2")) &&
             std::string_view("GNSN").find(r.substr(3, 2)) != std::string_view::npos) {
    kind = "GS";
  } else if (upperSchool(base, value) || value == 0) {
    const bool adjustment = config.adjustmentCourses.find("," + subject + ",") != std::string::npos;
    kind = adjustment || r[5] == 'A' || r[5] == 'V' ? "GA" : "GK";
  } else {
    kind = !group.empty() && static_cast<unsigned char>(group.back()) < 'A' ? "DF" : "**";
  }
  return MapCode(config, kind, 1, 4);
}

std::string formatDistribution(const BaseData& base, const StatisticsConfig& config, const CourseEntries& courses,
                               const std::vector<DistributionRecord>& records) {
  std::string text = config.header + "\r\n";
  for (const DistributionRecord& record : records) {
    const std::string& r = record.text;
    const std::string group = trimmed(r.substr(0, 3));
    const int value = static_cast<int>(numericValue(group));
    const std::string kind = KindCode(base, config, courses, record);
    if (value >= 14 || kind == "T") continue;
    char number[16];
    std::snprintf(number, sizeof number, "%03d", value);
    const std::string groupField = value == 0 ? group : upperSchool(base, value) ? std::to_string(value) : number;
    std::string hours = r.substr(9, 3), rest = r.substr(12, 3);
    std::erase(hours, ' ');
    std::erase(rest, ' ');
    const bool withRest = !hours.empty() && numericValue(hours) != 0;
    text += "\"" + groupField + "\";\"\";\"\";\"" + kind + "\";" + std::to_string(record.count) + ";\"" +
            MapCode(config, trimmed(r.substr(3, 2)), 1, 6) + "\";\"" + trimmed(r.substr(7, 2)) + "\";" + hours + ";" +
            (withRest ? rest : "") + ";\"\"\r\n";
  }
  return text;
}

std::string addCourseFile(const std::string& list, const std::string& directory, const std::string& name) {
  std::string full = !name.empty() && name[0] == '/' ? name : directory + "/" + name;
  for (size_t at; (at = full.find("//")) != std::string::npos;) full.erase(at, 1);
  std::string result = list.substr(std::min(list.find_first_not_of(" \r\n"), list.size()));
  size_t start = 0;
  while (start < result.size()) {
    const size_t end = std::min(result.find_first_of("\r\n", start), result.size());
    if (trimmed(result.substr(start, end - start)) == full) return result;
    start = end + 1;
  }
  if (!result.empty() && result.back() != '\n') result += "\r\n";
  return result + full;
}

bool ExportDistribution(Workspace& ws, Ui& ui, const std::string& courseFiles, const CourseFileLoader& loadCourses) {
  std::string ini;
  const auto iniName = findExistingFile("STAT.INI");
  StatisticsConfig config;
  if (!iniName || !readWholeFile(*iniName, ini)) {
    ui.message("stat.ini\rDatei nicht gefunden!", MessageStyle{Icon::Stop});
    return false;
  }
  if (!parseStatIni(ini, config)) {
    ui.message("stat.ini\rZu viele Codezeilen!", MessageStyle{Icon::Stop});
    return false;
  }
  CourseEntries courses;
  size_t start = 0;
  while (start < courseFiles.size()) {
    const size_t end = std::min(courseFiles.find_first_of("\r\n", start), courseFiles.size());
    const std::string name = trimmed(courseFiles.substr(start, end - start));
    start = end + 1;
    if (name.empty()) continue;
    if (!loadCourses(name, courses)) {
      ui.message(name + "\rKursdatei nicht lesbar!", MessageStyle{Icon::Stop});
      return false;
    }
  }
  const std::vector<DistributionRecord> records = distributionRecords(ws.base, ws.plan, courses);
  if (records.empty()) return false;
  if (!writeFileAtomically("UVD.TXT", formatDistribution(ws.base, config, courses, records))) {
    ui.message("uvd.txt\rSchreibfehler!", MessageStyle{Icon::Stop});
    return false;
  }
  ui.message("Datei erfolgreich erstellt", MessageStyle{Icon::Information});
  return true;
}

}  // namespace quort
