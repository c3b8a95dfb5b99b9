#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "workspace/workspace.h"

namespace quort {

// Everything setting a day may change, so that a refused file write leaves no trace.
struct DaySnapshot {
  TimetableGrids grids;
  std::vector<int16_t> lessonsPerClass;
  std::string openLessons;
  std::string freedLessons;
  std::vector<int> hoursToPlace;
  std::vector<AbsenceMark> marks;
  bool modifiedPlan = false;

  explicit DaySnapshot(const Workspace& ws)
      : grids(ws.plan.timetable),
        lessonsPerClass(ws.plan.lessonsPerClass),
        openLessons(ws.plan.openLessons),
        freedLessons(ws.plan.freedLessons),
        hoursToPlace(ws.placement.hoursToPlace),
        marks(ws.substitution.marks),
        modifiedPlan(ws.plan.modifiedPlan) {}
  void restore(Workspace& ws) const {
    ws.plan.timetable = grids;
    ws.plan.lessonsPerClass = lessonsPerClass;
    ws.plan.openLessons = openLessons;
    ws.plan.freedLessons = freedLessons;
    ws.placement.hoursToPlace = hoursToPlace;
    ws.substitution.marks = marks;
    ws.plan.modifiedPlan = modifiedPlan;
  }
};

}  // namespace quort
