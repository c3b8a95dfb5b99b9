#include "workspace/plan_file.h"

#include <unistd.h>

#include <filesystem>

#include "data/calendar.h"
#include "data/file_access.h"
#include "data/plan_file_format.h"
#include "data/plan_grids.h"
#include "workspace/base_data_file.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

size_t fileNameStart(const std::string& name) {
  const size_t slash = name.find_last_of('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// The plan file belongs to the base name: plan SCHULE_MO lives in SCHULE.PL.
std::string baseNameOf(const std::string& planName) {
  const size_t underscore = planName.find('_', fileNameStart(planName));
  return underscore == std::string::npos ? planName : planName.substr(0, underscore);
}

bool hasUnderscore(const std::string& planName) {
  return planName.find('_', fileNameStart(planName)) != std::string::npos;
}

std::optional<std::string> readIfPresent(const std::string& name) {
  std::string content;
  if (!readWholeFile(name, content)) return std::nullopt;
  return content;
}

PlanSources readSources(const std::string& planName, PlanFileKind kind) {
  PlanSources sources;
  const bool snapshot = kind == PlanFileKind::Snapshot;
  sources.plan = readIfPresent(snapshot ? planName + ".PV" : baseNameOf(planName) + ".PL");
  if (sources.plan && isSplitLayout(*sources.plan)) {
    sources.locks = readIfPresent(planName + (snapshot ? ".PT" : ".PS"));
    sources.couplings = readIfPresent(planName + ".PK");
    sources.records = readIfPresent(planName + ".PP");
    if (!snapshot) sources.plan = readIfPresent(planName + ".PL");
  }
  return sources;
}

void rememberLocation(Workspace& ws, const std::string& planName) {
  ws.plan.planName = planName;
  ws.dialogs.lastName = planName;
  ws.dialogs.lastDirectory = currentDirectoryText();
}

// The file chooser starts in the directory of the last plan operation.
void restoreLocation(const Workspace& ws) {
  const std::string& directory = ws.dialogs.lastDirectory;
  if (directory.empty()) return;
  std::error_code ec;
  std::filesystem::current_path(nativePath(directory), ec);
}

// Directory and name, so that "DEMO" and "./DEMO" count as the same plan.
std::string locationOf(const std::string& planName) {
  return absoluteDirectoryOf(planName) + "/" + planName.substr(fileNameStart(planName));
}

bool sortsBelowA(const std::string& name) {
  const std::string file = name.substr(fileNameStart(name));
  return file.empty() || static_cast<unsigned char>(file[0]) < 'A';
}

std::string substitutionProposal(const Workspace& ws) {
  std::string name = ws.plan.planName;
  if (ws.shell.workMode == 3 && !hasUnderscore(name)) {
    name += "_" + DayAbbrev(Weekday(ws.dialogs.currentDate));
  }
  return name;
}

bool safetyCopyExists() {
  std::error_code ec;
  for (std::filesystem::directory_iterator it(".", ec), end; !ec && it != end; it.increment(ec)) {
    const std::string stem = it->path().filename().string();
    if (stem.size() >= 4 && stem.compare(0, 4, "safe") == 0 && (stem.size() == 4 || stem[4] == '.')) return true;
  }
  return false;
}

// The plan file of this save; std::nullopt (the user has been told) when a record holds
// a value the file cannot store.
std::optional<FileToWrite> planFileToWrite(const Workspace& ws, Ui& ui, const std::string& planName, SaveKind kind) {
  const bool snapshot = ws.shell.substitutionMode;
  std::string reason;
  auto text = formatPlanFile(ws.base, ws.plan,
                             {.withLocks = kind != SaveKind::AfterExchangeImport, .snapshot = snapshot}, reason);
  if (!text) {
    const MessageStyle style{Icon::Exclamation, kProgramTitle, true};
    ui.message(reason, style);
    ui.message("Fehler beim Speichern!", style);
    return std::nullopt;
  }
  return FileToWrite{snapshot ? planName + ".PV" : baseNameOf(planName) + ".PL", std::move(*text), std::nullopt};
}

struct SaveTarget {
  std::string name;
  bool changedLocation = false;
};

// Asks for the name of kinds 0 and 1; std::nullopt when the user cancels.
std::optional<SaveTarget> chooseSaveTarget(Workspace& ws, Ui& ui, SaveKind kind) {
  const std::string oldDirectory = ws.dialogs.lastDirectory;
  restoreLocation(ws);
  const bool snapshot = ws.shell.substitutionMode;
  std::string chosen =
      FileChooser(ws, ui, {"QUORT-Plan - Plan sichern", "", snapshot ? "*.pv" : "*.pl", substitutionProposal(ws)});
  chosen = stemOf(chosen);
  if (sortsBelowA(chosen)) return std::nullopt;
  const bool sameName = locationOf(chosen) == locationOf(ws.plan.planName);
  SaveTarget target{chosen, !sameName || currentDirectoryText() != oldDirectory};
  if (kind == SaveKind::Normal && !target.changedLocation &&
      !ui.askYesNo("Evtl. Datenverlust durch gleichen neuen und alten Namen!\r\rWirklich Speichern?",
                   MessageStyle{Icon::Exclamation, kProgramTitle, true})) {
    return std::nullopt;
  }
  return target;
}

struct BaseDataDecision {
  bool write = false;
  bool confirmedOptions = false;  // the user asked for the generator's options to be kept
};

// Whether the base data go into this save: always beside a plan under a new name or the
// first safety copy, otherwise only when the user keeps options the generator changed.
BaseDataDecision baseDataDecision(Workspace& ws, Ui& ui, const SaveTarget& target, bool firstSafetyCopy) {
  if (target.changedLocation || firstSafetyCopy) return {true, false};
  if (ws.plan.optionsChangedByGenerator &&
      ui.askYesNo("Planoptionen ver\xE4ndert! Speichern?", MessageStyle{Icon::Question, kProgramTitle, true})) {
    return {true, true};
  }
  return {};
}

// The files of one save land together or not at all, so a failed save never leaves a
// plan beside base data of another state.
bool writeSaveFiles(Ui& ui, const std::vector<FileToWrite>& files, bool withBaseData, const std::string& baseName) {
  const auto failed = writeFilesTogether(files);
  if (!failed) return true;
  if (withBaseData && *failed == 0) {
    reportBaseDataWriteFailure(ui, baseName);
  } else {
    ui.message("Fehler beim Speichern!", MessageStyle{Icon::Exclamation, kProgramTitle, true});
  }
  return false;
}

int failedSave(Workspace& ws, const std::string& previousName) {
  ws.plan.planName = previousName;
  return -1;
}

}  // namespace

bool LoadPlan(Workspace& ws, Ui& ui, const std::string& name, PlanFileKind kind, LoadPlanOptions options) {
  if (!ws.base.loaded()) return false;
  const std::string planName = stemOf(name);
  std::string buffer = std::move(ws.plan.assignmentBuffer);
  const TimetableGrids reference = std::move(ws.plan.reference);
  ws.plan.reset(ws.base);
  ws.history.clear();
  ws.placement.hoursToPlace.clear();
  ws.plan.assignmentBuffer = std::move(buffer);
  ws.plan.reference = reference;

  const PlanSources sources = readSources(planName, kind);
  if (sources.plan) rememberLocation(ws, planName);
  bool storeTimetable = true;
  if (options.askForTimetable && sources.plan && ws.shell.workMode <= 1) {
    storeTimetable = ui.askYesNo("Stundenplan lesen?", MessageStyle{Icon::Question});
  }
  const PlanReadOptions readOptions{.readingPlanFile = kind == PlanFileKind::Plan,
                                    .storeTimetable = storeTimetable,
                                    .legacyBaseData = ws.base.legacyBaseData};
  const std::vector<PlanStage> failed = readPlan(sources, ws.base, ws.plan, readOptions);
  for (const PlanStage stage : failed) ui.message(planStageMessage(stage), MessageStyle{Icon::Stop});
  ws.plan.clearChanges();
  return failed.empty();
}

bool OpenPlan(Workspace& ws, Ui& ui) {
  const std::string oldName = ws.plan.planName;
  ws.plan.assignmentBuffer.clear();
  const bool withSnapshot =
      ws.shell.workMode == 3 && ui.askYesNo("Alten Vertretungsplan einlesen?", MessageStyle{Icon::Question});
  restoreLocation(ws);
  const std::string chosen = FileChooser(ws, ui,
                                         {"QUORT-Plan - Plan \xF6"
                                          "ffnen",
                                          "R", withSnapshot ? "*.PV" : "*.PL", oldName});
  if (chosen.find('.', fileNameStart(chosen)) == std::string::npos) {
    ws.plan.planName = oldName;
    return false;
  }
  const std::string planName = stemOf(chosen);
  ws.plan.reference.clear();
  LoadPlan(ws, ui, planName, PlanFileKind::Plan);
  ws.plan.reference.lessonWord = ws.plan.timetable.lessonWord;
  ws.plan.reference.roomWord = ws.plan.timetable.roomWord;
  if (withSnapshot) {
    LoadPlan(ws, ui, planName, PlanFileKind::Snapshot);
    ws.shell.substitutionMode = true;
  }
  ws.shell.planOpened = true;
  return true;
}

int SavePlan(Workspace& ws, Ui& ui, SaveKind kind) {
  const std::string previousName = ws.plan.planName;
  SaveTarget target{"safe", false};
  bool firstSafetyCopy = false;
  if (kind == SaveKind::Safety) {
    firstSafetyCopy = !safetyCopyExists();
  } else {
    const auto chosen = chooseSaveTarget(ws, ui, kind);
    if (!chosen) return -1;
    target = *chosen;
  }
  const BaseDataDecision baseData = baseDataDecision(ws, ui, target, firstSafetyCopy);
  const bool mustWrite =
      kind != SaveKind::Normal || target.changedLocation || ws.shell.substitutionMode || ws.plan.anyChange();
  const std::string baseName = baseNameOf(target.name);
  std::vector<FileToWrite> files;
  if (baseData.write) {
    auto file = baseDataFileToWrite(ws, ui, baseName);
    if (!file) return failedSave(ws, previousName);
    files.push_back(std::move(*file));
  }
  if (mustWrite) {
    auto file = planFileToWrite(ws, ui, target.name, kind);
    if (!file) return failedSave(ws, previousName);
    files.push_back(std::move(*file));
  }
  if (!writeSaveFiles(ui, files, baseData.write, baseName)) return failedSave(ws, previousName);
  if (baseData.confirmedOptions) ws.plan.optionsChangedByGenerator = false;
  if (mustWrite) ws.plan.clearChanges();
  if (kind == SaveKind::Normal) {
    ui.message("Daten unter '" + target.name + "' gesichert.", MessageStyle{Icon::Information, kProgramTitle, true});
    rememberLocation(ws, target.name);
  } else {
    ws.plan.planName = previousName;
  }
  return 0;
}

void BackupPlanRecords(Workspace& ws, Ui& ui) {
  ws.backup = {true,
               ws.plan.assignments,
               ws.plan.assignmentBuffer,
               ws.plan.openLessons,
               ws.plan.freedLessons,
               ws.plan.timetable.lessonWord,
               ws.plan.timetable.roomWord};
  SavePlan(ws, ui, SaveKind::Safety);
}

void RestorePlanRecords(Workspace& ws) {
  if (!ws.backup.taken) return;
  ws.plan.assignments = ws.backup.assignments;
  ws.plan.assignmentBuffer = ws.backup.assignmentBuffer;
  ws.plan.openLessons = ws.backup.openLessons;
  ws.plan.freedLessons = ws.backup.freedLessons;
  // A copy taken before the grids were resized for other base data would not fit.
  if (ws.backup.lessonWord.entities() == ws.plan.timetable.lessonWord.entities() &&
      ws.backup.lessonWord.periods() == ws.plan.timetable.lessonWord.periods()) {
    ws.plan.timetable.lessonWord = ws.backup.lessonWord;
    ws.plan.timetable.roomWord = ws.backup.roomWord;
  }
  recomputeDerivedGrids(ws.base, ws.plan);
  ws.plan.modifiedPlan = true;
}

std::vector<std::string> checkPlanConsistency(const Workspace& ws) { return derivedGridDifferences(ws.base, ws.plan); }

}  // namespace quort
