#pragma once

#include <string>
#include <vector>

namespace quort {

struct Workspace;
class Ui;

// Extra work per teacher (index) counted from the log.
struct ExtraWork {
  std::vector<int> hours;
};

// "Protokolldatei pflegen ab ...": prot.x sorted by date, class and period, a later line of
// the same lesson replacing the earlier one; lines with "#" (imported and exam lines) are
// never merged. Counts extra work of lines dated on or after fromDate. false on a file
// error (reported; the log stays as it was).
bool maintainLog(Workspace& ws, Ui& ui, const std::string& fromDate, ExtraWork* count = nullptr);

// The extra work from the log as it is, without rewriting it.
ExtraWork countExtraWork(const Workspace& ws, const std::string& fromDate);

// The hours a log line adds to its substitute: 1 for "(*)", the signed number after "(#".
int loggedHours(const std::string& line);

// The lines of the maintained log, for tests and the rewrite.
std::vector<std::string> maintainedLogLines(const std::vector<std::string>& log);

}  // namespace quort
