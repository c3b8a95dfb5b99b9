#pragma once

#include "data/base_data.h"
#include "data/course_records.h"
#include "data/plan_tables.h"
#include "data/random_generator.h"
#include "workspace/exam_state.h"
#include "workspace/generator_state.h"
#include "workspace/placement_state.h"
#include "workspace/plan_history.h"
#include "workspace/print_state.h"
#include "workspace/shell_state.h"
#include "workspace/substitution_state.h"
#include "workspace/tool_panel_state.h"

namespace quort {

// Everything one running program works on. There are no other tables: every function
// that needs them gets the workspace (or the part it needs) by reference.
struct Workspace {
  BaseData base;
  PlanTables plan;
  PlanBackup backup;
  PlanHistory history;  // the steps Ctrl+Z and Ctrl+Y walk; "zurück" keeps its own backup
  ShellState shell;
  DialogState dialogs;
  RandomGenerator random;
  PlacementState placement;
  GeneratorState generator;
  PrintState printing;
  SubstitutionState substitution;
  ToolPanelState panels;
  CourseBook courses;  // the course choice editor's year group
  ExamState exams;
};

}  // namespace quort
