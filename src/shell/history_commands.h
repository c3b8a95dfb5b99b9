#pragma once

#include "timetable/lesson_move.h"

namespace quort {

class Application;
class BatchRunner;

// Ctrl+Z and Ctrl+Y: one step of the plan history back or forth; false when there is none.
bool undoPlanStep(Application& app);
bool redoPlanStep(Application& app);

// A move by hand (a drag in the window, "move" in a script) as one undo step.
MoveOutcome moveLessonStep(Application& app, MoveRequest request);

// "Rückgängig: MA 7B nach DI 3" / "Wiederholen: ..." for the Bearbeiten menu; the bare
// word when there is nothing to walk to.
std::string undoCaption(const Application& app);
std::string redoCaption(const Application& app);

// Script keywords: "move FROM TO [K:code]" moves the lesson of the current (or named)
// class, "undo" and "redo" walk the history; each fails its line when nothing happened.
void addHistoryKeywords(BatchRunner& runner);

}  // namespace quort
