#include "timetable/lesson_removal.h"

#include <algorithm>

#include "data/calendar.h"
#include "data/plan_records.h"
#include "timetable/assignment_list.h"
#include "timetable/lesson_writing.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr int kLessonViews = (1 << 1) | (1 << 2) | (1 << 3);  // "Einzelstunden", "Raumplan", "Vertretungen"

// Coupled and fixed lessons may only go with the user's consent in the single-lesson views.
bool removalRefused(Workspace& ws, Ui& ui, Slot slot, uint16_t lesson, int mode) {
  if ((kLessonViews & (1 << ws.shell.workMode)) == 0 || !LessonWord::coupledOrFixed(lesson) || mode == 0) return false;
  if ((mode & 3) == 2) return true;
  if (mode >= 4) return false;
  const std::string question = DayAbbrev(slot.day) + std::to_string(slot.period) + ": Sperre - Kombination l\xF6schen?";
  return !ui.askYesNo(question, MessageStyle{Icon::Question, kProgramTitle, true});
}

struct Block {
  int first = 0;
  int last = 0;
};

// The neighbouring periods that hold the same lesson of the same coupling.
Block lessonBlock(const Workspace& ws, Slot slot, int schoolClass) {
  const Grid& lessons = ws.plan.timetable.lessonWord;
  const Grid& rooms = ws.plan.timetable.roomWord;
  const uint16_t w = lessons.at(schoolClass, slot.period, slot.day);
  const int coupling = RoomWord::coupling(rooms.at(schoolClass, slot.period, slot.day));
  const auto same = [&](int q) {
    return lessons.at(schoolClass, q, slot.day) == w &&
           RoomWord::coupling(rooms.at(schoolClass, q, slot.day)) == coupling;
  };
  Block block{slot.period, slot.period};
  while (block.first > 1 && same(block.first - 1)) --block.first;
  while (block.last < ws.base.periodsPerDay && same(block.last + 1)) ++block.last;
  return block;
}

// Every class whose cells in the block carry the coupling: the members as they were
// placed, even when the coupling has been edited since.
void clearCoupling(Workspace& ws, int day, Block block, int coupling) {
  for (int c = 1; c <= ws.base.nClasses(); ++c) {
    for (int q = block.first; q <= block.last; ++q) {
      if (RoomWord::coupling(ws.plan.timetable.roomWord.at(c, q, day)) == coupling) clearPeriods(ws, day, q, q, c);
    }
  }
}

// The periods of a removed block as assignment entries; a block longer than 15 periods
// cannot be one entry.
void returnPeriods(std::string& list, int teacherByte, int classByte, int subjectByte, int periods, int markers) {
  std::string entries;
  while (periods > 0) {
    const int count = std::min(periods, 15);
    entries += makeAssignment(teacherByte, classByte, subjectByte, count + 16 * markers);
    periods -= count;
  }
  mergeEntries(entries, list, MergeMode::Add);
}

}  // namespace

bool removeLesson(Workspace& ws, Ui& ui, Slot slot, int schoolClass, int mode, std::string& list) {
  if (schoolClass < 1 || schoolClass > ws.base.nClasses()) return false;
  const uint16_t w = ws.plan.timetable.lessonWord.at(schoolClass, slot.period, slot.day);
  if (removalRefused(ws, ui, slot, w, mode)) return true;
  if (w == 0) return false;
  if (w == classLockWord(ws.base)) {
    clearPeriods(ws, slot.day, slot.period, slot.period, schoolClass);
    return false;
  }
  const Block block = lessonBlock(ws, slot, schoolClass);
  const uint16_t roomWord = ws.plan.timetable.roomWord.at(schoolClass, slot.period, slot.day);
  const int markers = (RoomWord::marker(roomWord) ? 1 : 0) + (LessonWord::indexMark(w) ? 2 : 0);
  const int coupling = RoomWord::coupling(roomWord);
  const int periods = block.last - block.first + 1;
  if (coupling == 0) {
    clearPeriods(ws, slot.day, block.first, block.last, schoolClass);
    returnPeriods(list, LessonWord::teacher(w), schoolClass, LessonWord::subject(w), periods, markers);
  } else {
    clearCoupling(ws, slot.day, block, coupling);
    // The lesson kind says how many periods go together; there are three kinds.
    returnPeriods(list, 0, std::min(periods - 1, 2), coupling, periods, markers);
  }
  return false;
}

bool clearConflicts(Workspace& ws, Ui& ui, std::string_view units, Slot slot, std::string& list) {
  const size_t n = recordCount(units, AssignmentView::kSize);
  for (size_t i = 0; i < n; ++i) {
    const AssignmentView unit(units, i);
    if (unit.teacher() == 0) continue;
    if (removeLesson(ws, ui, slot, unit.schoolClass(), RemoveMode::kAsk, list)) return true;
  }
  for (size_t i = 0; i < n; ++i) {
    const AssignmentView unit(units, i);
    if (!hasTeacherGrid(ws.base, unit.teacher())) continue;
    const int taught = ws.plan.timetable.teacher.at(unit.teacher(), slot.period, slot.day) >> 8;
    if (taught > 0 && removeLesson(ws, ui, slot, taught, RemoveMode::kUnprotected, list)) return true;
  }
  return false;
}

}  // namespace quort
