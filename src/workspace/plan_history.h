#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "data/plan_tables.h"

namespace quort {

// The plan tables a change by hand or by a run can touch: the records and every grid. The
// substitution reference and the day values are not plan changes and stay out.
struct PlanSnapshot {
  std::string assignments;
  std::string assignmentBuffer;
  std::vector<std::string> couplings;
  std::vector<std::string> blocks;
  TimetableGrids timetable;
  std::vector<int16_t> lessonsPerClass;
  std::string openLessons;
  std::string freedLessons;
  bool modifiedPlan = false;
  bool modifiedCouplings = false;
  bool modifiedLocks = false;

  static PlanSnapshot of(const PlanTables& plan);
  void restoreInto(PlanTables& plan) const;
  // Whether the plan still holds what the snapshot took (the change flags aside).
  bool sameTablesAs(const PlanTables& plan) const;
  size_t bytes() const;  // heap memory the snapshot holds
};

// The last changes of the plan since it was opened, each with the name the Bearbeiten
// menu shows ("MA 7B nach DI 3"). A step keeps the tables as they were before it; undoing
// keeps the tables as they were after it for redo.
class PlanHistory {
 public:
  static constexpr size_t kMaxSteps = 100;

  // A change starts: the tables are taken as they are. Nested begins belong to the
  // outermost one, so a command that runs other commands is one step.
  void begin(const PlanTables& plan);
  // Names the running change; the first name given wins.
  void name(const std::string& stepName);
  // The change ends: when the tables differ from what begin took, it becomes a step under
  // its name (or fallbackName) and what could be redone is gone.
  void commit(const PlanTables& plan, const std::string& fallbackName);

  bool canUndo() const { return !m_undo.empty(); }
  bool canRedo() const { return !m_redo.empty(); }
  std::string undoName() const { return m_undo.empty() ? std::string() : m_undo.back().name; }
  std::string redoName() const { return m_redo.empty() ? std::string() : m_redo.back().name; }
  // Puts the tables back to before the last step; false when there is none.
  bool undo(PlanTables& plan);
  bool redo(PlanTables& plan);
  void clear();

  size_t steps() const { return m_undo.size(); }
  size_t bytes() const;  // what the kept steps take

 private:
  struct Step {
    std::string name;
    PlanSnapshot tables;
  };
  std::deque<Step> m_undo;
  std::deque<Step> m_redo;
  std::optional<PlanSnapshot> m_before;
  std::string m_pendingName;
  int m_depth = 0;
};

}  // namespace quort
