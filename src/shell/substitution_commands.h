#pragma once

namespace quort {

class BatchRunner;
class CommandInterpreter;

// Work mode 3: "P:" ("Zu vertreten:"), "D:" ("Löschen von Vertretungen:"), "Z:" (the
// "Vertretung" dialog of one lesson), "V:" (the "Vertretungen" dialog of the day), "^"
// ("Vertretungen - Vorgaben", the automatic run).
void registerSubstitutionCommands(CommandInterpreter& interpreter);

// Script keywords for a school day: clock, date, absence, evaluate, open-lessons,
// freed-lessons, candidates, substitute, free, reconstruct, drop, auto, cancel-day,
// clear-day, rebuild-day, maintain-log, extra-work, print-file, consistency.
void addSubstitutionKeywords(BatchRunner& runner);

}  // namespace quort
