#include "workspace/plan_history.h"

#include <utility>

namespace quort {

namespace {

size_t gridBytes(const Grid& grid) {
  const size_t cells = static_cast<size_t>(grid.entities() + 1) * (grid.periods() + 1) * (kGridDays + 1);
  return grid.entities() == 0 ? 0 : cells * sizeof(uint16_t);
}

size_t stringsBytes(const std::vector<std::string>& strings) {
  size_t sum = strings.capacity() * sizeof(std::string);
  for (const std::string& s : strings) sum += s.capacity() > 15 ? s.capacity() : 0;
  return sum;
}

}  // namespace

PlanSnapshot PlanSnapshot::of(const PlanTables& plan) {
  return PlanSnapshot{plan.assignments,  plan.assignmentBuffer,  plan.couplings,    plan.blocks,
                      plan.timetable,    plan.lessonsPerClass,   plan.openLessons,  plan.freedLessons,
                      plan.modifiedPlan, plan.modifiedCouplings, plan.modifiedLocks};
}

void PlanSnapshot::restoreInto(PlanTables& plan) const {
  plan.assignments = assignments;
  plan.assignmentBuffer = assignmentBuffer;
  plan.couplings = couplings;
  plan.blocks = blocks;
  plan.timetable = timetable;
  plan.lessonsPerClass = lessonsPerClass;
  plan.openLessons = openLessons;
  plan.freedLessons = freedLessons;
  plan.modifiedPlan = modifiedPlan;
  plan.modifiedCouplings = modifiedCouplings;
  plan.modifiedLocks = modifiedLocks;
}

bool PlanSnapshot::sameTablesAs(const PlanTables& plan) const {
  return assignments == plan.assignments && assignmentBuffer == plan.assignmentBuffer && couplings == plan.couplings &&
         blocks == plan.blocks && timetable == plan.timetable && lessonsPerClass == plan.lessonsPerClass &&
         openLessons == plan.openLessons && freedLessons == plan.freedLessons;
}

size_t PlanSnapshot::bytes() const {
  const TimetableGrids& t = timetable;
  return assignments.capacity() + assignmentBuffer.capacity() + openLessons.capacity() + freedLessons.capacity() +
         stringsBytes(couplings) + stringsBytes(blocks) + lessonsPerClass.capacity() * sizeof(int16_t) +
         gridBytes(t.lessonWord) + gridBytes(t.roomWord) + gridBytes(t.teacher) + gridBytes(t.room) +
         gridBytes(t.subject);
}

void PlanHistory::begin(const PlanTables& plan) {
  if (m_depth++ > 0) return;
  m_before = PlanSnapshot::of(plan);
  m_pendingName.clear();
}

void PlanHistory::name(const std::string& stepName) {
  if (m_depth > 0 && m_pendingName.empty()) m_pendingName = stepName;
}

void PlanHistory::commit(const PlanTables& plan, const std::string& fallbackName) {
  if (m_depth == 0 || --m_depth > 0) return;
  std::optional<PlanSnapshot> before = std::exchange(m_before, std::nullopt);
  if (!before || before->sameTablesAs(plan)) return;
  m_undo.push_back(Step{m_pendingName.empty() ? fallbackName : m_pendingName, std::move(*before)});
  if (m_undo.size() > kMaxSteps) m_undo.pop_front();
  m_redo.clear();
}

bool PlanHistory::undo(PlanTables& plan) {
  if (m_undo.empty()) return false;
  Step step = std::move(m_undo.back());
  m_undo.pop_back();
  m_redo.push_back(Step{step.name, PlanSnapshot::of(plan)});
  step.tables.restoreInto(plan);
  return true;
}

bool PlanHistory::redo(PlanTables& plan) {
  if (m_redo.empty()) return false;
  Step step = std::move(m_redo.back());
  m_redo.pop_back();
  m_undo.push_back(Step{step.name, PlanSnapshot::of(plan)});
  step.tables.restoreInto(plan);
  return true;
}

void PlanHistory::clear() {
  m_undo.clear();
  m_redo.clear();
  m_before.reset();
  m_depth = 0;
}

size_t PlanHistory::bytes() const {
  size_t sum = 0;
  for (const Step& step : m_undo) sum += step.tables.bytes() + sizeof(Step);
  for (const Step& step : m_redo) sum += step.tables.bytes() + sizeof(Step);
  return sum;
}

}  // namespace quort
