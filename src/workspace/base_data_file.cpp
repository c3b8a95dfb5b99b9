#include "workspace/base_data_file.h"

#include "data/base_data_format.h"
#include "data/file_access.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

bool hasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

size_t fileNameStart(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// A plan name SCHULE_2 belongs to the base data SCHULE. Only the file-name part counts,
// so that directories with "_" or "." in their names do not confuse it.
std::string baseDataStem(const std::string& name) {
  const size_t start = fileNameStart(name);
  const size_t underscore = name.find('_', start);
  return stemOf(underscore == std::string::npos ? name : name.substr(0, underscore));
}

bool namesOlderPair(const std::string& name) {
  const size_t dot = name.find('.', fileNameStart(name));
  if (dot == std::string::npos || dot + 3 > name.size()) return false;
  const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
  return upper(name[dot + 1]) == 'G' && upper(name[dot + 2]) == 'P';
}

struct ReadOutcome {
  ParseResult parsed;
  std::string missingFile;  // the name that found no file
};

// Reads the file, or notes its name when there is none (a damaged file is not "missing").
bool readOrNoteMissing(const std::string& name, std::string& content, ReadOutcome& outcome) {
  if (readWholeFile(name, content)) return true;
  if (!findExistingFile(name)) outcome.missingFile = name;
  return false;
}

ReadOutcome readBaseDataFiles(const std::string& stem, bool olderPair, BaseData& base) {
  ReadOutcome outcome;
  std::string content;
  if (!olderPair) {
    if (readOrNoteMissing(stem + ".GD", content, outcome)) outcome.parsed = parseBaseDataFile(content, base);
    return outcome;
  }
  std::string fullLines;
  if (!readOrNoteMissing(stem + ".GP", content, outcome)) return outcome;
  readWholeFile(stem + ".GK", fullLines);
  outcome.parsed = parseLegacyBaseData(content, fullLines, base);
  return outcome;
}

LoadStatus reportDefectiveData(Ui& ui, ParseOutcome outcome) {
  if (outcome == ParseOutcome::TooLarge) {
    ui.message(
        "Zu viele Eintr\xE4ge in den Grunddaten (h\xF6"
        "chstens 100 Klassen, 100 Lehrer, 50 F\xE4"
        "cher, 100 R\xE4ume)!",
        MessageStyle{Icon::Exclamation});
  }
  if (ui.askYesNo("Keine oder defekte Grunddaten!\r\rNeue Daten aufnehmen?", MessageStyle{Icon::Stop})) {
    return LoadStatus::EnterNewData;
  }
  ui.message("Programmabbruch!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
  return LoadStatus::EndProgram;
}

void resetSelection(ShellState& shell) {
  shell.currentClass = 1;
  shell.currentTeacher = 1;
  shell.currentPeriod = 1;
  shell.currentDay = 1;
}

// The file cannot hold a line with a comma or a line break, and a line starting with a
// quote would read back without it.
bool lineFitsFile(const std::string& line) {
  return line.find_first_of(",\r\n\x1A") == std::string::npos && (line.empty() || line[0] != '"');
}

template <typename T>
const std::string* firstUnfitLine(const std::vector<T>& list) {
  for (size_t i = 1; i < list.size(); ++i) {
    if (!lineFitsFile(list[i].line)) return &list[i].line;
  }
  return nullptr;
}

const std::string* firstUnfitLine(const BaseData& base) {
  if (const auto* line = firstUnfitLine(base.classes)) return line;
  if (const auto* line = firstUnfitLine(base.teachers)) return line;
  if (const auto* line = firstUnfitLine(base.subjects)) return line;
  return firstUnfitLine(base.rooms);
}

// Byte order, so that a name beginning with an umlaut counts as after "A".
bool sortsAfterA(const std::string& name) {
  if (name.empty()) return false;
  const auto first = static_cast<unsigned char>(name[0]);
  return first > 'A' || (first == 'A' && name.size() > 1);
}

}  // namespace

LoadStatus LoadBaseData(Workspace& ws, Ui& ui, std::string name) {
  ResetPlanOptions(ws.base);
  if (name.empty() || hasWildcard(name)) {
    name = ui.chooseFile({"QUORT-Plan - Grunddaten lesen", "R", "*.G*", name});
    ws.dialogs.currentFileName = name;
  }
  BaseData loaded;
  const std::string stem = baseDataStem(name);
  const ReadOutcome read = stem.empty() ? ReadOutcome{} : readBaseDataFiles(stem, namesOlderPair(name), loaded);
  const ParseResult& result = read.parsed;
  if (!read.missingFile.empty()) {
    ui.message("Datei nicht gefunden: " + read.missingFile, MessageStyle{Icon::Exclamation});
  }
  if (result.outcome != ParseOutcome::Ok) return reportDefectiveData(ui, result.outcome);
  if (result.optionsIncomplete) ui.message("Daten unvollst\xE4ndig!", MessageStyle{Icon::Exclamation});

  loaded.baseDataName = stem.substr(fileNameStart(stem));
  loaded.baseDataDirectory = absoluteDirectoryOf(stem);
  ws.base = std::move(loaded);
  ws.plan.reset(ws.base);
  ws.history.clear();
  ws.placement.hoursToPlace.clear();
  ws.backup = PlanBackup{};
  ws.dialogs.lastName = stem;
  ws.dialogs.lastDirectory = currentDirectoryText();
  resetSelection(ws.shell);
  return LoadStatus::Loaded;
}

void reportBaseDataWriteFailure(Ui& ui, const std::string& name) {
  ui.message("Dateifehler " + name + "! Datenverlust!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
}

std::optional<FileToWrite> baseDataFileToWrite(const Workspace& ws, Ui& ui, const std::string& name) {
  const std::string stem = stemOf(name);
  const std::string fileName = stem.substr(fileNameStart(stem));
  // Names that do not sort after "A" (empty, "A", digits first) are refused.
  if (!sortsAfterA(fileName)) {
    reportBaseDataWriteFailure(ui, name);
    return std::nullopt;
  }
  if (const std::string* line = firstUnfitLine(ws.base)) {
    ui.message("Unzul\xE4ssiges Zeichen (Komma, Anf\xFChrungszeichen oder Zeilenumbruch) in: " + *line + "!",
               MessageStyle{Icon::Exclamation, kProgramTitle, true});
    reportBaseDataWriteFailure(ui, name);
    return std::nullopt;
  }
  return FileToWrite{stem + ".GD", formatBaseDataFile(ws.base), std::nullopt};
}

int SaveBaseData(Workspace& ws, Ui& ui, const std::string& name) {
  const auto file = baseDataFileToWrite(ws, ui, name);
  if (!file) return -1;
  if (!writeFileAtomically(file->name, file->content)) {
    reportBaseDataWriteFailure(ui, name);
    return -1;
  }
  return 0;
}

}  // namespace quort
