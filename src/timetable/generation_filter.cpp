#include "timetable/generation_filter.h"

#include <cstdlib>
#include <set>
#include <vector>

#include "data/number_text.h"
#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

std::vector<std::string> splitCommas(const std::string& field) {
  std::vector<std::string> items;
  size_t start = 0;
  while (start <= field.size()) {
    const size_t comma = std::min(field.find(',', start), field.size());
    std::string item = field.substr(start, comma - start);
    const size_t first = item.find_first_not_of(' ');
    if (first != std::string::npos) items.push_back(item.substr(first, item.find_last_not_of(' ') - first + 1));
    start = comma + 1;
  }
  return items;
}

template <typename Find>
std::set<int> indexesOf(const std::string& field, Find find) {
  std::set<int> found;
  for (const std::string& code : splitCommas(field)) {
    if (const int index = find(code)) found.insert(index);
  }
  return found;
}

int gradeOf(const BaseData& base, int schoolClass) {
  return static_cast<int>(numericValue(base.classes[static_cast<size_t>(schoolClass)].code));
}

// Class codes first; a field that names no class is read as grades.
std::set<int> classesOf(const BaseData& base, const std::string& field) {
  std::set<int> classes = indexesOf(field, [&](const std::string& code) { return base.findClass(code); });
  if (!classes.empty() || field.find_first_not_of(" ,") == std::string::npos) return classes;
  std::set<int> grades;
  if (const size_t dash = field.find('-'); dash != std::string::npos) {
    const int from = static_cast<int>(numericValue(field.substr(0, dash)));
    const int to = static_cast<int>(numericValue(field.substr(dash + 1)));
    for (int g = from; g <= to; ++g) grades.insert(g);
  } else {
    for (const std::string& item : splitCommas(field)) grades.insert(static_cast<int>(numericValue(item)));
  }
  for (int c = 1; c <= base.nClasses(); ++c) {
    if (grades.count(gradeOf(base, c)) != 0) classes.insert(c);
  }
  // A grades field that matches no class still filters: nothing passes.
  if (classes.empty()) classes.insert(-1);
  return classes;
}

struct FilterSets {
  std::set<int> subjects;
  std::set<int> teachers;
  std::set<int> classes;
  bool passes(int teacher, int schoolClass, int subject) const {
    const auto in = [](const std::set<int>& set, int value) { return set.empty() || set.count(value) != 0; };
    return in(subjects, subject) && in(teachers, teacher) && in(classes, schoolClass);
  }
};

FilterSets filterSets(const BaseData& base, const GenerationFilter& filter) {
  FilterSets sets;
  sets.subjects = indexesOf(filter.subjects, [&](const std::string& code) { return base.findSubject(code); });
  sets.teachers = indexesOf(filter.teachers, [&](const std::string& code) { return base.findTeacher(code); });
  sets.classes = classesOf(base, filter.grades);
  // A field with codes none of which is known lets nothing through rather than everything.
  if (sets.subjects.empty() && !splitCommas(filter.subjects).empty()) sets.subjects.insert(-1);
  if (sets.teachers.empty() && !splitCommas(filter.teachers).empty()) sets.teachers.insert(-1);
  return sets;
}

bool couplingPasses(const PlanTables& plan, int coupling, const FilterSets& sets) {
  if (coupling < 1 || coupling > plan.nCouplings()) return false;
  const std::string& members = plan.couplings[static_cast<size_t>(coupling)];
  for (size_t m = 0; m < recordCount(members, CouplingMemberView::kSize); ++m) {
    const CouplingMemberView member(members, m);
    if (sets.passes(member.teacher(), member.schoolClass(), member.subject())) return true;
  }
  return false;
}

}  // namespace

std::string buildWorkList(Workspace& ws, const GenerationFilter& filter) {
  const FilterSets sets = filterSets(ws.base, filter);
  std::string& assignments = ws.plan.assignments;
  std::string workList;
  for (size_t pos = 0; pos + AssignmentView::kSize <= assignments.size();) {
    const AssignmentView entry(std::string_view(assignments).substr(pos, AssignmentView::kSize), 0);
    if (!entry.isCoupling()) {
      if (filter.singles && sets.passes(entry.teacher(), entry.schoolClass(), entry.subject()))
        workList += assignments.substr(pos, AssignmentView::kSize);
      pos += AssignmentView::kSize;
    } else if (filter.couplings && couplingPasses(ws.plan, entry.couplingNumber(), sets)) {
      workList += assignments.substr(pos, AssignmentView::kSize);
      assignments.erase(pos, AssignmentView::kSize);
      ws.plan.modifiedPlan = true;
    } else {
      pos += AssignmentView::kSize;
    }
  }
  return workList;
}

void hideAssignments(Workspace& ws, const GenerationFilter& filter) {
  const std::string workList = buildWorkList(ws, filter);
  PlanTables& plan = ws.plan;
  mergeEntries(workList, plan.assignments, MergeMode::Remove);
  plan.assignmentBuffer += plan.assignments;
  plan.assignments = workList;
  plan.modifiedPlan = true;
}

}  // namespace quort
