#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "timetable/lesson_grid.h"

namespace quort {

class BatchRunner;
class CommandInterpreter;
struct Workspace;
class Ui;

// The arguments of ">" and "<": items separated by blanks, "," or ";", in any order.
//   d,p  d:p  DIp   the slot (day 1-6 or its two-letter name, period); default: the current slot
//   K:code          the class             L:code   the teacher
//   F:code          the subject           R:code   the room (">": set it, "<": clear it)
//   N:n             entry n of the "zu setzen" list (its number in the assignments)
//   #n              the assignment of coupling n
//   #n,m,...        the couplings of a block (what ">+b" expands to): placed in one slot
//                   together, all or none; "<" takes them out together. A slot after
//                   them is separated by a blank ("#9,20 MO1").
struct PlacementArguments {
  std::optional<Slot> slot;
  std::optional<std::string> classCode;
  std::optional<std::string> teacherCode;
  std::optional<std::string> subjectCode;
  std::optional<std::string> roomCode;
  int listNumber = 0;
  int coupling = 0;            // the first of couplings
  std::vector<int> couplings;  // every coupling after "#"
};

// std::nullopt when an item is not understood.
std::optional<PlacementArguments> parsePlacementArguments(std::string_view text);

// ">", "<", "P:", "E:" and "X:".
void registerPlacementCommands(CommandInterpreter& interpreter);

// The button "Übersicht": "Planübersicht:" with "Klassen", "Lehrer", "Räume" or "Gesamt".
void showPlanOverview(Workspace& ws, Ui& ui);

// Script keywords for what has no command: "button CAPTION" presses a button of the main
// window, "menu N" chooses menu item N (a grey one fails the line).
void addPlacementKeywords(BatchRunner& runner);

}  // namespace quort
