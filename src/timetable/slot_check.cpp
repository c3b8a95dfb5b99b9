#include "timetable/slot_check.h"

#include <algorithm>
#include <vector>

#include "data/plan_records.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// Rooms a subject group needs in the periods of one check: lessons that placing would push
// out give their rooms back, each unit of the list takes one.
class RoomTally {
 public:
  RoomTally(int offsets, int subjects)
      : m_subjects(subjects + 1), m_counts(static_cast<size_t>(offsets) * static_cast<size_t>(m_subjects), 0) {}
  int& at(int offset, int group) {
    return m_counts[static_cast<size_t>(offset) * static_cast<size_t>(m_subjects) + static_cast<size_t>(group)];
  }

 private:
  int m_subjects;
  std::vector<int> m_counts;
};

struct UnitCheck {
  int teacher = 0;
  int schoolClass = 0;
  int subject = 0;
  bool coupled = false;  // a coupling header came before it
};

// How many lessons of the unit's room group may run at once at this level; 0 when the
// room count is not checked.
int roomCapacity(const BaseData& base, const UnitCheck& unit, int level, int mode, int& group) {
  group = 0;
  if ((mode & CheckMode::kNoRoomCount) != 0 || !hasTeacherGrid(base, unit.teacher)) return 0;
  group = roomGroup(base, unit.subject);
  if (group == 0) return 0;
  const int spec = base.subjects[static_cast<size_t>(group)].roomSpec;
  if (spec <= 0) return 0;  // a reference to a reference names no rooms
  const bool lastLevel = level == base.planOptions.attemptsPerPlan;
  return (spec & 255) + (lastLevel ? spec >> 8 : 0);
}

// The class has this teacher and subject on the day already (coupled lessons and single
// lessons are told apart by bit 7).
int combinationPeriod(const Workspace& ws, const UnitCheck& unit, int day) {
  const int key = 2 * unit.teacher + (unit.coupled ? 1 : 0);
  for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
    const uint16_t cell = ws.plan.timetable.lessonWord.at(unit.schoolClass, p, day);
    if ((cell >> 7) == key && (cell & 63) == unit.subject) return p;
  }
  return 0;
}

// The lesson at the slot would leave the room group that it counts in.
void releaseRoom(const Workspace& ws, RoomTally& tally, int offset, int schoolClass, int period, int day) {
  const uint16_t lesson = ws.plan.timetable.lessonWord.at(schoolClass, period, day);
  if (!hasTeacherGrid(ws.base, LessonWord::teacher(lesson))) return;
  if (const int group = roomGroup(ws.base, LessonWord::subject(lesson))) --tally.at(offset, group);
}

CheckCode checkPeriods(Workspace& ws, const UnitCheck& unit, Slot slot, SlotCheckOptions options, RoomTally& tally) {
  const BaseData& base = ws.base;
  const TimetableGrids& grids = ws.plan.timetable;
  CheckResult& result = ws.placement.result;
  int group = 0;
  const int capacity = roomCapacity(base, unit, options.level, options.mode, group);
  const int last = std::min(slot.period + options.extra, base.periodsPerDay);
  for (int q = slot.period; q <= last; ++q) {
    result.period = q;
    if ((options.mode & CheckMode::kNoClassOccupied) == 0 && grids.lessonWord.at(unit.schoolClass, q, slot.day) != 0) {
      return CheckCode::ClassOccupied;
    }
    const bool ownGrid = unit.teacher <= base.nTeachers();
    const int teacherCell = ownGrid ? grids.teacher.at(unit.teacher, q, slot.day) : 0;
    const int offset = q - slot.period;
    // The periods of this lesson before q count toward option 8 as well (placing counts
    // them for a teacher with a grid of his own): a double that starts after five lessons
    // would make seven with a limit of six.
    const int ownPeriods = hasTeacherGrid(base, unit.teacher) ? offset : 0;
    const int lessonsThatDay = ownGrid ? grids.teacher.at(unit.teacher, 0, slot.day) + ownPeriods : 0;
    if ((options.mode & CheckMode::kNoTeacher) == 0 &&
        (teacherCell > options.level || lessonsThatDay >= base.planOptions.maxTeacherLessonsPerDay)) {
      return CheckCode::Teacher;
    }
    releaseRoom(ws, tally, offset, unit.schoolClass, q, slot.day);
    const int other = teacherCell >> 8;
    if (hasTeacherGrid(base, unit.teacher) && other > 0 && other != unit.schoolClass && other <= base.nClasses()) {
      releaseRoom(ws, tally, offset, other, q, slot.day);
    }
    if (capacity > 0) {
      const int wanted = ++tally.at(offset, group) + (grids.subject.at(group, q, slot.day) & 127);
      if (capacity < wanted) return CheckCode::NoRoom;
    }
  }
  return CheckCode::Free;
}

// A slot outside the week is reported for the first lesson of the list.
void noteFirstLesson(std::string_view units, CheckResult& result) {
  for (size_t i = 0; i < recordCount(units, AssignmentView::kSize); ++i) {
    const AssignmentView view(units, i);
    if (view.teacher() == 0) continue;
    result.teacher = view.teacher();
    result.schoolClass = view.schoolClass();
    result.subject = view.subject();
    return;
  }
}

}  // namespace

CheckCode checkSlot(Workspace& ws, std::string_view units, Slot slot, SlotCheckOptions options) {
  const BaseData& base = ws.base;
  PlacementState& state = ws.placement;
  state.result = CheckResult{CheckCode::Free, slot.day, slot.period};
  const auto refuse = [&](CheckCode code) {
    state.result.code = code;
    return code;
  };
  if (slot.day > base.days || slot.day < 1 || slot.period < 1 || slot.period > base.periodsPerDay) {
    noteFirstLesson(units, state.result);
    return refuse(CheckCode::ClassOccupied);
  }
  if ((options.mode & CheckMode::kHonourDaySet) != 0) {
    const bool usedDay = (state.daySet & (1 << slot.day)) != 0;
    if (usedDay && (options.mode & CheckMode::kIgnoreDaySet) == 0) return refuse(CheckCode::DayAlreadyUsed);
  } else {
    state.daySet = 0;
  }
  if ((options.mode & CheckMode::kNoEndOfDay) == 0 && slot.period + options.extra > base.periodsPerDay) {
    return refuse(CheckCode::EndOfDay);
  }
  RoomTally tally(options.extra + 1, base.nSubjects());
  bool coupled = false;
  for (size_t i = 0; i < recordCount(units, AssignmentView::kSize); ++i) {
    const AssignmentView view(units, i);
    if (view.teacher() == 0) {
      coupled = true;
      continue;
    }
    const UnitCheck unit{view.teacher(), view.schoolClass(), view.subject(), coupled};
    state.result.teacher = unit.teacher;
    state.result.schoolClass = unit.schoolClass;
    state.result.subject = unit.subject;
    if (unit.schoolClass < 1 || unit.schoolClass > base.nClasses()) return refuse(CheckCode::ClassOccupied);
    if ((options.mode & CheckMode::kNoCombination) == 0) {
      if (const int p = combinationPeriod(ws, unit, slot.day)) {
        state.daySet |= 1 << slot.day;
        state.result.period = p;
        return refuse(CheckCode::Combination);
      }
    }
    const CheckCode code = checkPeriods(ws, unit, slot, options, tally);
    if (code != CheckCode::Free) return refuse(code);
  }
  state.result.period = slot.period;
  return CheckCode::Free;
}

}  // namespace quort
