#pragma once

#include <string>
#include <vector>

#include "workspace/shell_state.h"

namespace quort {

struct Workspace;
class CommandInterpreter;
class Ui;

// What one cell of the week grid shows. Codes are trimmed program text.
struct GridCell {
  std::string subject;
  std::string teacher;
  std::string room;
  std::string classes;   // the class (teacher, room and subject views); several for a subject
  int subjectIndex = 0;  // for the colour
  int coupling = 0;
  bool fixed = false;      // fixed or coupled (bit 7 of the lesson word)
  bool indexMark = false;  // bit 6
  bool classLock = false;  // the pseudo-lesson that locks a class slot
  int lock = 0;            // teacher or subject lock value at this slot
  // Work mode 3 on the substitution day: how the cell differs from the plan. An open or
  // cancelled lesson shows the planned lesson.
  enum class DayMark { None, Substituted, Cancelled, Open, Absent };
  DayMark dayMark = DayMark::None;
  bool hasLesson() const { return !subject.empty() || !teacher.empty() || !classes.empty(); }
};

// The week of the current class, teacher, room or subject: days across, period slots down.
struct WeekGrid {
  std::string title;                  // e.g. "Klasse 5A"
  std::string subtitle;               // e.g. "Klassenlehrer MR, Raum 101"
  std::vector<std::string> dayNames;  // "MO" ...
  std::vector<std::string> rowNames;  // "1" ... or "1A", "1B" with week alternation
  int afternoonRow = 0;               // rows from here on are afternoon (0: none)
  std::vector<GridCell> cells;        // row by row
  int lessons = 0;

  int days() const { return static_cast<int>(dayNames.size()); }
  int rows() const { return static_cast<int>(rowNames.size()); }
  const GridCell& at(int row, int day) const { return cells[static_cast<size_t>(row * days() + day)]; }
};

// Builds the grid of the current entity. In work mode 3 with the original plan chosen,
// the grid is the reference copy of the opened plan.
WeekGrid buildWeekGrid(const Workspace& ws);

// "<n>:" and the members as class, teacher, subject and suffix, each followed by ",".
std::string formatCoupling(const Workspace& ws, int coupling);
std::vector<std::string> couplingListLines(const Workspace& ws);
// "<n>: " and the block's coupling numbers.
std::vector<std::string> blockListLines(const Workspace& ws);

// The codes offered by the "Kl", "Le", "Ra" and "Fa" choosers (no sentinel entries).
std::vector<std::string> entityCodes(const Workspace& ws, PlanEntity kind);
int currentEntity(const Workspace& ws, PlanEntity kind);
// Makes entity index (1-based) of that kind current and shows its week.
void selectEntity(Workspace& ws, PlanEntity kind, int index);
// The chooser of the "Kl", "Le", "Ra" and "Fa" buttons ("Klasse wählen" ...): the chosen
// entity becomes current and its week is shown. false when the list was closed.
bool chooseAndSelectEntity(Workspace& ws, Ui& ui, PlanEntity kind);
// Moves to the next (+1) or previous (-1) entity of the kind shown, wrapping around.
void stepEntity(Workspace& ws, int direction);

// The "X:" letter that shows a kind's week ("K", "L", "R", "FS").
std::string viewLetter(PlanEntity kind);

// "S:" and "B:" show the coupling and block lists in the main view; "X:" switches it.
void registerViewCommands(CommandInterpreter& interpreter);

}  // namespace quort
