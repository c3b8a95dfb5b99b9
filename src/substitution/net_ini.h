#pragma once

#include <string>
#include <vector>

namespace quort {

inline constexpr const char* kNetIniName = "net.ini";

// The four lines of net.ini as the dialog shows them: each a list of entries separated
// by "," or ";", the n-th entries of the four lists forming one upload target.
struct NetSettings {
  std::string servers;
  std::string users;
  std::string passwords;
  std::string paths;
};

// One upload target. server is "host", "host:port", "ftp://host[:port]" or
// "ftps://host[:port]" (explicit TLS).
struct UploadTarget {
  std::string server;
  std::string user;
  std::string password;
  std::string path;
};

// The entries of a list, split at "," and ";" (an empty list has none).
std::vector<std::string> splitEntries(const std::string& list);

// Reads directory + "net.ini" (any letter case); a missing file gives empty lists.
NetSettings readNetIni(const std::string& directory);
// Writes the four lines (CR LF) atomically, readable by the owner only: it holds passwords.
bool writeNetIni(const std::string& directory, const NetSettings& settings);

// Whether the lists survive a round trip through net.ini unchanged in meaning: no line
// breaks, and no user, password or path list with more entries than there are servers
// (an entry that itself contained "," or ";" shows up that way).
bool storableInNetIni(const NetSettings& settings);

// The targets in list order. The list ends at the first target without server, user or
// password, as an incomplete target cannot log in.
std::vector<UploadTarget> uploadTargets(const NetSettings& settings);

}  // namespace quort
