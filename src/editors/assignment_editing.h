#pragma once

#include <string>
#include <string_view>

namespace quort {

struct PlanTables;
struct Workspace;
class Ui;

// The list an assignment editor works on: the plan's assignments or the buffer ("Puffer").
enum class AssignmentTarget { Assignments, Buffer };

std::string& assignmentList(PlanTables& plan, AssignmentTarget target);
const std::string& assignmentList(const PlanTables& plan, AssignmentTarget target);
int assignmentCount(const PlanTables& plan, AssignmentTarget target);

// Entry numbers are 1-based; 0 means that no entry is selected. Every change sets the
// plan's changed-data flag. entry is the 4 bytes of a parsed line.
void addAssignment(PlanTables& plan, AssignmentTarget target, std::string_view entry);
// Inserts before entry number; behind the last entry when number is past the end.
void insertAssignment(PlanTables& plan, AssignmentTarget target, int number, std::string_view entry);
// Replaces entry number; appends when no entry is selected. false for a number past the end.
bool replaceAssignment(PlanTables& plan, AssignmentTarget target, int number, std::string_view entry);
// "Keine Daten ausgewählt!" without a selection (or with a number past the end).
bool removeAssignment(PlanTables& plan, Ui& ui, AssignmentTarget target, int number);

// "Deputat kopieren von Klasse:": after "Deputat wirklich aus <class> kopieren?" every
// ordinary entry of source is appended again with targetClass as its class. Coupling
// entries stay as they are. The number of entries copied.
int copyAssignmentsFromClass(Workspace& ws, Ui& ui, AssignmentTarget target, int source, int targetClass);

}  // namespace quort
