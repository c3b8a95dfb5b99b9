#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quort {

class CommandInterpreter;
struct Workspace;
class Ui;

// The range items of "^B" and of the field "Bereiche:": "a-b" the couplings a to b, a
// single number a grade; separated by blanks, "," or ";". std::nullopt for anything else.
std::optional<std::vector<std::string>> parseBlockRanges(std::string_view text);

// "Blockerstellung - Vorgaben" preset with the range items; "Auswerten" builds the blocks.
// true when the block list was replaced.
bool openBlockDialog(Workspace& ws, Ui& ui, const std::string& preset);

// The classes named by the room distribution's parameters: empty means all, a leading
// "K:" is dropped, codes are separated by blanks, "," or ";". Unknown codes are reported
// and left out.
std::vector<int> roomDistributionClasses(Workspace& ws, Ui& ui, std::string_view parameters);

// "^B ranges" (work modes 0 and 1): automatic block creation. "^ classes" in work mode 2:
// automatic room distribution, then the lessons still without a room.
void registerAutomationCommands(CommandInterpreter& interpreter);

}  // namespace quort
