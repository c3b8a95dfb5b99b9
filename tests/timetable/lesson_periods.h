#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "data/plan_records.h"
#include "timetable/lesson_grid.h"
#include "workspace/workspace.h"

namespace quort::test {

// An ordinary lesson is known by teacher, class and subject; a coupled one by its
// coupling alone, since a lesson kind cannot be told from the plan.
using LessonKey = uint32_t;
inline LessonKey ordinaryKey(int t, int c, int s) { return static_cast<LessonKey>(t << 16 | c << 8 | s); }
inline LessonKey couplingKey(int k) { return static_cast<LessonKey>(k); }

// Placed periods plus periods still in the assignments, per lesson: what placing,
// removing and generating must never change.
inline std::map<LessonKey, int> periodsPerLesson(const Workspace& ws) {
  std::map<LessonKey, int> periods;
  const std::string& list = ws.plan.assignments;
  for (size_t i = 0; i < recordCount(list, AssignmentView::kSize); ++i) {
    const AssignmentView e(list, i);
    const LessonKey key =
        e.isCoupling() ? couplingKey(e.couplingNumber()) : ordinaryKey(e.teacher(), e.schoolClass(), e.subject());
    periods[key] += e.periods();
  }
  const TimetableGrids& grids = ws.plan.timetable;
  for (int day = 1; day <= kGridDays; ++day) {
    for (int p = 1; p <= ws.base.periodsPerDay; ++p) {
      std::vector<bool> couplingSeen(static_cast<size_t>(ws.plan.nCouplings()) + 1, false);
      for (int c = 1; c <= ws.base.nClasses(); ++c) {
        const uint16_t lesson = grids.lessonWord.at(c, p, day);
        const int k = RoomWord::coupling(grids.roomWord.at(c, p, day));
        if (lesson == 0 || lesson == classLockWord(ws.base)) continue;
        if (k == 0) {
          ++periods[ordinaryKey(LessonWord::teacher(lesson), c, LessonWord::subject(lesson))];
        } else if (k < static_cast<int>(couplingSeen.size()) && !couplingSeen[static_cast<size_t>(k)]) {
          couplingSeen[static_cast<size_t>(k)] = true;
          ++periods[couplingKey(k)];
        }
      }
    }
  }
  std::erase_if(periods, [](const auto& entry) { return entry.second == 0; });
  return periods;
}

// The same in the middle of a generation: the coupling entries of the work list that has
// not run yet are in neither the assignments nor the plan (its ordinary entries are still
// in the assignments as well, so they count once).
inline std::map<LessonKey, int> periodsPerLesson(const Workspace& ws, std::string_view pendingWorkList) {
  std::map<LessonKey, int> periods = periodsPerLesson(ws);
  for (size_t i = 0; i < recordCount(pendingWorkList, AssignmentView::kSize); ++i) {
    const AssignmentView e(pendingWorkList, i);
    if (e.isCoupling() && e.periods() > 0) periods[couplingKey(e.couplingNumber())] += e.periods();
  }
  return periods;
}

}  // namespace quort::test
