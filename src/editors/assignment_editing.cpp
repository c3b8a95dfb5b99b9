#include "editors/assignment_editing.h"

#include "data/plan_records.h"
#include "data/plan_tables.h"
#include "editors/code_lookup.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr size_t kEntry = AssignmentView::kSize;

bool validNumber(const std::string& list, int number) {
  return number >= 1 && static_cast<size_t>(number) <= recordCount(list, kEntry);
}

std::string fourBytes(std::string_view entry) { return std::string(entry.substr(0, kEntry)); }

}  // namespace

std::string& assignmentList(PlanTables& plan, AssignmentTarget target) {
  return target == AssignmentTarget::Buffer ? plan.assignmentBuffer : plan.assignments;
}

const std::string& assignmentList(const PlanTables& plan, AssignmentTarget target) {
  return target == AssignmentTarget::Buffer ? plan.assignmentBuffer : plan.assignments;
}

int assignmentCount(const PlanTables& plan, AssignmentTarget target) {
  return static_cast<int>(recordCount(assignmentList(plan, target), kEntry));
}

void addAssignment(PlanTables& plan, AssignmentTarget target, std::string_view entry) {
  if (entry.size() < kEntry) return;
  assignmentList(plan, target) += fourBytes(entry);
  plan.modifiedPlan = true;
}

void insertAssignment(PlanTables& plan, AssignmentTarget target, int number, std::string_view entry) {
  if (entry.size() < kEntry) return;
  std::string& list = assignmentList(plan, target);
  const size_t at = validNumber(list, number) ? static_cast<size_t>(number - 1) * kEntry : list.size();
  list.insert(at, fourBytes(entry));
  plan.modifiedPlan = true;
}

bool replaceAssignment(PlanTables& plan, AssignmentTarget target, int number, std::string_view entry) {
  if (entry.size() < kEntry) return false;
  std::string& list = assignmentList(plan, target);
  if (number == 0) {
    addAssignment(plan, target, entry);
    return true;
  }
  if (!validNumber(list, number)) return false;
  list.replace(static_cast<size_t>(number - 1) * kEntry, kEntry, fourBytes(entry));
  plan.modifiedPlan = true;
  return true;
}

bool removeAssignment(PlanTables& plan, Ui& ui, AssignmentTarget target, int number) {
  std::string& list = assignmentList(plan, target);
  if (!validNumber(list, number)) {
    ui.message("Keine Daten ausgew\xE4hlt!");
    return false;
  }
  list.erase(static_cast<size_t>(number - 1) * kEntry, kEntry);
  plan.modifiedPlan = true;
  return true;
}

int copyAssignmentsFromClass(Workspace& ws, Ui& ui, AssignmentTarget target, int source, int targetClass) {
  if (source < 1 || source > ws.base.nClasses() || targetClass < 1 || targetClass > ws.base.nClasses()) return 0;
  const std::string question = "Deputat wirklich aus " + codeOf(ws.base, CodeList::Class, source) + " kopieren?";
  if (!ui.askYesNo(question, MessageStyle{Icon::Question})) return 0;
  std::string& list = assignmentList(ws.plan, target);
  std::string copies;
  for (size_t i = 0; i < recordCount(list, kEntry); ++i) {
    const AssignmentView view(list, i);
    if (view.isCoupling() || view.schoolClass() != source) continue;
    copies += list.substr(i * kEntry, kEntry);
    copies[copies.size() - kEntry + 1] = static_cast<char>(targetClass);
  }
  if (copies.empty()) return 0;
  list += copies;
  ws.plan.modifiedPlan = true;
  return static_cast<int>(copies.size() / kEntry);
}

}  // namespace quort
