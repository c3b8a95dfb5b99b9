#pragma once

#include <string>
#include <vector>

namespace quort {

// A teacher cell that an absence marked: the lock it held before, so that cancelling the
// day can put it back.
struct AbsenceMark {
  int teacher = 0;
  int period = 0;
  int day = 0;
  int previousLock = 0;
};

// A line of the day file waiting, with its log line's reason, to be written.
struct PendingDayLine {
  std::string date;
  std::string line;
  std::string reason;
};

// What substitution planning keeps while the program runs. The open and freed lessons
// live with the plan records, since they are saved with the plan.
struct SubstitutionState {
  // The date the program takes for "today" ("TT.MM.JJJJ"); empty: the system clock.
  // Scripts and tests set it so that nothing depends on the day they run.
  std::string clockDate;
  // The time of day that goes with it ("HH:MM"); empty: the system clock.
  std::string clockTime;
  // "für:" of the output dialog: kept for the next output of the run.
  int outputDays = 0;
  std::vector<std::string> absences;  // the day's absence list: "who[:a-b][n](reason)"
  std::vector<AbsenceMark> marks;
  // "Plan für .. löschen?" was answered No for this weekday file and date: it is not asked
  // again for every line.
  std::vector<std::string> keptForeignDayFiles;
  // The automatic run sets a whole day: its lines are collected here and the day file and
  // the log written once at its end, not once per lesson.
  bool collectingDayLines = false;
  std::vector<PendingDayLine> pendingDayLines;
};

}  // namespace quort
