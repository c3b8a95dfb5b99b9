#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quort {

struct Workspace;
struct BaseData;
class Ui;

// What "Eingabe von Mehr-/Minderarbeit" holds.
struct ExtraWorkInput {
  std::string date;
  std::string teacher;
  std::string schoolClass;
  std::string reason;
  std::string number;
};

// The log line of a manual entry, or the name of the first bad field ("Datum", "Lehrer",
// "Klasse", "Grund", "Zahl") in error. A reason may not carry the marks the counting reads
// ("(#", "(*)") nor end the bracket early, so it cannot change the counted hours.
struct ExtraWorkLine {
  std::string line;
  std::string error;
};
ExtraWorkLine manualExtraWorkLine(const BaseData& base, const ExtraWorkInput& input, bool reduced);

// Appends lines to prot.x, atomically and keeping prot.bx. false on a file error (shown as
// "prot.x", a line break and the error text).
bool appendLogLines(Ui& ui, const std::vector<std::string>& lines);

// "Eingabe von Mehr-/Minderarbeit": one log line per "Mehrarbeit" or "Minderarbeit" until
// "Ende". false when an entry was refused or the log could not be written.
bool enterExtraWork(Workspace& ws, Ui& ui);

// The imported extra-work lines of another computer's log lines: per run of one date, one
// line per teacher (list order) with the number of lessons that teacher substituted.
std::vector<std::string> importedExtraWorkLines(const BaseData& base, const std::vector<std::string>& lines,
                                                const std::string& reason);
// "Mehrarbeitsdateien": chooser "*.x*" (several names separated by ";"), the reason, then
// the lines appended to prot.x.
bool importExtraWork(Workspace& ws, Ui& ui);

// "Mehrarbeit ab Datum": a 6-character item per teacher with a non-zero count.
std::string extraWorkSinceText(const Workspace& ws, const std::string& fromDate);
bool extraWorkSince(Workspace& ws, Ui& ui);

// The printed reports, as lines. teachers: the codes to report, all teachers when empty.
std::vector<std::string> extraWorkReportLines(const Workspace& ws, const std::vector<std::string>& log,
                                              const std::string& fromDate, const std::vector<std::string>& teachers);
std::vector<std::string> absenceReportLines(const Workspace& ws, const std::vector<std::string>& registerLines,
                                            const std::string& fromDate, const std::vector<std::string>& teachers);
std::vector<std::string> lostLessonsReportLines(const std::vector<std::string>& log, const std::string& fromDate);

// Ask for the date and print; false when cancelled or after "Datei-/Druckfehler!".
bool extraWorkReport(Workspace& ws, Ui& ui, const std::vector<std::string>& teachers);
bool absenceReport(Workspace& ws, Ui& ui, const std::vector<std::string>& teachers);
bool lostLessonsReport(Workspace& ws, Ui& ui);

}  // namespace quort
