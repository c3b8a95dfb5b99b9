#include "timetable/lesson_writing.h"

#include <algorithm>

#include "data/plan_records.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

void addHoursToPlace(Workspace& ws, int teacher, int delta) {
  std::vector<int>& hours = ws.placement.hoursToPlace;
  if (hours.size() <= static_cast<size_t>(teacher)) hours.resize(static_cast<size_t>(teacher) + 1, 0);
  hours[static_cast<size_t>(teacher)] += delta;
}

void countLesson(Workspace& ws, int teacher, int subject, int schoolClass, Slot slot, uint16_t teacherLowByte) {
  TimetableGrids& grids = ws.plan.timetable;
  grids.teacher.at(teacher, slot.period, slot.day) = static_cast<uint16_t>(schoolClass * 256 + teacherLowByte);
  ++grids.teacher.at(teacher, 0, slot.day);
  addHoursToPlace(ws, teacher, -1);
  if (const int group = roomGroup(ws.base, subject)) {
    uint16_t& usage = grids.subject.at(group, slot.period, slot.day);
    if ((usage & 255) < 255) ++usage;
  }
}

void uncountLesson(Workspace& ws, int teacher, int subject, int schoolClass, Slot slot) {
  TimetableGrids& grids = ws.plan.timetable;
  uint16_t& cell = grids.teacher.at(teacher, slot.period, slot.day);
  if ((cell >> 8) != schoolClass) return;  // the teacher grid never showed this lesson
  cell &= 255;
  uint16_t& lessonsThatDay = grids.teacher.at(teacher, 0, slot.day);
  if (lessonsThatDay > 0) --lessonsThatDay;
  addHoursToPlace(ws, teacher, 1);
  if (const int group = roomGroup(ws.base, subject)) {
    uint16_t& usage = grids.subject.at(group, slot.period, slot.day);
    if ((usage & 255) > (usage >> 8)) --usage;  // the locked rooms stay taken
  }
}

}  // namespace

int placeUnits(Workspace& ws, std::string_view units, Slot slot, UnitPlacement placement) {
  const BaseData& base = ws.base;
  TimetableGrids& grids = ws.plan.timetable;
  const int extra = std::min(placement.extra, base.periodsPerDay - slot.period);
  int coupling = 0;
  for (size_t i = 0; i < recordCount(units, AssignmentView::kSize); ++i) {
    const AssignmentView unit(units, i);
    if (unit.teacher() == 0) {
      coupling = unit.subject();
      continue;
    }
    const int c = unit.schoolClass();
    if (c < 1 || c > base.nClasses() || unit.teacher() > base.nTeachers()) continue;
    const int subject = unit.subject() == 0 ? base.nSubjects() : unit.subject();
    for (int q = slot.period; q <= slot.period + extra; ++q) {
      const Slot at{slot.day, q};
      grids.lessonWord.at(c, q, slot.day) = static_cast<uint16_t>(unit.teacher() * 256 + (coupling != 0 ? 128 : 0) +
                                                                  subject + ((placement.markers & 2) != 0 ? 64 : 0));
      uint16_t& roomWord = grids.roomWord.at(c, q, slot.day);
      roomWord = static_cast<uint16_t>(coupling * 256 + ((placement.markers & 1) != 0 ? 128 : 0) + (roomWord & 127));
      ++ws.plan.lessonsPerClass[static_cast<size_t>(c)];
      if (!hasTeacherGrid(base, unit.teacher())) continue;
      const Grid& locks = placement.source != 0 ? ws.plan.reference.teacher : grids.teacher;
      countLesson(ws, unit.teacher(), subject, c, at, locks.at(unit.teacher(), q, slot.day) & 255);
    }
  }
  ws.plan.modifiedPlan = true;
  return extra + 1;
}

void clearPeriods(Workspace& ws, int day, int first, int last, int schoolClass) {
  TimetableGrids& grids = ws.plan.timetable;
  for (int q = std::max(first, 1); q <= std::min(last, ws.base.periodsPerDay); ++q) {
    uint16_t& lesson = grids.lessonWord.at(schoolClass, q, day);
    uint16_t& roomWord = grids.roomWord.at(schoolClass, q, day);
    const uint16_t w = lesson;
    const int room = RoomWord::room(roomWord);
    lesson = 0;
    roomWord = 0;
    if (w == 0) continue;
    if (room >= 1 && room <= ws.base.nRooms() && grids.room.at(room, q, day) == schoolClass)
      grids.room.at(room, q, day) = 0;
    int16_t& lessons = ws.plan.lessonsPerClass[static_cast<size_t>(schoolClass)];
    if (lessons > 0) --lessons;
    if (hasTeacherGrid(ws.base, LessonWord::teacher(w))) {
      uncountLesson(ws, LessonWord::teacher(w), LessonWord::subject(w), schoolClass, Slot{day, q});
    }
    ws.plan.modifiedPlan = true;
  }
}

}  // namespace quort
