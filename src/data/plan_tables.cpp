#include "data/plan_tables.h"

#include <algorithm>

#include "data/base_data.h"

namespace quort {

void Grid::resize(int entities, int periodsPerDay) {
  m_entities = std::max(0, entities);
  m_periods = std::max(0, periodsPerDay);
  m_cells.assign(static_cast<size_t>(m_entities + 1) * (m_periods + 1) * (kGridDays + 1), 0);
}

void Grid::clear() { std::fill(m_cells.begin(), m_cells.end(), 0); }

void TimetableGrids::resize(const BaseData& base) {
  lessonWord.resize(base.nClasses(), base.periodsPerDay);
  roomWord.resize(base.nClasses(), base.periodsPerDay);
  teacher.resize(base.nTeachers(), base.periodsPerDay);
  room.resize(base.nRooms(), base.periodsPerDay);
  subject.resize(base.nSubjects(), base.periodsPerDay);
  roomLock.resize(base.nRooms(), base.periodsPerDay);
}

void TimetableGrids::clear() {
  for (Grid* grid : {&lessonWord, &roomWord, &teacher, &room, &subject, &roomLock}) grid->clear();
}

void PlanTables::reset(const BaseData& base) {
  assignments.clear();
  assignmentBuffer.clear();
  couplings.assign(1, std::string());
  blocks.assign(1, std::string());
  timetable.resize(base);
  reference.resize(base);
  lessonsPerClass.assign(static_cast<size_t>(base.nClasses() + 1), 0);
  teacherDayValues.assign(static_cast<size_t>(base.nTeachers() + 1), 0);
  openLessons.clear();
  freedLessons.clear();
  initialPlanCost = 0;
  clearChanges();
}

}  // namespace quort
