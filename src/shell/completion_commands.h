#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "timetable/plan_completion.h"

namespace quort {

class BatchRunner;
class CommandInterpreter;
struct Workspace;
class Ui;

// The parameters of "^C", items separated by blanks or ";": the filter items of "^"
// (F:, L:, S:, E1/E0, K1/K0, V1/V0) and
//   Z:seconds   the time limit (default 10)
//   N:moves     the iteration budget (default: from the open periods)
// std::nullopt when an item is not understood.
std::optional<CompletionSettings> parseCompletionSettings(std::string_view text);

// "Plan vervollständigen": takes the undo copy, runs the completion with the progress window
// open, says how many periods were placed and how many stay open, and lists why.
void runPlanCompletion(Workspace& ws, Ui& ui, const CompletionSettings& settings);

// "^C".
void registerCompletionCommands(CommandInterpreter& interpreter);
// "complete [ITEMS]" in scripts.
void addCompletionKeywords(BatchRunner& runner);

}  // namespace quort
