#include "output/exchange_import.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>
#include <utility>

#include "data/base_data.h"
#include "data/base_data_format.h"
#include "data/codepage.h"
#include "data/file_access.h"
#include "data/number_text.h"
#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "data/plan_tables.h"
#include "workspace/base_data_file.h"
#include "workspace/dialogs.h"
#include "workspace/plan_file.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kLimitsExceeded =
    "H\xF6"
    "chstzahlen \xFC"
    "berschritten! Abbruch!";
constexpr int kMaxExchangePeriods = 10;

enum Column { kNumber, kClass, kTeacher, kSubject, kRoom, kDay, kPeriod, kColumnCount };
constexpr const char* kColumnNames[kColumnCount] = {"Nummer", "Klasse", "Lehrer", "Fach", "Raum", "Tag", "Stunde"};

// Fields of one line; a field in double quotes may hold the separator, and a doubled
// quote inside it stands for one.
std::vector<std::string> splitFields(std::string_view line, char separator) {
  std::vector<std::string> fields(1);
  bool inQuotes = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"') {
      if (inQuotes && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else {
        inQuotes = !inQuotes;
      }
    } else if (c == separator && !inQuotes) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

std::vector<std::string> splitLines(std::string_view content) {
  content = content.substr(0, std::min(content.find('\x1A'), content.size()));
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    const size_t end = std::min(content.find('\n', start), content.size());
    std::string line(content.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

char separatorOf(std::string_view firstLine) {
  if (firstLine.find(',') != std::string_view::npos) return ',';
  if (firstLine.find(';') != std::string_view::npos) return ';';
  return '\t';
}

char upperCase(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 32);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 32);  // Windows-1252 letters
  return c;
}

// Upper case, blanks removed, cut to width: the form the base data keep as code.
std::string normalisedCode(std::string_view field, size_t width) {
  std::string code;
  for (const char c : field.substr(0, std::min(width, field.size()))) {
    if (c != ' ' && c != '\t') code += upperCase(c);
  }
  return code;
}

// "10" becomes "10A": a class needs a letter at its end so that the courses of a coupling
// in one class can be told apart by changing it.
std::string normalisedClass(std::string_view field) {
  std::string code = normalisedCode(field, 3);
  if (!code.empty() && code.size() < 3 && (numericValue(code) == 0 || static_cast<unsigned char>(code.back()) < 'A')) {
    code += 'A';
  }
  return code;
}

int wholeValue(const std::string& field) {
  const double value = numericValue(field);
  return value > 1e6 || value < -1e6 ? -1 : static_cast<int>(value);
}

struct ColumnMap {
  int position[kColumnCount] = {-1, -1, -1, -1, -1, -1, -1};
  bool usable() const {
    return position[kClass] >= 0 && position[kTeacher] >= 0 && position[kSubject] >= 0 && position[kDay] >= 0 &&
           position[kPeriod] >= 0;
  }
  std::string field(const std::vector<std::string>& fields, Column column) const {
    const int p = position[column];
    return p >= 0 && p < static_cast<int>(fields.size()) ? fields[static_cast<size_t>(p)] : std::string();
  }
};

ColumnMap columnsOf(const std::vector<std::string>& header) {
  ColumnMap map;
  for (size_t i = 0; i < header.size(); ++i) {
    for (int c = 0; c < kColumnCount; ++c) {
      if (map.position[c] < 0 && header[i].find(kColumnNames[c]) != std::string::npos) {
        map.position[c] = static_cast<int>(i);
        break;
      }
    }
  }
  return map;
}

ExchangeRow rowOf(const std::vector<std::string>& fields, const ColumnMap& columns, int offset) {
  ExchangeRow row;
  row.group = std::max(0, wholeValue(columns.field(fields, kNumber)));
  row.schoolClass = normalisedClass(columns.field(fields, kClass));
  row.teacher = normalisedCode(columns.field(fields, kTeacher), 2);
  const std::string subject = columns.field(fields, kSubject);
  row.subject = normalisedCode(subject, 2);
  if (subject.size() >= 3) row.suffix = subject[2];
  row.room = normalisedCode(columns.field(fields, kRoom), 3);
  row.day = wholeValue(columns.field(fields, kDay));
  row.period = wholeValue(columns.field(fields, kPeriod));
  if (offset > 0 && row.period > offset) ++row.period;
  return row;
}

// Each course of a coupling group needs a class of its own in the grid: a course whose
// class the group already holds with another course moves to the next letter of that
// class that neither the group nor the file uses.
void separateGroupClasses(ExchangeTable& table) {
  std::set<std::string> fileClasses;
  for (const ExchangeRow& row : table.rows) fileClasses.insert(row.schoolClass);
  using Course = std::tuple<int, std::string, std::string, std::string>;
  std::map<Course, std::string> classOfCourse;
  std::set<std::pair<int, std::string>> groupClasses;
  for (ExchangeRow& row : table.rows) {
    if (row.group <= 0 || row.schoolClass.empty()) continue;
    const Course course{row.group, row.schoolClass, row.teacher, row.subject};
    if (const auto known = classOfCourse.find(course); known != classOfCourse.end()) {
      row.schoolClass = known->second;
      continue;
    }
    std::string chosen = row.schoolClass;
    if (groupClasses.contains({row.group, chosen})) {
      chosen.clear();
      for (char letter = 'A'; letter <= 'Z' && chosen.empty(); ++letter) {
        std::string candidate = row.schoolClass;
        candidate.back() = letter;
        if (!groupClasses.contains({row.group, candidate}) && !fileClasses.contains(candidate)) chosen = candidate;
      }
      if (chosen.empty()) {
        table.lettersExhausted = true;
        chosen = row.schoolClass;
      }
    }
    groupClasses.insert({row.group, chosen});
    classOfCourse[course] = chosen;
    row.schoolClass = chosen;
  }
}

}  // namespace

ExchangeReadStatus readExchangeTable(std::string_view content, int offset, ExchangeTable& table) {
  const std::vector<std::string> lines = splitLines(ToWindowsText(content));
  if (lines.empty()) return ExchangeReadStatus::MissingColumns;
  const char separator = separatorOf(lines[0]);
  const ColumnMap columns = columnsOf(splitFields(lines[0], separator));
  if (!columns.usable()) return ExchangeReadStatus::MissingColumns;
  ExchangeTable result;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].find_first_not_of(" \t") == std::string::npos) continue;
    ExchangeRow row = rowOf(splitFields(lines[i], separator), columns, offset);
    result.maxGroup = std::max(result.maxGroup, row.group);
    result.rows.push_back(std::move(row));
  }
  if (result.rows.empty()) return ExchangeReadStatus::NoRows;
  separateGroupClasses(result);
  table = std::move(result);
  return ExchangeReadStatus::Ok;
}

namespace {

void appendNew(std::vector<std::string>& list, const std::string& code) {
  if (!code.empty() && std::find(list.begin(), list.end(), code) == list.end()) list.push_back(code);
}

// Classes from 10 up sort behind 5 to 9, as if written "A-10".
std::string classSortKey(const std::string& code) { return numericValue(code) >= 10 ? "A-" + code : code; }

template <typename Entity>
std::vector<Entity> entityList(std::vector<std::string> codes, bool withSentinel) {
  std::sort(codes.begin(), codes.end());
  std::vector<Entity> list(1);
  for (const std::string& code : codes) list.emplace_back().line = code;
  // The sentinel closes the list whatever sorts behind it.
  if (withSentinel) list.emplace_back().line = "*";
  return list;
}

bool rowInRange(const ExchangeRow& row) {
  return row.day >= 1 && row.day <= kGridDays && row.period >= 1 && row.period <= kMaxExchangePeriods;
}

}  // namespace

bool buildExchangeBaseData(const ExchangeTable& table, int offset, BaseData& base, std::string& problem) {
  std::vector<std::string> classes, teachers, subjects, rooms;
  int days = 0;
  int periods = 0;
  for (const ExchangeRow& row : table.rows) {
    if (!rowInRange(row)) {
      problem = kLimitsExceeded;
      return false;
    }
    days = std::max(days, row.day);
    periods = std::max(periods, row.period);
    appendNew(classes, row.schoolClass);
    appendNew(teachers, row.teacher);
    appendNew(subjects, row.subject);
    appendNew(rooms, row.room);
  }
  if (offset > 0 && periods <= offset) ++periods;
  // Subject indices must stay below 64 and rooms below 128 to fit the grid words; the
  // planner's own capacities are smaller still.
  if (table.lettersExhausted || classes.size() > kMaxClasses || teachers.size() > kMaxTeachers ||
      subjects.size() > kMaxSubjects || rooms.size() > kMaxRooms || periods > kMaxExchangePeriods || classes.empty() ||
      teachers.empty()) {
    problem = kLimitsExceeded;
    return false;
  }
  std::sort(classes.begin(), classes.end(),
            [](const std::string& a, const std::string& b) { return classSortKey(a) < classSortKey(b); });
  BaseData fresh;
  fresh.days = days;
  fresh.periodsPerDay = periods;
  fresh.afternoonStart = std::min(fresh.afternoonStart, periods);
  fresh.classes.assign(1, SchoolClass{});
  for (const std::string& code : classes) fresh.classes.emplace_back().line = code;
  fresh.teachers = entityList<Teacher>(teachers, true);
  fresh.subjects = entityList<Subject>(subjects, true);
  fresh.rooms = entityList<Room>(rooms, false);
  deriveEntityFields(fresh);
  base = std::move(fresh);
  return true;
}

namespace {

struct ExchangeCell {
  int schoolClass = 0;
  int period = 0;
  int day = 0;
  int group = 0;
};

bool lookUpRow(const BaseData& base, const ExchangeRow& row, int index[4], std::string& problem) {
  index[0] = base.findClass(row.schoolClass);
  index[1] = base.findTeacher(row.teacher);
  index[2] = base.findSubject(row.subject);
  index[3] = row.room.empty() ? 0 : base.findRoom(row.room);
  const std::string missing = index[0] == 0                                   ? row.schoolClass
                              : index[1] == 0 || index[1] >= base.nTeachers() ? row.teacher
                              : index[2] == 0 || index[2] >= base.nSubjects() ? row.subject
                              : !row.room.empty() && index[3] == 0            ? row.room
                                                                              : std::string();
  if (missing.empty() && !row.schoolClass.empty() && !row.teacher.empty() && !row.subject.empty()) return true;
  problem = "Grunddatenfehler: " + (missing.empty() ? std::string("Angabe") : missing) + " fehlt!";
  return false;
}

// The groups with more than one course become couplings, numbered in group order; every
// cell of such a course and the cells of its partner classes in the same slot get the
// coupling's number.
bool numberCouplings(const std::map<int, std::string>& groups, const std::vector<ExchangeCell>& cells, PlanTables& plan,
                     std::string& problem) {
  std::map<int, int> couplingOfGroup;
  for (const auto& [group, members] : groups) {
    if (members.size() <= CouplingMemberView::kSize) continue;
    if (plan.nCouplings() >= kMaxCouplings) {
      problem = kLimitsExceeded;
      return false;
    }
    plan.couplings.push_back(members);
    couplingOfGroup[group] = plan.nCouplings();
  }
  TimetableGrids& grids = plan.timetable;
  for (const ExchangeCell& cell : cells) {
    const auto found = couplingOfGroup.find(cell.group);
    if (found == couplingOfGroup.end()) continue;
    const int k = found->second;
    const std::string& members = plan.couplings[static_cast<size_t>(k)];
    for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize); ++i) {
      const int c = CouplingMemberView(members, i).schoolClass();
      uint16_t& roomWord = grids.roomWord.at(c, cell.period, cell.day);
      uint16_t& lesson = grids.lessonWord.at(c, cell.period, cell.day);
      if (lesson == 0 || RoomWord::coupling(roomWord) != 0) continue;
      roomWord = static_cast<uint16_t>(roomWord | (k << 8));
      lesson = static_cast<uint16_t>(lesson | 128);
    }
  }
  return true;
}

}  // namespace

bool buildExchangePlan(const ExchangeTable& table, const BaseData& base, PlanTables& plan, std::string& problem) {
  PlanTables fresh;
  fresh.reset(base);
  std::map<int, std::string> groups;
  std::vector<ExchangeCell> cells;
  for (const ExchangeRow& row : table.rows) {
    if (row.period < 1 || row.period > base.periodsPerDay || row.day < 1 || row.day > base.days) {
      problem = "Grunddatenfehler: Stundennummer zu gro\xDF!";
      return false;
    }
    int index[4] = {};
    if (!lookUpRow(base, row, index, problem)) return false;
    const auto [c, t, s, r] = index;
    if (row.group > 0) {
      // The coupling records are stored with every byte plus 40, which keeps a suffix below 216.
      const char suffix = static_cast<unsigned char>(row.suffix) < 216 ? row.suffix : ' ';
      const std::string member = makeCouplingMember(t, c, s, suffix);
      std::string& members = groups[row.group];
      bool known = false;
      for (size_t i = 0; i < recordCount(members, CouplingMemberView::kSize) && !known; ++i) {
        known = members.compare(i * CouplingMemberView::kSize, CouplingMemberView::kSize, member) == 0;
      }
      if (!known) members += member;
    }
    fresh.timetable.lessonWord.at(c, row.period, row.day) = static_cast<uint16_t>(256 * t + s);
    fresh.timetable.roomWord.at(c, row.period, row.day) = static_cast<uint16_t>(r);
    cells.push_back({c, row.period, row.day, row.group});
  }
  if (!numberCouplings(groups, cells, fresh, problem)) return false;
  recomputeDerivedGrids(base, fresh);
  plan = std::move(fresh);
  return true;
}

namespace {

struct ImportSource {
  ExchangeTable table;
  int offset = 0;
};

std::optional<ImportSource> chooseAndReadSource(Workspace& ws, Ui& ui) {
  const std::string name = FileChooser(ws, ui, {"QUORT-Plan - DIF-Daten importieren", "R", "*.txt", ""});
  if (name.empty()) return std::nullopt;
  std::string offsetText = "0 ( = kein Versatz)";
  if (!ui.textPrompt("Stundenversatz ab Stunde", offsetText)) return std::nullopt;
  ImportSource source;
  source.offset = std::max(0, wholeValue(offsetText));
  std::string content;
  if (!readWholeFile(name, content)) {
    ui.message(name + "\rLesefehler!", MessageStyle{Icon::Stop});
    return std::nullopt;
  }
  const ExchangeReadStatus status = readExchangeTable(content, source.offset, source.table);
  if (status != ExchangeReadStatus::Ok) {
    ui.message(name + "\r" +
                   (status == ExchangeReadStatus::NoRows ? "Formatfehler: keine Zeilen!"
                                                         : "Formatfehler: Spalten Klasse, Lehrer, Fach, Tag und "
                                                           "Stunde erforderlich!"),
               MessageStyle{Icon::Stop});
    return std::nullopt;
  }
  return source;
}

void takeImportedPlan(Workspace& ws, Ui& ui, PlanTables&& plan) {
  const std::string planName = ws.plan.planName;
  ws.plan = std::move(plan);
  ws.plan.planName = planName;
  ws.shell.substitutionMode = false;
  ws.backup = {};
  ui.message("Plan eingelesen", MessageStyle{Icon::Information});
  SavePlan(ws, ui, SaveKind::AfterExchangeImport);
}

}  // namespace

bool ImportExchange(Workspace& ws, Ui& ui, ExchangeImportMode mode) {
  if (mode == ExchangeImportMode::Plan && !ws.base.loaded()) {
    ui.message("Keine oder defekte Grunddaten!");
    return false;
  }
  const auto source = chooseAndReadSource(ws, ui);
  if (!source) return false;
  std::string problem;
  BaseData base;
  if (mode == ExchangeImportMode::BaseData && !buildExchangeBaseData(source->table, source->offset, base, problem)) {
    ui.message(problem, MessageStyle{Icon::Stop});
    return false;
  }
  // The plan is built before anything is written, so that a file the plan cannot take
  // leaves no base data behind either.
  PlanTables plan;
  if (!buildExchangePlan(source->table, mode == ExchangeImportMode::BaseData ? base : ws.base, plan, problem)) {
    ui.message(problem, MessageStyle{Icon::Stop});
    return false;
  }
  if (mode == ExchangeImportMode::Plan) {
    takeImportedPlan(ws, ui, std::move(plan));
    return true;
  }
  ui.message("Grunddaten eingelesen", MessageStyle{Icon::Information});
  const std::string name = stemOf(FileChooser(ws, ui, {"QUORT-Plan - neuer Grunddatenname", "", "*.gd", ""}));
  if (name.empty()) return false;
  std::swap(ws.base, base);
  if (SaveBaseData(ws, ui, name) != 0) {
    std::swap(ws.base, base);
    return false;
  }
  ws.base.baseDataName = name.substr(name.find_last_of('/') + 1);
  ws.base.baseDataDirectory = absoluteDirectoryOf(name);
  ws.plan.reset(ws.base);
  ws.plan.planName = name;
  ws.shell.planOpened = false;
  if (ui.askYesNo("Plan erzeugen?", MessageStyle{Icon::Question})) takeImportedPlan(ws, ui, std::move(plan));
  return true;
}

}  // namespace quort
