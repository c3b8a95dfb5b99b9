#include "editors/entity_remap.h"

#include <algorithm>

#include "data/plan_grids.h"
#include "data/plan_records.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// The new index of old, 0 when gone; an index the base data never had stays as it is,
// so that the consistency check still sees it.
int mapped(const std::vector<int>& newIndexOf, int old) {
  if (old <= 0) return old;
  if (static_cast<size_t>(old) >= newIndexOf.size()) return old;
  return newIndexOf[static_cast<size_t>(old)];
}

struct ByteRoles {
  int teacher = -1;  // byte offsets inside one record, -1 when the record has none
  int schoolClass = -1;
  int subject = -1;
  int room = -1;
};

int roleOffset(const ByteRoles& roles, EntityKind kind) {
  switch (kind) {
    case EntityKind::Class:
      return roles.schoolClass;
    case EntityKind::Teacher:
      return roles.teacher;
    case EntityKind::Subject:
      return roles.subject;
    case EntityKind::Room:
      return roles.room;
  }
  return -1;
}

// Rewrites the byte of the kind in every record; records of a gone entity are dropped,
// except where the byte is a room, which is just cleared. skip tells records whose bytes
// mean something else (coupling entries of the assignments).
template <typename Skip>
void remapRecords(std::string& records, size_t size, const ByteRoles& roles, const EntityRemap& remap, Skip skip) {
  const int offset = roleOffset(roles, remap.kind);
  if (offset < 0) return;
  std::string kept;
  for (size_t i = 0; i < records.size() / size; ++i) {
    std::string record = records.substr(i * size, size);
    if (!skip(record)) {
      const int old = static_cast<unsigned char>(record[static_cast<size_t>(offset)]);
      const int now = mapped(remap.newIndexOf, old);
      if (old > 0 && now == 0 && remap.kind != EntityKind::Room) continue;
      record[static_cast<size_t>(offset)] = static_cast<char>(now);
    }
    kept += record;
  }
  records = std::move(kept);
}

void remapAssignments(std::string& records, const EntityRemap& remap) {
  // A coupling entry's class and subject bytes hold its lesson kind and coupling number.
  remapRecords(records, AssignmentView::kSize, {0, 1, 2, -1}, remap,
               [](const std::string& record) { return record[0] == 0; });
}

void remapSubstitutionRecords(PlanTables& plan, const EntityRemap& remap) {
  const auto never = [](const std::string&) { return false; };
  remapRecords(plan.openLessons, OpenLessonView::kSize, {0, 1, 4, 6}, remap, never);
  remapRecords(plan.freedLessons, FreedLessonView::kSize, {0, 1, -1, -1}, remap, never);
}

void remapCouplings(PlanTables& plan, const EntityRemap& remap) {
  const auto never = [](const std::string&) { return false; };
  for (size_t k = 1; k < plan.couplings.size(); ++k) {
    remapRecords(plan.couplings[k], CouplingMemberView::kSize, {0, 1, 2, -1}, remap, never);
  }
}

// A lesson word whose teacher or subject is gone leaves the cell empty.
void remapClassCells(Grid& lessons, Grid& rooms, const EntityRemap& remap) {
  for (int c = 0; c <= lessons.entities(); ++c) {
    for (int p = 1; p <= lessons.periods(); ++p) {
      for (int d = 1; d <= kGridDays; ++d) {
        uint16_t& lesson = lessons.at(c, p, d);
        uint16_t& room = rooms.at(c, p, d);
        if (remap.kind == EntityKind::Room) {
          const int now = mapped(remap.newIndexOf, RoomWord::room(room));
          room = static_cast<uint16_t>((room & ~127U) | (static_cast<unsigned>(now) & 127U));
          continue;
        }
        if (lesson == 0) continue;
        int teacher = LessonWord::teacher(lesson);
        int subject = LessonWord::subject(lesson);
        if (remap.kind == EntityKind::Teacher) teacher = mapped(remap.newIndexOf, teacher);
        if (remap.kind == EntityKind::Subject) subject = mapped(remap.newIndexOf, subject);
        if ((teacher == 0 && LessonWord::teacher(lesson) != 0) || (subject == 0 && LessonWord::subject(lesson) != 0)) {
          lesson = 0;
          room = 0;
          continue;
        }
        lesson = static_cast<uint16_t>(teacher * 256 + (lesson & 0xC0) + (subject & 63));
      }
    }
  }
}

// Every grid of one set: rows of the kind move; the others keep their rows and get the
// new sizes of the base data.
void remapGridSet(const Workspace& ws, TimetableGrids& grids, const EntityRemap& remap) {
  const BaseData& base = ws.base;
  const int periods = base.periodsPerDay;
  const auto rows = [&](Grid& grid, EntityKind kind, int entities) {
    grid = remapGridRows(grid, entities, periods,
                         kind == remap.kind ? remap.newIndexOf : unchangedIndexes(grid.entities()));
  };
  rows(grids.lessonWord, EntityKind::Class, base.nClasses());
  rows(grids.roomWord, EntityKind::Class, base.nClasses());
  rows(grids.teacher, EntityKind::Teacher, base.nTeachers());
  rows(grids.room, EntityKind::Room, base.nRooms());
  rows(grids.roomLock, EntityKind::Room, base.nRooms());
  rows(grids.subject, EntityKind::Subject, base.nSubjects());
  remapClassCells(grids.lessonWord, grids.roomWord, remap);
}

void remapSelections(Workspace& ws, const EntityRemap& remap) {
  ShellState& shell = ws.shell;
  const auto follow = [&](int& index) { index = std::max(1, mapped(remap.newIndexOf, index)); };
  switch (remap.kind) {
    case EntityKind::Class:
      follow(shell.currentClass);
      break;
    case EntityKind::Teacher:
      follow(shell.currentTeacher);
      break;
    case EntityKind::Subject:
      follow(shell.view.currentSubject);
      break;
    case EntityKind::Room:
      follow(shell.view.currentRoom);
      break;
  }
  if (shell.currentEntry.size() == AssignmentView::kSize) remapAssignments(shell.currentEntry, remap);
  if (remap.kind == EntityKind::Class) {
    std::vector<int> classes;
    for (const int c : ws.panels.lockClasses) {
      if (const int now = mapped(remap.newIndexOf, c); now > 0) classes.push_back(now);
    }
    ws.panels.lockClasses = std::move(classes);
  }
  ws.panels.fixedByAll.clear();
}

}  // namespace

std::vector<int> unchangedIndexes(int count) {
  std::vector<int> identity(static_cast<size_t>(std::max(0, count) + 1));
  for (size_t i = 0; i < identity.size(); ++i) identity[i] = static_cast<int>(i);
  return identity;
}

Grid remapGridRows(const Grid& old, int newEntities, int periods, const std::vector<int>& newIndexOf) {
  Grid grid;
  grid.resize(newEntities, periods);
  if (old.periods() == 0) return grid;  // never sized: nothing to keep
  const int keptPeriods = std::min(old.periods(), periods);
  for (int e = 0; e <= old.entities(); ++e) {
    const int now = e == 0 ? 0 : mapped(newIndexOf, e);
    if ((e > 0 && now == 0) || now > newEntities) continue;
    for (int p = 0; p <= keptPeriods; ++p) {
      for (int d = 0; d <= kGridDays; ++d) grid.at(now, p, d) = old.at(e, p, d);
    }
  }
  return grid;
}

void remapEntityIndexes(Workspace& ws, const EntityRemap& remap) {
  PlanTables& plan = ws.plan;
  remapAssignments(plan.assignments, remap);
  remapAssignments(plan.assignmentBuffer, remap);
  remapCouplings(plan, remap);
  remapSubstitutionRecords(plan, remap);
  remapGridSet(ws, plan.timetable, remap);
  remapGridSet(ws, plan.reference, remap);
  if (remap.kind == EntityKind::Teacher) {
    std::vector<int16_t> values(static_cast<size_t>(ws.base.nTeachers() + 1), 0);
    for (size_t t = 1; t < plan.teacherDayValues.size(); ++t) {
      const int now = mapped(remap.newIndexOf, static_cast<int>(t));
      if (now > 0 && now < static_cast<int>(values.size())) values[static_cast<size_t>(now)] = plan.teacherDayValues[t];
    }
    plan.teacherDayValues = std::move(values);
  }
  plan.teacherDayValues.resize(static_cast<size_t>(ws.base.nTeachers() + 1), 0);
  remapSelections(ws, remap);
  ws.placement.hoursToPlace.clear();
  ws.backup = PlanBackup{};
  recomputeDerivedGrids(ws.base, plan);
  plan.modifiedPlan = true;
}

}  // namespace quort
