#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

// The plan control report as lines: for every selected teacher the free periods between
// lessons, split and repeated lessons of one class and subject on a day, overloaded days,
// lessons on locked slots and large gaps. selection is "l", the teacher indexes as bytes
// and one closing byte; excludedPeriods the comma-separated periods whose gaps do not count.
// With week alternation each teacher gets one report per week, in the user's periods.
std::vector<std::string> planControlLines(const Workspace& ws, const std::string& selection,
                                          const std::string& excludedPeriods);

// Prints the report; nothing when no job could be opened ("Druckerfehler").
void printPlanControl(Workspace& ws, Ui& ui, const std::string& selection, const std::string& excludedPeriods);

// The selection text of these teachers (every teacher when the list is empty).
std::string teacherSelection(const Workspace& ws, const std::vector<int>& teachers);

// "Plankontrolle": asks for the teachers (codes, empty = all) and the periods to leave out,
// then prints; "Druckerkonfiguration" opens the printer set-up first.
void planControlDialog(Workspace& ws, Ui& ui);

}  // namespace quort
