#pragma once

#include <string>

#include "data/base_data.h"
#include "data/plan_tables.h"
#include "editors/entity_list_editing.h"
#include "editors/schedule_editing.h"
#include "workspace/shell_state.h"

namespace quort {

struct Workspace;
class Ui;

// One run of the base-data editor ("Grunddatenaufnahme"). It edits the live base data;
// the state before the run is kept, so that a run that ends without a file name leaves
// the data as they were ("Anderungen ohne Wirkung!" then tells the truth).
class BaseDataEditor {
 public:
  BaseDataEditor(Workspace& ws, Ui& ui);

  // The quiet safety copy of an open plan and "Grunddaten ändern? Planverlust möglich!";
  // false unless the user answered Yes. newSet starts from empty lists ("&Neu").
  bool begin(bool newSet = false);

  Workspace& workspace() { return m_ws; }
  Ui& ui() { return m_ui; }

  // The buttons; each marks the run as changed when it changed something. List edits
  // change codes or the field after them, which the program cannot take in while it runs.
  bool add(EntityKind kind, const EntityFields& fields);
  bool insert(EntityKind kind, int before, const EntityFields& fields);
  bool replace(EntityKind kind, int index, const EntityFields& fields);
  bool remove(EntityKind kind, int index);
  bool sort(EntityKind kind);
  bool toggleRoomLock(int room);
  bool applyDaysAndPeriods(const DaysAndPeriodsInput& input);
  bool applyPlanOptions(const PlanOptionFields& fields);
  void resetPlanOptions();
  // Typing into "Kürzel:" or the field after it.
  void noteCodeTyped() { m_restart = true; }

  bool changed() const { return m_changed; }
  bool restartRequired() const { return m_restart; }

  enum class Finish { Saved, Discarded, SaveFailed };
  // The name from the file chooser: saves <stem>.GD; without a name, a changed run is
  // undone with "Anderungen ohne Wirkung!". A failed save leaves the run open.
  Finish finish(const std::string& name);

 private:
  bool track(bool changedNow);
  bool trackCodes(bool changedNow);
  void undo();

  Workspace& m_ws;
  Ui& m_ui;
  bool m_changed = false;
  bool m_restart = false;
  // The state before the run.
  BaseData m_base;
  PlanTables m_plan;
  ShellState m_shell;
};

// The dialogs of the editor; the window shows Qt dialogs, scripts drive the buttons
// through their own keywords and open nothing here.
class BaseDataDialogs {
 public:
  virtual ~BaseDataDialogs() = default;
  virtual void daysAndPeriods(BaseDataEditor& editor) = 0;
  virtual void planOptions(BaseDataEditor& editor) = 0;
  virtual void entityList(BaseDataEditor& editor, EntityKind kind) = 0;
};

struct EditBaseDataOutcome {
  bool confirmed = false;  // the user answered the warning with Yes
  bool saved = false;
  bool endProgram = false;  // codes changed and were saved: "Programmende !"
};

// The whole run ("G:", "&Grunddaten", "&Neu"): warning, the choice "Grunddatenaufnahme:"
// (or the list of kind directly: "K", "L", "F", "R"), the file name, the save.
EditBaseDataOutcome editBaseData(Workspace& ws, Ui& ui, BaseDataDialogs& dialogs, const std::string& kind,
                                 bool newSet = false);

}  // namespace quort
