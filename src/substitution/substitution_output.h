#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

// What the output command "O:V" + action + kind + date asks for.
struct OutputRequest {
  char action = 'F';  // 'P' print, 'F' file only, 'I' file and upload
  char kind = 'K';    // 'K' classes, 'I' DIF, 'G' complete plan, 'L' teachers
  std::string date;   // "TT.MM.JJJJ"
};
// The text after "O:V"; std::nullopt when action, kind or date are not recognised.
std::optional<OutputRequest> parseOutputCommand(const std::string& text);
std::string outputCommand(const OutputRequest& request);

// One covered day as the day files hold it, converted and trimmed.
struct CoveredDay {
  std::string date;
  std::string heading;                // line 1 of s<WD>.x
  std::vector<std::string> entries;   // the substitution lines
  std::vector<std::string> notes;     // t<WD>.x after line 1, then lines that are no entry
  std::vector<std::string> absences;  // the items of t<WD>.x line 1
};

// The day of date, or std::nullopt when s<WD>.x is missing or belongs to another date:
// a plan left over from last week is never published as this week's.
std::optional<CoveredDay> readCoveredDay(const std::string& date);

// The days an output covers: the chosen date, and for the published forms (vertr.txt,
// vdif.txt, the web files) also today when the chosen date lies after it.
std::vector<CoveredDay> coveredDays(const std::string& date, const std::string& today, bool published);

// Converts the lines of a day file: a line carrying the DOS marks (printer prefix or 0xFF
// bytes) is DOS text, any other line is already Windows text; then trimmed, blank lines
// dropped.
std::vector<std::string> convertedDayLines(const std::vector<std::string>& raw);

// "Montag" ... "Sonntag" for the date; empty for no date.
std::string weekdayName(const std::string& date);

// The first line of every output but vdif.txt: weekday name + "," + date + 14 blanks +
// "HH:MM" + " h".
std::string outputHeading(const std::string& date, const std::string& time);

// The lines of one kind for one day (without the heading line): kind 'G' the two-column
// notice-board layout for pageLines printable lines, 'K' and 'L' the lists, 'V' the lines
// of vertr.txt, 'I' those of vdif.txt.
std::vector<std::string> dayOutputLines(const CoveredDay& day, char kind, int pageLines = 64);

// vle.x line of a day: date + ": " + every substituting teacher once, each followed by ",".
std::string substituteListLine(const CoveredDay& day);

// A DIF line: every field in double quotes, a quote inside a field doubled.
std::string difLine(const std::vector<std::string>& fields);

// The file an output writes: g<WD>.txt, vertr.txt, k<WD>.txt, l<WD>.txt or vdif.txt.
std::string outputFileName(const OutputRequest& request);

// The generator: writes the output file, vle.x and, for saved and uploaded plans, the web
// files vertretung.html/.json/.ics, all together; then prints or uploads. false after
// "Datei-/Druckerfehler!" or a failed upload; files already on disk stay as they were when
// writing failed.
bool writeOutput(Workspace& ws, Ui& ui, const OutputRequest& request);

// The school day n school days (Sundays skipped) away from date.
std::string stepSchoolDays(const std::string& date, int n);

// The dialog "Vertretungsplan": date (stepped by school days), "für:", the kind and the
// buttons. Gives the output command of the button pressed, or std::nullopt on "Abbruch".
std::optional<std::string> outputDialog(Workspace& ws, Ui& ui);

}  // namespace quort
