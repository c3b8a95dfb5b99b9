#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "timetable/generation_filter.h"
#include "timetable/plan_generator.h"

namespace quort {

class CommandInterpreter;
struct Workspace;
class Ui;

// What the filter dialog starts with: its fields, switches and mode.
struct GenerationPreset {
  GenerationFilter filter;
  GenerationSwitches switches;
  int mode = 1;  // "Vorgaben:": not 0 generation, 0 "Ausblenden"
};

// The parameters of "^", items separated by blanks or ";":
//   F:codes  L:codes  S:codes   the fields "Fächer:", "Lehrer:", "Stufen:" (codes separated by ",")
//   E1 E0  K1 K0                "Einzelstunden:", "Kopplungen:" (K also sets "Koppl. versetzen:")
//   V1 V0  O1 O0  W1 W0         "Koppl. versetzen:", "Plan optimieren:", "Wichtungen optimieren:"
//   A                           "Ausblenden" instead of generation
// std::nullopt when an item is not understood.
std::optional<GenerationPreset> parseGenerationPreset(std::string_view text, bool optimiseWeights);

// The filter dialog ("Planerstellung - Filter" or "Ausblenden - Filter") and what
// "Auswerten" does with it.
void openGenerationDialog(Workspace& ws, Ui& ui, const std::string& preset, int mode);

// Generation of the work list with the undo copy taken (of the assignments as they were
// before the work list was built) and the progress window open; what is left is shown as
// the "zu setzen" list.
void runGeneration(Workspace& ws, Ui& ui, const std::string& workList, GenerationSwitches switches,
                   const std::string& assignmentsBefore);

// "^".
void registerGenerationCommands(CommandInterpreter& interpreter);

}  // namespace quort
