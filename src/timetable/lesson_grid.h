#pragma once

#include <cstdint>
#include <string>

#include "data/base_data.h"
#include "data/plan_tables.h"

namespace quort {

// A day and a period of the week grid.
struct Slot {
  int day = 0;
  int period = 0;
};

// Whether the teacher's own grid keeps lessons, locks and day counts: every teacher but
// "none" and the sentinel.
inline bool hasTeacherGrid(const BaseData& base, int teacher) { return teacher > 0 && teacher < base.nTeachers(); }

// The subject whose rooms a lesson of this subject uses (its own, or the one its room
// field refers to); 0 when the subject has no rooms of its own.
inline int roomGroup(const BaseData& base, int subject) {
  if (subject < 1 || subject > base.nSubjects()) return 0;
  const int spec = base.subjects[static_cast<size_t>(subject)].roomSpec;
  if (spec == 0) return 0;
  const int group = spec < 0 ? -spec : subject;
  return group <= base.nSubjects() ? group : 0;
}

// A room whose line carries "#" ("Raum sperren" puts it before the owner) is kept out of
// every automatic or casual use.
inline bool roomLocked(const BaseData& base, int room) {
  return room >= 1 && room <= base.nRooms() &&
         base.rooms[static_cast<size_t>(room)].line.find('#') != std::string::npos;
}

// A room locked for one slot with "Raumsperren" (any value above 0): the room
// distribution passes it by, and setting it by hand must be meant.
inline bool roomLockedAt(const TimetableGrids& grids, int room, Slot slot) {
  return room >= 1 && room <= grids.roomLock.entities() && slot.period >= 0 &&
         slot.period <= grids.roomLock.periods() && slot.day >= 0 && slot.day <= kGridDays &&
         grids.roomLock.at(room, slot.period, slot.day) != 0;
}

// The pseudo-lesson that blocks a class slot: sentinel teacher and subject, marked fixed.
inline uint16_t classLockWord(const BaseData& base) {
  return static_cast<uint16_t>(base.nTeachers() * 256 + 128 + base.nSubjects());
}

}  // namespace quort
