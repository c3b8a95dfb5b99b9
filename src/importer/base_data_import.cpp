#include "importer/base_data_import.h"

#include <set>

#include "data/base_data.h"
#include "data/base_data_format.h"
#include "data/file_access.h"
#include "data/number_text.h"
#include "importer/import_tables.h"
#include "importer/import_text.h"
#include "importer/import_ui.h"
#include "importer/untis_file.h"

namespace quort {

namespace {

constexpr const char* kUntisFileError = "Untis-Datei fehlerhaft!";
constexpr const char* kWriteError = "Schreibfehler! Datenverlust!";
constexpr size_t kWeekKeyCapacity = 1024;

std::string underscored(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c == ' ') c = '_';
  }
  return result;
}

// The text after the first blank of an entry (its owner, for rooms), empty when none.
bool hasOwner(const std::string& entry) { return entry.find(' ') != std::string::npos; }

void readTeachers(ImportTables& tables, const UntisFile& file) {
  for (const UntisRecord& record : file.records) {
    const std::string code = NormTeacher(UpperDos(record[0]));
    if (code.empty() || tables.teachers.find(code, kTeacherCodeWidth) != 0) continue;
    tables.teachers.append(code + ' ' + underscored(record[1]));
  }
}

void readRooms(ImportTables& tables, const UntisFile& file) {
  for (const UntisRecord& record : file.records) {
    const std::string name = roomCode(UpperDos(record[0]));
    if (sortsBefore(name, "0") || tables.rooms.find(name, kRoomCodeWidth) != 0) continue;
    tables.rooms.append(name);
  }
}

// A subject room names the subject that owns it; a second subject in the same room
// refers to the owner, so that the planner lets both share its rooms.
void linkSubjectRoom(ImportTables& tables, int subject, const std::string& roomField) {
  const std::string room = roomCode(UpperDos(roomField));
  const int r = tables.rooms.find(room, kRoomCodeWidth);
  if (r == 0) return;
  std::string& roomEntry = tables.rooms[r];
  const std::string code = tables.subjects[subject].substr(0, kSubjectCodeWidth);
  if (!hasOwner(roomEntry)) {
    roomEntry += ' ' + code;
    return;
  }
  const std::string owner = padCode(roomEntry.substr(roomEntry.find(' ') + 1), kSubjectCodeWidth);
  if (tables.subjects.find(owner, kSubjectCodeWidth) != 0) tables.subjects[subject] += ' ' + owner;
}

void readSubjects(ImportTables& tables, const UntisFile& file) {
  for (const UntisRecord& record : file.records) {
    const std::string code = UpperDos(padCode(record[0], kSubjectCodeWidth));
    if (sortsBefore(code, "A") || tables.subjects.find(code, kSubjectCodeWidth) != 0) continue;
    // The planner takes the third field of a subject line for its room rule, so the
    // long name must not be empty.
    const std::string longName = record[1].empty() ? record[0] : record[1];
    if (!tables.subjects.append(code + ' ' + underscored(longName))) continue;
    linkSubjectRoom(tables, tables.subjects.count(), record[3]);
  }
}

void readClasses(ImportTables& tables, const UntisFile& file) {
  for (const UntisRecord& record : file.records) {
    const std::string name = withoutBlanks(UpperDos(record[0]));
    const std::string longName = UpperDos(record[1]);
    const size_t blank = longName.find(' ');
    const std::string rest = blank == std::string::npos ? std::string() : longName.substr(blank);
    if (sortsBefore(name, "0") || tables.classes.find(name, kClassCodeWidth) != 0) continue;
    if (!tables.classes.append(name + rest)) continue;
    const int r = tables.rooms.find(roomCode(UpperDos(record[3])), kRoomCodeWidth);
    if (r != 0 && !hasOwner(tables.rooms[r])) tables.rooms[r] += ' ' + name;
  }
}

// A lesson number that occurs twice in GPU002.TXT hints at week alternation.
bool lessonNumberRepeats(const UntisFile& file) {
  std::set<std::string> seen;
  for (const UntisRecord& record : file.records) {
    const std::string key = record[0] + ',';
    if (seen.count(key) != 0) return true;
    if (seen.size() < kWeekKeyCapacity) seen.insert(key);
  }
  return false;
}

struct PassStep {
  const char* fileName;
  size_t fieldCount;
  void (*read)(ImportTables&, const UntisFile&);
};

void readWeekAlternation(ImportTables& tables, const UntisFile& file) {
  if (lessonNumberRepeats(file)) tables.weekAlternation = true;
}

}  // namespace

bool RunBaseDataPass(ImportTables& tables, ImportUi& ui, const std::string& untisDirectory) {
  tables.clearLists();
  tables.weekAlternation = false;
  tables.teachers.append(kExternalTeacher);
  static constexpr PassStep kSteps[] = {
      {"GPU004.TXT", 2, readTeachers}, {"GPU005.TXT", 1, readRooms},           {"GPU006.TXT", 4, readSubjects},
      {"GPU003.TXT", 4, readClasses},  {"GPU002.TXT", 1, readWeekAlternation},
  };
  bool allRead = true;
  for (const PassStep& step : kSteps) {
    const UntisFile file = readUntisFile(untisDirectory, step.fileName, step.fieldCount);
    if (!file.ok()) {
      ui.ShowMessage(kUntisFileError, 2);
      ui.ShowMessage(describeReadFailure(file), 2);
      allRead = false;
      continue;
    }
    step.read(tables, file);
  }
  return allRead;
}

std::vector<std::string> capacityProblems(const ImportTables& tables) {
  struct Limit {
    const char* what;
    const ImportList& list;
    int capacity;
  };
  const Limit limits[] = {{"Klassen", tables.classes, kMaxClasses},
                          {"Lehrer", tables.teachers, kMaxTeachers},
                          {"F\xE4"
                           "cher",
                           tables.subjects, kMaxSubjects},
                          {"R\xE4ume", tables.rooms, kMaxRooms}};
  std::vector<std::string> problems;
  for (const Limit& limit : limits) {
    if (limit.list.count() <= limit.capacity) continue;
    const std::string count = limit.list.overflow() > 0 ? "mehr als " + std::to_string(ImportList::kCapacity)
                                                        : std::to_string(limit.list.count());
    problems.push_back(std::string("Zu viele ") + limit.what + " f\xFCr den Planer: " + count + " (h\xF6" + "chstens " +
                       std::to_string(limit.capacity) + ")!");
  }
  return problems;
}

bool isWritableBaseName(const std::string& baseDataName) {
  const size_t slash = baseDataName.find_last_of('/');
  const std::string file = slash == std::string::npos ? baseDataName : baseDataName.substr(slash + 1);
  return !file.empty() && !sortsBefore(file, "A") && file != "A";
}

std::string formatImportedBaseData(const ImportTables& tables, int lunchValue) {
  BaseData base;
  base.days = tables.days;
  base.periodsPerDay = tables.periods;
  base.afternoonStart = lunchValue;
  base.weekAlternation = tables.weekAlternation;
  const auto copyLines = [](const ImportList& list, auto& entities, bool sentinel) {
    entities.resize(1);
    for (int i = 1; i <= list.count(); ++i) entities.emplace_back().line = list[i];
    if (sentinel) entities.emplace_back().line = "*";
  };
  copyLines(tables.classes, base.classes, false);
  copyLines(tables.teachers, base.teachers, true);
  copyLines(tables.subjects, base.subjects, true);
  copyLines(tables.rooms, base.rooms, false);
  return formatBaseDataFile(base);
}

namespace {

struct Schedule {
  int lunchValue = 6;
  bool sort = false;
};

int promptNumber(ImportUi& ui, const char* label, const char* defaultValue) {
  return static_cast<int>(numericValue(ui.ValuePrompt(label, defaultValue)));
}

// The questions of the base-data generation; the answers go into the tables.
Schedule askSchedule(ImportTables& tables, ImportUi& ui) {
  if (tables.weekAlternation) {
    tables.weekAlternation = ui.ChoicePrompt("Wochenwechsel:   Nein > N   Ja > J") == 'J';
  }
  const int factor = tables.weekAlternation ? 2 : 1;
  const int days = promptNumber(ui, "Tageszahl    ", "6");
  tables.days = (days > 1 && days <= 6) ? days : 6;
  const int periods = promptNumber(ui, "Stundenzahl  ", "9") * factor;
  tables.periods = (periods > 1 && periods <= 10) ? periods : 10;
  const int lunch = promptNumber(ui, "Mittagspause ", "7") * factor;
  Schedule schedule;
  schedule.lunchValue = (lunch > 1 && lunch <= tables.periods) ? lunch - 1 : 6;
  schedule.sort = ui.ChoicePrompt("Daten sortieren:   Nein > N   Ja > J") == 'J';
  return schedule;
}

// Classes by year and the letter after it; teachers by their whole entry, which puts
// the external teacher last.
void sortLists(ImportTables& tables) {
  const auto classKey = [](const std::string& entry) {
    size_t digits = 0;
    const int year = leadingNumber(entry, &digits);
    const std::string padded = entry + "    ";
    return 16 * year + static_cast<unsigned char>(padded[digits]) % 16;
  };
  tables.classes.sortEntries([&](const std::string& a, const std::string& b) { return classKey(a) < classKey(b); });
  tables.teachers.sortEntries([](const std::string& a, const std::string& b) { return sortsBefore(a, b); });
}

// Whether the planner will read back what we are about to write, without a message.
bool plannerReads(const std::string& text) {
  BaseData check;
  const ParseResult result = parseBaseDataFile(text, check);
  return result.outcome == ParseOutcome::Ok && !result.optionsIncomplete;
}

bool refuseUnfit(const ImportTables& tables, ImportUi& ui) {
  std::vector<std::string> problems = capacityProblems(tables);
  if (tables.classes.count() == 0) problems.emplace_back("Keine Klassen in den Untis-Dateien!");
  if (problems.empty()) return false;
  for (const std::string& problem : problems) ui.ShowMessage(problem, 0);
  ui.ShowMessage("Keine Grunddaten geschrieben!", 0);
  return true;
}

}  // namespace

ImportOutcome ImportBaseData(ImportTables& tables, ImportUi& ui, const ImportSource& source) {
  ImportOutcome outcome;
  outcome.fileFailed = !RunBaseDataPass(tables, ui, source.untisDirectory);
  if (refuseUnfit(tables, ui)) return outcome;
  const Schedule schedule = askSchedule(tables, ui);
  if (schedule.sort) sortLists(tables);
  const std::string text = formatImportedBaseData(tables, schedule.lunchValue);
  if (!isWritableBaseName(source.baseDataName) || !plannerReads(text) ||
      !writeFileAtomically(source.baseDataName + ".GD", text)) {
    ui.ShowMessage(kWriteError, 4);
    outcome.fileFailed = true;
    return outcome;
  }
  outcome.written = true;
  ui.ShowMessage("Grunddaten erzeugt!", 4);
  return outcome;
}

}  // namespace quort
