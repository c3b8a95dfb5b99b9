#include "timetable/room_distribution.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "data/base_data.h"
#include "data/plan_tables.h"
#include "timetable/lesson_grid.h"
#include "workspace/plan_file.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

// A subject whose room field is "0" wants no room of its own kind and none left over.
constexpr int kNoRoomWanted = 256;

// The consecutive periods of one lesson that still lack a room: a double period is one
// run of two, a triple one of three, and under week alternation the A and B rows of a
// weekly lesson belong to one run as well, so every period of it gets the same room.
struct Run {
  int schoolClass = 0;
  int day = 0;
  int first = 0;
  int length = 0;
};

class RoomDistributor {
 public:
  RoomDistributor(Workspace& ws, const std::vector<int>& classes)
      : m_base(ws.base), m_grids(ws.plan.timetable), m_classes(classes) {}

  int run() {
    homeRooms();
    for (const int minLength : {2, 1}) subjectRooms(minLength);
    for (const int minLength : {2, 1}) remainingRooms(minLength);
    splitRemainingRuns();
    return m_given;
  }

 private:
  uint16_t lessonAt(int c, int p, int day) const { return m_grids.lessonWord.at(c, p, day); }
  uint16_t roomWordAt(int c, int p, int day) const { return m_grids.roomWord.at(c, p, day); }

  // A lesson here: a real teacher and subject and no room yet.
  bool roomless(int c, int p, int day) const {
    const uint16_t lesson = lessonAt(c, p, day);
    const int subject = LessonWord::subject(lesson);
    if (!hasTeacherGrid(m_base, LessonWord::teacher(lesson))) return false;
    if (subject < 1 || subject >= m_base.nSubjects()) return false;
    return RoomWord::room(roomWordAt(c, p, day)) == 0;
  }

  bool samePeriodLesson(int c, int p, int q, int day) const {
    return lessonAt(c, p, day) == lessonAt(c, q, day) &&
           RoomWord::coupling(roomWordAt(c, p, day)) == RoomWord::coupling(roomWordAt(c, q, day));
  }

  // The run that starts at p, or a run of length 0 when p holds none or continues one.
  Run runAt(int c, int p, int day) const {
    if (!roomless(c, p, day)) return {};
    if (p > 1 && roomless(c, p - 1, day) && samePeriodLesson(c, p - 1, p, day)) return {};
    Run run{c, day, p, 1};
    while (p + run.length <= m_base.periodsPerDay && roomless(c, p + run.length, day) &&
           samePeriodLesson(c, p, p + run.length, day)) {
      ++run.length;
    }
    return run;
  }

  int subjectOf(const Run& run) const { return LessonWord::subject(lessonAt(run.schoolClass, run.first, run.day)); }

  bool usable(int room, const Run& run) const {
    if (room < 1 || room > m_base.nRooms() || roomLocked(m_base, room)) return false;
    for (int q = run.first; q < run.first + run.length; ++q) {
      if (m_grids.room.at(room, q, run.day) != 0 || roomLockedAt(m_grids, room, Slot{run.day, q})) return false;
    }
    return true;
  }

  void assign(int room, const Run& run) {
    for (int q = run.first; q < run.first + run.length; ++q) {
      uint16_t& word = m_grids.roomWord.at(run.schoolClass, q, run.day);
      word = static_cast<uint16_t>((word & ~127U) | static_cast<unsigned>(room));
      m_grids.room.at(room, q, run.day) = static_cast<uint16_t>(run.schoolClass);
      ++m_given;
    }
  }

  // The first usable room of a ring. Rings are built by the loader but can be damaged in
  // the file, so the walk never takes more steps than there are rooms.
  int firstUsableInRing(int head, const Run& run) const {
    int room = head;
    for (int steps = 0; steps < m_base.nRooms() && room >= 1 && room <= m_base.nRooms(); ++steps) {
      if (usable(room, run)) return room;
      room = m_base.rooms[static_cast<size_t>(room)].nextRoom;
      if (room == head) break;
    }
    return 0;
  }

  int poolHead() const { return m_base.subjects[0].firstRoom; }

  template <typename Visit>
  void forEachRun(bool reverseClasses, bool periodsInside, Visit visit) {
    std::vector<int> order = m_classes;
    if (reverseClasses) std::reverse(order.begin(), order.end());
    for (int day = 1; day <= std::min(m_base.days, kGridDays); ++day) {
      if (periodsInside) {
        for (const int c : order)
          for (int p = 1; p <= m_base.periodsPerDay; ++p) visitRun(c, p, day, visit);
      } else {
        for (int p = 1; p <= m_base.periodsPerDay; ++p)
          for (const int c : order) visitRun(c, p, day, visit);
      }
    }
  }

  template <typename Visit>
  void visitRun(int c, int p, int day, Visit& visit) {
    const Run run = runAt(c, p, day);
    if (run.length > 0) visit(run);
  }

  // Phase 1: the home room for ordinary lessons of subjects without rooms, period by
  // period. The room grid is consulted: another class may hold the home room already.
  void homeRooms() {
    forEachRun(false, false, [&](const Run& run) {
      const uint16_t lesson = lessonAt(run.schoolClass, run.first, run.day);
      const int subject = LessonWord::subject(lesson);
      const int home = m_base.classes[static_cast<size_t>(run.schoolClass)].homeRoom;
      if (LessonWord::coupledOrFixed(lesson) || m_base.subjects[static_cast<size_t>(subject)].firstRoom != 0) return;
      for (int q = run.first; q < run.first + run.length; ++q) {
        const Run single{run.schoolClass, run.day, q, 1};
        if (usable(home, single)) assign(home, single);
      }
    });
  }

  // Phase 2: the subject's ring, or the general pool for subjects without rooms; runs of
  // at least minLength periods.
  void subjectRooms(int minLength) {
    forEachRun(true, true, [&](const Run& run) {
      if (run.length < minLength) return;
      const int head = m_base.subjects[static_cast<size_t>(subjectOf(run))].firstRoom;
      if (const int room = firstUsableInRing(head != 0 ? head : poolHead(), run)) assign(room, run);
    });
  }

  int anyRoom(const Run& run) const {
    for (int room = 1; room <= m_base.nRooms(); ++room) {
      if (usable(room, run)) return room;
    }
    return 0;
  }

  bool wantsRoom(const Run& run) const {
    return m_base.subjects[static_cast<size_t>(subjectOf(run))].roomSpec != kNoRoomWanted;
  }

  int leftoverRoom(const Run& run) const {
    const int home = m_base.classes[static_cast<size_t>(run.schoolClass)].homeRoom;
    if (usable(home, run)) return home;
    if (const int room = firstUsableInRing(poolHead(), run)) return room;
    return anyRoom(run);
  }

  // Phase 3: home room, general pool, then any room at all.
  void remainingRooms(int minLength) {
    forEachRun(false, false, [&](const Run& run) {
      if (run.length < minLength || !wantsRoom(run)) return;
      if (const int room = leftoverRoom(run)) assign(room, run);
    });
  }

  // A double period for which no single room is free throughout still gets a room in
  // each of its periods: two rooms are better than a lesson without one.
  void splitRemainingRuns() {
    forEachRun(false, false, [&](const Run& run) {
      if (run.length < 2 || !wantsRoom(run)) return;
      for (int q = run.first; q < run.first + run.length; ++q) {
        const Run single{run.schoolClass, run.day, q, 1};
        if (const int room = leftoverRoom(single)) assign(room, single);
      }
    });
  }

  const BaseData& m_base;
  TimetableGrids& m_grids;
  std::vector<int> m_classes;
  int m_given = 0;
};

}  // namespace

std::vector<int> allClasses(const Workspace& ws) {
  std::vector<int> classes;
  for (int c = 1; c <= ws.base.nClasses(); ++c) classes.push_back(c);
  return classes;
}

int runRoomPhases(Workspace& ws, const std::vector<int>& classes) {
  std::vector<int> valid;
  for (const int c : classes) {
    if (c >= 1 && c <= ws.base.nClasses()) valid.push_back(c);
  }
  const int given = RoomDistributor(ws, valid).run();
  if (given > 0) ws.plan.modifiedPlan = true;
  return given;
}

int distributeRooms(Workspace& ws, Ui& ui, const std::vector<int>& classes) {
  if (classes.empty()) return 0;
  BackupPlanRecords(ws, ui);
  return runRoomPhases(ws, classes);
}

}  // namespace quort
