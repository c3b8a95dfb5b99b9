#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

// "s" + "MO" + ".x" and the like, for the weekday of date.
std::string dayFileName(char kind, const std::string& date);
// Line 1 of s<WD>.x: "Vertretungen MO,03.02.2025".
std::string dayFileHeader(const std::string& date);

// One handled lesson: its s<WD>.x line and the reason its log line carries.
struct SubstitutionLine {
  std::string line;
  std::string reason;
};

// " 5A  3.Std." + coupling part + ": " + text: the line of a handled lesson.
std::string substitutionLine(const Workspace& ws, int schoolClass, int period, int coupling, const std::string& text);

// A line of s<WD>.x merged into the file's lines: an existing line with the same key
// keeps its text up to ":" (the lesson as first recorded) and takes the rest; otherwise
// the line is appended.
void mergeSubstitutionLine(std::vector<std::string>& lines, const std::string& line);

// The log line of a day-file line: date + "[" + reason + "]," + line. A comma in the
// reason would shift the log's fields, so it becomes ";".
std::string logLine(const std::string& date, const std::string& reason, const std::string& line);

// Writes the lines into s<WD>.x and their log lines into prot.x, both or neither. A
// weekday file of another date is cleared after "Plan für MO löschen?". false on a file
// error (reported; nothing was written).
bool writeSubstitutionLines(Workspace& ws, Ui& ui, const std::string& date, const std::vector<SubstitutionLine>& lines);

// Asks "Plan für MO löschen?" when s<WD>.x holds another date than date (once per file
// and date) and clears the day on Yes. false when a file failed.
bool settleForeignDayFile(Workspace& ws, Ui& ui, const std::string& date);

// "Vertretungsplan löschen": s<WD>.x becomes line 1 only, t<WD>.x goes to t<WD>.xb.
bool clearDay(Workspace& ws, Ui& ui, const std::string& date);

// t<WD>.x line 1 takes the absence items (items already there are not repeated); the
// other lines stay. A missing file is created with the items and "Aufsichten:".
bool extendDayNotes(Ui& ui, const std::string& date, const std::vector<std::string>& items);
// Tidies a joined line 1: single blanks, no blanks around ",", no leading or trailing ",".
std::string tidyNotesLine(const std::string& line);

// "Vertretungsplan für ...": s<WD>.x from the log lines of the date, line 1 of t<WD>.x
// from termin.x; the notes below line 1 stay.
bool rebuildDay(Workspace& ws, Ui& ui, const std::string& date);

}  // namespace quort
