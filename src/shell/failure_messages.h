#pragma once

#include <string_view>

namespace quort {

// Whether a message of the program (Windows-1252) says that what was asked could not be
// done: "Eingabefehler!", "Fehler: QQ", "... nicht gefunden!", "Programmabbruch!",
// "Dateifehler ...", "Fehler beim Speichern!", a refused entry. Notes that only inform
// ("Keine Stunden mehr zu setzen!", "Räume in 5A und 5B getauscht!", "Daten unter ...
// gesichert.") are not failures. A script runner fails its line on a failure, so that a
// script does not run on, and end with success, after the program refused a step.
bool reportsFailure(std::string_view message);

}  // namespace quort
