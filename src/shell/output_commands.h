#pragma once

namespace quort {

class Application;
class CommandInterpreter;

// The substitution outputs and extra-work reports: "O:V" (the "Vertretungsplan" dialog;
// with action, kind and date the output itself), "O:M" extra-work report, "O:U" absence
// days, "O:A" lost lessons; "O:M" and "O:U" may name teachers: "O:MMU|AB".
void registerOutputCommands(CommandInterpreter& interpreter);

// Menu items 123, 124, 125, 142, 147, 148; false for any other item.
bool runOutputMenuItem(Application& app, int id);

}  // namespace quort
