#include "shell/failure_messages.h"

#include <algorithm>
#include <array>

namespace quort {

namespace {

bool containsIgnoringCase(std::string_view text, std::string_view word) {
  const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::search(text.begin(), text.end(), word.begin(), word.end(),
                     [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

// Refusals whose wording names no error: the request was understood, but the data do not
// allow it. Each entry is the beginning of the message. Hints inside a dialog that stays
// open for another try ("Keine passenden Deputatseinträge!") are not refusals: the
// dialog's final answer decides.
constexpr std::array kRefusalBeginnings = {
    std::string_view("Programmabbruch!"),
    std::string_view("Fach fehlt!"),
    std::string_view("Blockliste voll!"),
    std::string_view("Kein Raum!"),
    std::string_view("Kein Raum angegeben!"),
    std::string_view("Kein Lehrer angegeben!"),
    std::string_view("Kein Unterricht in "),
    std::string_view("Keine zul\xE4ssig"),
    std::string_view("Keine Daten ausgew\xE4hlt!"),
    std::string_view("Keine Eingaben!"),
    std::string_view("Keinen Sch\xFCler gew\xE4hlt!"),
    std::string_view("Keine Stunden f\xFCr "),
    std::string_view("Daten nicht mehr zuverl\xE4ssig!"),
    std::string_view("Datum nicht eindeutig!"),
    std::string_view("Funktion nicht verf\xFCgbar!"),
    std::string_view("K\xFCrzel bereits vorhanden!"),
    std::string_view("Zahl der Tage \xFC"
                     "ber 6!"),
    std::string_view("Stundenzahl nicht zwischen "),
    std::string_view("Zu viele Eintr\xE4ge"),
    std::string_view("Unzul\xE4ssig"),
    std::string_view("K\xFCrzel fehlt!"),
    std::string_view("Eintrag bereits gel\xF6scht!"),
    std::string_view("Wochenwechsel nicht umstellbar"),
    std::string_view("Keine R\xE4ume f\xFCr Fach "),
    std::string_view("Sperre zu hoch!"),
    std::string_view("Raumzahl/-Bezug fehlt!"),
    std::string_view("Keine Klausuren "),
    std::string_view("Nicht \xFC"
                     "bernommen: "),
};

// Refusals recognised by their end ("Kopplung 7 ohne Kurse!", "5A mehrfach eingesetzt!",
// "Kopplung 9 in MO 2 nicht gesetzt!").
constexpr std::array kRefusalEndings = {
    std::string_view(" ohne Kurse!"),
    std::string_view(" mehrfach eingesetzt!"),
    std::string_view(" nicht gesetzt!"),
    std::string_view("Abbruch!"),
};

}  // namespace

bool reportsFailure(std::string_view message) {
  // "Fehler ...", "Eingabefehler!", "Dateifehler ...", "Lesefehler in ...", "... fehlerhaft!"
  if (containsIgnoringCase(message, "fehler")) return true;
  if (message.find(" nicht gefunden") != std::string_view::npos) return true;
  const auto begins = [&](std::string_view start) { return message.starts_with(start); };
  const auto ends = [&](std::string_view end) { return message.ends_with(end); };
  return std::any_of(kRefusalBeginnings.begin(), kRefusalBeginnings.end(), begins) ||
         std::any_of(kRefusalEndings.begin(), kRefusalEndings.end(), ends);
}

}  // namespace quort
