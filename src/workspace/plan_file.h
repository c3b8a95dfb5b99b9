#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

enum class PlanFileKind { Plan = 0, Snapshot = 1 };

struct LoadPlanOptions {
  // In work modes 0 and 1 the user is asked "Stundenplan lesen?"; scripts read the whole plan.
  bool askForTimetable = true;
};

// Loads <name>.PL (kind Plan: the plan name up to its first "_") or <name>.PV (Snapshot)
// in five stages; a failing stage reports and the next one still runs.
// true when every stage was read.
bool LoadPlan(Workspace& ws, Ui& ui, const std::string& name, PlanFileKind kind, LoadPlanOptions options = {});

// Menu "&Öffnen" once base data are loaded: file chooser, then the plan and, in
// substitution mode on request, the snapshot over it. false when cancelled.
bool OpenPlan(Workspace& ws, Ui& ui);

enum class SaveKind { Safety = -1, Normal = 0, AfterExchangeImport = 1 };

// Saves the plan; 0 when written or nothing needed writing, -1 when cancelled or failed.
int SavePlan(Workspace& ws, Ui& ui, SaveKind kind);

// Keeps a copy of assignments, buffer and the substitution day's records for "zurück",
// then writes the safety copy.
void BackupPlanRecords(Workspace& ws, Ui& ui);
// "U:": puts the copy back and recomputes what follows from the class grid.
void RestorePlanRecords(Workspace& ws);

// Recomputes teacher, room and subject grids and lessons per class from the class grid
// and the locks; every difference to the stored grids as one line (empty: consistent).
std::vector<std::string> checkPlanConsistency(const Workspace& ws);

}  // namespace quort
