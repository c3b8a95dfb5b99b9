#pragma once

namespace quort {

class BatchRunner;
class CommandInterpreter;

// "D:", "H:K", "H:L", "T:" and "B:" open the assignment, coupling and block editors.
void registerEditorCommands(CommandInterpreter& interpreter);

// Script keywords that drive the editors' operations without a window:
//   assignment add TEXT | insert N TEXT | replace N TEXT | remove N | copy-from CLASS
//   coupling add TEXT | replace N TEXT | delete N
//   block add TEXT | replace N TEXT | delete N
//   list assignments | couplings | blocks
void addEditorKeywords(BatchRunner& runner);

}  // namespace quort
