#include "importer/plan_import.h"

#include <map>
#include <tuple>

#include "data/base_data.h"
#include "data/base_data_format.h"
#include "data/enc40.h"
#include "data/file_access.h"
#include "data/number_text.h"
#include "data/plan_tables.h"
#include "importer/base_data_import.h"
#include "importer/import_tables.h"
#include "importer/import_text.h"
#include "importer/import_ui.h"
#include "importer/timetable_conversion.h"

namespace quort {

namespace {

constexpr const char* kUntisFileError = "Untis-Datei fehlerhaft!";
constexpr const char* kWriteError = "Schreibfehler! Datenverlust!";
constexpr const char* kPlanNotWritten = "Plan nicht gespeichert!";
constexpr const char* kLineEnd = "\r\n";

void copyLines(ImportList& list, const auto& entities, int count) {
  list.clear();
  for (int i = 1; i <= count; ++i) list.append(entities[static_cast<size_t>(i)].line);
}

}  // namespace

bool LoadImportBaseData(ImportTables& tables, ImportUi& ui, const std::string& baseDataName) {
  std::string content;
  BaseData base;
  const bool read = readWholeFile(baseDataName + ".GD", content);
  const ParseOutcome outcome = read ? parseBaseDataFile(content, base).outcome : ParseOutcome::Defective;
  if (outcome != ParseOutcome::Ok) {
    ui.ShowMessage("Grunddaten fehlerhaft!", 2);
    ui.ShowMessage(outcome == ParseOutcome::TooLarge
                       ? "Mehr Eintr\xE4ge, als der Planer aufnehmen kann: " + baseDataName + ".GD"
                       : "Nicht lesbar: " + baseDataName + ".GD",
                   2);
    return false;
  }
  tables.clearLists();
  copyLines(tables.classes, base.classes, base.nClasses());
  copyLines(tables.teachers, base.teachers, base.nTeachers() - 1);
  copyLines(tables.subjects, base.subjects, base.nSubjects() - 1);
  copyLines(tables.rooms, base.rooms, base.nRooms());
  tables.days = base.days;
  tables.periods = base.periodsPerDay;
  tables.weekAlternation = base.weekAlternation;
  tables.grid.reset(tables.classes.count(), tables.periods);
  return true;
}

namespace {

// Problems of one GPTAVIN.TXT record, in the order of the gpuerr.txt line.
enum ErrorBit : unsigned {
  kClassNotNumbered = 1,
  kUnknownTeacher = 2,
  kUnknownSubject = 4,
  kUnknownClass = 8,
  kDayOutOfRange = 16,
  kRowOutOfRange = 32,
  kCellTaken = 64,
};

struct PlanRecord {
  long lessonNumber = 0;
  std::string schoolClass;
  std::string teacher;
  std::string subject;
  std::string room;
  long day = 0;
  long period = 0;
  long row = 0;
};

std::string errorLine(unsigned errors, const PlanRecord& record) {
  std::string line = "Fehler:";
  if (errors & kClassNotNumbered) line += " Klasse,";
  if (errors & kUnknownTeacher) line += " Lehrer,";
  if (errors & kUnknownSubject) line += " Fach,";
  if (errors & kUnknownClass) line += " Klasse unbekannt,";
  if (errors & kDayOutOfRange) line += " Tag " + std::to_string(record.day) + ',';
  if (errors & kRowOutOfRange) line += " Stunde " + std::to_string(record.period) + ',';
  if (errors & kCellTaken) {
    line += " Doppelbelegung Tag " + std::to_string(record.day) + " Stunde " + std::to_string(record.period) + ',';
  }
  line.pop_back();
  return line + " (" + record.schoolClass + ',' + record.teacher + ',' + record.subject + ')';
}

class GridFiller {
 public:
  GridFiller(ImportTables& tables, int offset) : m_tables(tables), m_offset(offset) {}

  // The error bits of the record; the record is placed unless it cannot be.
  unsigned place(PlanRecord& record) {
    unsigned errors = 0;
    if (leadingNumber(record.schoolClass) <= 0) errors |= kClassNotNumbered;
    int teacher = m_tables.teachers.find(record.teacher, kTeacherCodeWidth);
    if (teacher == 0) {
      teacher = m_tables.teachers.count() + 1;
      errors |= kUnknownTeacher;
    }
    int subject = m_tables.subjects.find(record.subject.substr(0, 2), kSubjectCodeWidth);
    if (subject == 0) {
      subject = m_tables.subjects.count() + 1;
      errors |= kUnknownSubject;
    }
    const int schoolClass = m_tables.classes.find(record.schoolClass, kClassCodeWidth);
    if (schoolClass == 0 && !(errors & kClassNotNumbered)) errors |= kUnknownClass;
    record.row = planRow(record.period);
    if (record.day < 1 || record.day > kGridDays) errors |= kDayOutOfRange;
    if (record.row < 1 || record.row > m_tables.periods) errors |= kRowOutOfRange;
    if (errors & (kClassNotNumbered | kUnknownClass | kDayOutOfRange | kRowOutOfRange)) return errors;

    const int coupling = m_tables.couplingOf(record.lessonNumber);
    const int room = m_tables.rooms.find(record.room, kRoomCodeWidth);
    const auto lessonWord = static_cast<uint16_t>(256 * teacher + (coupling > 0 ? 128 : 0) + subject);
    const auto roomWord = static_cast<uint16_t>(256 * coupling + room);
    const int row = static_cast<int>(record.row);
    const int day = static_cast<int>(record.day);
    // The lines of one lesson share their cell (the pieces of a coupling, the folded
    // lines of a piece); a line of another lesson there replaces a lesson.
    const auto [owner, fresh] = m_cellLesson.try_emplace({schoolClass, row, day}, record.lessonNumber);
    if (!fresh && owner->second != record.lessonNumber) errors |= kCellTaken;
    owner->second = record.lessonNumber;
    m_tables.grid.lessonWord.at(schoolClass, row, day) = lessonWord;
    m_tables.grid.roomWord.at(schoolClass, row, day) = roomWord;
    return errors;
  }

 private:
  long planRow(long period) const {
    if (m_tables.weekAlternation) return 2 * period - 1;
    if (m_offset > 0 && m_offset < period && period < m_tables.periods) return period + 1;
    return period;
  }

  ImportTables& m_tables;
  int m_offset;
  std::map<std::tuple<int, int, int>, long> m_cellLesson;  // (class, row, day) -> lesson number
};

}  // namespace

std::vector<std::string> fillImportGrid(ImportTables& tables, ImportUi& ui, const std::vector<UntisRecord>& gptavin,
                                        int offset) {
  GridFiller filler(tables, offset);
  std::vector<std::string> errorLines;
  for (const UntisRecord& fields : gptavin) {
    PlanRecord record{wholeNumber(fields[0]), UpperDos(fields[1].substr(0, 3)), NormTeacher(UpperDos(fields[2])),
                      UpperDos(fields[3]),    roomCode(UpperDos(fields[4])),    wholeNumber(fields[5]),
                      wholeNumber(fields[6])};
    const unsigned errors = filler.place(record);
    if (errors == 0) continue;
    errorLines.push_back(errorLine(errors, record));
    ui.ShowMessage(errorLines.back(), 1);
  }
  return errorLines;
}

std::string formatImportPlan(const ImportTables& tables) {
  std::string text = std::string("#4#") + kLineEnd;
  text += "0,0," + std::to_string(tables.nCouplings()) + ",0" + kLineEnd;
  for (int k = 1; k <= tables.nCouplings(); ++k) {
    text += Enc40(tables.couplings[static_cast<size_t>(k)].members).value_or("") + kLineEnd;
  }
  text += std::string("#4#") + kLineEnd;
  for (int day = 1; day <= kGridDays; ++day) {
    for (int row = 1; row <= tables.periods; ++row) {
      for (int schoolClass = 1; schoolClass <= tables.classes.count(); ++schoolClass) {
        text += std::to_string(tables.grid.lessonWord.at(schoolClass, row, day)) + ',' +
                std::to_string(tables.grid.roomWord.at(schoolClass, row, day)) + kLineEnd;
      }
    }
  }
  return text;
}

namespace {

bool reportUntisFailure(ImportUi& ui, const std::string& reason) {
  ui.ShowMessage(kUntisFileError, 4);
  ui.ShowMessage(reason, 4);
  return false;
}

bool writeReported(ImportUi& ui, const std::string& path, const std::string& text) {
  if (writeFileAtomically(path, text)) return true;
  ui.ShowMessage(kWriteError, 4);
  ui.ShowMessage("Nicht schreibbar: " + path, 4);
  return false;
}

// GPU001.TXT into GPTAVIN.TXT and the couplings. false when the plan must not be written.
bool convertUntisPlan(ImportTables& tables, ImportUi& ui, const std::string& untisDirectory) {
  const UntisFile gpu001 = readUntisFile(untisDirectory, "GPU001.TXT", 9);
  if (!gpu001.ok()) return reportUntisFailure(ui, describeReadFailure(gpu001));
  const auto gptavin = convertTimetable(tables, gpu001.records);
  if (!gptavin) return reportUntisFailure(ui, "Mehr als 2048 Unterrichtsnummern in " + gpu001.path);
  if (!writeReported(ui, joinPath(untisDirectory, "GPTAVIN.TXT"), *gptavin)) return false;
  if (!BuildCouplingList(tables)) return reportUntisFailure(ui, "Mehr als 127 Kopplungen in " + gpu001.path);
  if (tables.nCouplings() > kMaxCouplings) {
    ui.ShowMessage("Zu viele Kopplungen f\xFCr den Planer: " + std::to_string(tables.nCouplings()) +
                       " (h\xF6"
                       "chstens " +
                       std::to_string(kMaxCouplings) + ")!",
                   0);
    ui.ShowMessage(kPlanNotWritten, 0);
    return false;
  }
  return true;
}

// GPTAVIN.TXT into the grid, gpuerr.txt beside it. false when GPTAVIN.TXT cannot be read.
bool readUntisPlan(ImportTables& tables, ImportUi& ui, const std::string& untisDirectory, bool& errorFileFailed) {
  const int offset = static_cast<int>(numericValue(ui.ValuePrompt("Stundenversatz nach Stunde (0=keiner)", "0")));
  ui.ShowMessage("Stundenzahl " + std::to_string(tables.periods) + "  Stundenversatz " + std::to_string(offset), 4);
  const UntisFile gptavin = readUntisFile(untisDirectory, "GPTAVIN.TXT", 7);
  if (!gptavin.ok()) return reportUntisFailure(ui, describeReadFailure(gptavin));
  std::string errorText;
  for (const std::string& line : fillImportGrid(tables, ui, gptavin.records, offset)) errorText += line + kLineEnd;
  errorFileFailed = !writeReported(ui, joinPath(untisDirectory, "gpuerr.txt"), errorText);
  ui.ShowMessage("Plan eingelesen!", 4);
  return true;
}

}  // namespace

ImportOutcome ImportPlan(ImportTables& tables, ImportUi& ui, const ImportSource& source) {
  ImportOutcome outcome;
  outcome.fileFailed = true;
  if (!LoadImportBaseData(tables, ui, source.baseDataName)) return outcome;
  if (!convertUntisPlan(tables, ui, source.untisDirectory)) return outcome;
  bool errorFileFailed = false;
  if (!readUntisPlan(tables, ui, source.untisDirectory, errorFileFailed)) return outcome;
  if (!isWritableBaseName(source.baseDataName)) {
    ui.ShowMessage(kWriteError, 4);
    return outcome;
  }
  if (!writeReported(ui, source.baseDataName + ".PL", formatImportPlan(tables))) return outcome;
  ui.ShowMessage("Plan gespeichert!", 4);
  outcome.written = true;
  outcome.fileFailed = errorFileFailed;
  return outcome;
}

}  // namespace quort
