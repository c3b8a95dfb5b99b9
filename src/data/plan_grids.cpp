#include "data/plan_grids.h"

#include "data/base_data.h"
#include "data/calendar.h"
#include "data/plan_tables.h"

namespace quort {

namespace {

// The subject whose usage a lesson counts: its own, or the one whose rooms it uses.
int usageSubject(const BaseData& base, int subject) {
  if (subject <= 0 || subject > base.nSubjects()) return 0;
  const int spec = base.subjects[subject].roomSpec;
  if (spec == 0) return 0;
  const int target = spec < 0 ? -spec : subject;
  return target <= base.nSubjects() ? target : 0;
}

// Adds one to the low byte and leaves the lock count in the high byte alone.
void countUsage(Grid& subjects, int subject, int period, int day) {
  uint16_t& cell = subjects.at(subject, period, day);
  if ((cell & 255) < 255) ++cell;
}

void enterRoom(PlanTables& plan, const TimetableCell& cell, int room) {
  uint16_t& holder = plan.timetable.room.at(room, cell.period, cell.day);
  if (holder != 0 && holder != cell.schoolClass && holder <= plan.timetable.roomWord.entities()) {
    uint16_t& previous = plan.timetable.roomWord.at(holder, cell.period, cell.day);
    previous = static_cast<uint16_t>(previous & ~127U);
  }
  holder = static_cast<uint16_t>(cell.schoolClass);
}

struct Expected {
  Grid teacher;
  Grid room;
  Grid subject;
  std::vector<int16_t> lessonsPerClass;
};

// What the derived grids must hold, computed from the class grid and the locks alone.
Expected expectedGrids(const BaseData& base, const PlanTables& plan) {
  Expected expected{plan.timetable.teacher, plan.timetable.room, plan.timetable.subject,
                    std::vector<int16_t>(static_cast<size_t>(base.nClasses() + 1), 0)};
  expected.room.clear();
  for (int day = 1; day <= kGridDays; ++day) {
    for (int period = 0; period <= base.periodsPerDay; ++period) {
      for (int t = 0; t <= base.nTeachers(); ++t) {
        uint16_t& cell = expected.teacher.at(t, period, day);
        cell = period == 0 ? 0 : (cell & 255);
      }
      for (int s = 0; s <= base.nSubjects(); ++s) {
        uint16_t& cell = expected.subject.at(s, period, day);
        cell = static_cast<uint16_t>((cell & 0xFF00) | (cell >> 8));
      }
    }
  }
  for (int day = 1; day <= kGridDays; ++day) {
    for (int period = 1; period <= base.periodsPerDay; ++period) {
      for (int c = 1; c <= base.nClasses(); ++c) {
        const uint16_t lesson = plan.timetable.lessonWord.at(c, period, day);
        const int teacher = LessonWord::teacher(lesson);
        if (teacher == 0) continue;
        ++expected.lessonsPerClass[static_cast<size_t>(c)];
        if (teacher < base.nTeachers()) {
          uint16_t& cell = expected.teacher.at(teacher, period, day);
          cell = static_cast<uint16_t>(c * 256 + (cell & 255));
          ++expected.teacher.at(teacher, 0, day);
        }
        if (const int s = usageSubject(base, LessonWord::subject(lesson)); s > 0 && teacher < base.nTeachers()) {
          countUsage(expected.subject, s, period, day);
        }
        const int room = RoomWord::room(plan.timetable.roomWord.at(c, period, day));
        if (room >= 1 && room <= base.nRooms()) expected.room.at(room, period, day) = static_cast<uint16_t>(c);
      }
    }
  }
  return expected;
}

std::string slotText(int period, int day) { return DayAbbrev(day) + " " + std::to_string(period); }

void compareGrid(const Grid& stored, const Grid& expected, const std::string& what, int periods,
                 std::vector<std::string>& differences) {
  for (int e = 0; e <= stored.entities(); ++e) {
    for (int day = 1; day <= kGridDays; ++day) {
      for (int period = 0; period <= periods; ++period) {
        const int have = stored.at(e, period, day);
        const int want = expected.at(e, period, day);
        if (have == want) continue;
        differences.push_back(what + " " + std::to_string(e) + " " + slotText(period, day) + ": " +
                              std::to_string(have) + " statt " + std::to_string(want));
      }
    }
  }
}

}  // namespace

void enterTimetableCell(const BaseData& base, PlanTables& plan, TimetableCell cell, bool readingPlanFile) {
  if (cell.lessonWord == 1) cell.lessonWord = 0;
  plan.timetable.lessonWord.at(cell.schoolClass, cell.period, cell.day) = cell.lessonWord;
  uint16_t& roomWord = plan.timetable.roomWord.at(cell.schoolClass, cell.period, cell.day);
  roomWord = cell.roomWord;

  const int teacher = LessonWord::teacher(cell.lessonWord);
  const int subject = LessonWord::subject(cell.lessonWord);
  int room = RoomWord::room(cell.roomWord);
  if (teacher == 0 || subject == 0 || (readingPlanFile && subject == base.nSubjects())) room = 0;

  if (const int s = usageSubject(base, subject); s > 0 && teacher > 0 && teacher < base.nTeachers()) {
    countUsage(plan.timetable.subject, s, cell.period, cell.day);
  }
  if (room >= 1 && room <= base.nRooms()) {
    enterRoom(plan, cell, room);
  } else {
    roomWord = static_cast<uint16_t>(roomWord & ~127U);
  }
  if (teacher == 0) return;
  ++plan.lessonsPerClass[static_cast<size_t>(cell.schoolClass)];
  if (teacher < base.nTeachers()) {
    uint16_t& teacherCell = plan.timetable.teacher.at(teacher, cell.period, cell.day);
    teacherCell = static_cast<uint16_t>(cell.schoolClass * 256 + (teacherCell & 255));
    ++plan.timetable.teacher.at(teacher, 0, cell.day);
  }
}

void recomputeDerivedGrids(const BaseData& base, PlanTables& plan) {
  Expected expected = expectedGrids(base, plan);
  plan.timetable.teacher = std::move(expected.teacher);
  plan.timetable.room = std::move(expected.room);
  plan.timetable.subject = std::move(expected.subject);
  plan.lessonsPerClass = std::move(expected.lessonsPerClass);
}

std::vector<std::string> derivedGridDifferences(const BaseData& base, const PlanTables& plan) {
  const Expected expected = expectedGrids(base, plan);
  std::vector<std::string> differences;
  compareGrid(plan.timetable.teacher, expected.teacher, "Lehrer", base.periodsPerDay, differences);
  compareGrid(plan.timetable.room, expected.room, "Raum", base.periodsPerDay, differences);
  compareGrid(plan.timetable.subject, expected.subject, "Fach", base.periodsPerDay, differences);
  for (int c = 1; c <= base.nClasses(); ++c) {
    const auto have = plan.lessonsPerClass[static_cast<size_t>(c)];
    const auto want = expected.lessonsPerClass[static_cast<size_t>(c)];
    if (have != want) {
      differences.push_back("Klasse " + std::to_string(c) + ": " + std::to_string(have) + " Stunden statt " +
                            std::to_string(want));
    }
  }
  return differences;
}

}  // namespace quort
