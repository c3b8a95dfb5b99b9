#pragma once

namespace quort {

class CommandInterpreter;

// Registers every command of the program. Each subsystem adds its own registration
// function here; commands whose function is not built answer "Funktion nicht verfügbar!".
void registerAllCommands(CommandInterpreter& interpreter);

}  // namespace quort
