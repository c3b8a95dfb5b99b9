#pragma once

#include <string>
#include <string_view>

#include "timetable/lesson_grid.h"

namespace quort {

struct Workspace;
class Ui;

// How removeLesson treats coupled and fixed lessons in the single-lesson views
// (work modes 1 to 3): 0 removes them like any other; (mode AND 3) = 2 refuses them
// silently; 1 and 3 ask the user first.
namespace RemoveMode {
inline constexpr int kUnprotected = 0;
inline constexpr int kAsk = 1;
inline constexpr int kRefuse = 2;
}  // namespace RemoveMode

// Removes the lesson the class has at the slot with its whole block of equal neighbouring
// periods and, for a coupled lesson, the same periods in every class of the coupling. The
// periods go back into list as one entry. A class lock is cleared but is no lesson, so
// nothing goes into list. true when the removal was refused; nothing changed then.
bool removeLesson(Workspace& ws, Ui& ui, Slot slot, int schoolClass, int mode, std::string& list);

// Makes room for a forced placement of units in one period: removes the lessons of the
// units' classes there (asking for protected ones) and the lessons their teachers give
// elsewhere at that time. true when a removal was refused; the clearing stops there.
bool clearConflicts(Workspace& ws, Ui& ui, std::string_view units, Slot slot, std::string& list);

}  // namespace quort
