#include "substitution/net_ini.h"

#include "data/file_access.h"

namespace quort {

namespace {

std::string trimmedEntry(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Entries counted up to the last non-empty one: "a;b;" still names two.
size_t entryCount(const std::string& list) {
  const std::vector<std::string> entries = splitEntries(list);
  size_t count = entries.size();
  while (count > 0 && trimmedEntry(entries[count - 1]).empty()) --count;
  return count;
}

std::string entryAt(const std::vector<std::string>& entries, size_t index) {
  return index < entries.size() ? entries[index] : std::string();
}

std::string trimmedEntryAt(const std::vector<std::string>& entries, size_t index) {
  return trimmedEntry(entryAt(entries, index));
}

bool hasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

}  // namespace

std::vector<std::string> splitEntries(const std::string& list) {
  std::vector<std::string> entries;
  if (list.empty()) return entries;
  size_t start = 0;
  while (true) {
    const size_t end = list.find_first_of(",;", start);
    entries.push_back(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return entries;
}

NetSettings readNetIni(const std::string& directory) {
  NetSettings settings;
  std::string content;
  if (!readWholeFile(directory + kNetIniName, content)) return settings;
  content = content.substr(0, content.find('\x1A'));
  std::string* const lines[] = {&settings.servers, &settings.users, &settings.passwords, &settings.paths};
  size_t start = 0;
  for (std::string* line : lines) {
    if (start >= content.size()) break;
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    *line = content.substr(start, end - start);
    if (!line->empty() && line->back() == '\r') line->pop_back();
    start = end + 1;
  }
  return settings;
}

bool writeNetIni(const std::string& directory, const NetSettings& settings) {
  const std::string content =
      settings.servers + "\r\n" + settings.users + "\r\n" + settings.passwords + "\r\n" + settings.paths + "\r\n";
  return writePrivateFileAtomically(directory + kNetIniName, content);
}

bool storableInNetIni(const NetSettings& settings) {
  for (const std::string* list : {&settings.servers, &settings.users, &settings.passwords, &settings.paths}) {
    if (hasLineBreak(*list)) return false;
  }
  const size_t servers = entryCount(settings.servers);
  return entryCount(settings.users) <= servers && entryCount(settings.passwords) <= servers &&
         entryCount(settings.paths) <= servers;
}

std::vector<UploadTarget> uploadTargets(const NetSettings& settings) {
  const std::vector<std::string> servers = splitEntries(settings.servers);
  const std::vector<std::string> users = splitEntries(settings.users);
  const std::vector<std::string> passwords = splitEntries(settings.passwords);
  const std::vector<std::string> paths = splitEntries(settings.paths);
  std::vector<UploadTarget> targets;
  for (size_t i = 0; i < servers.size(); ++i) {
    // Blanks may belong to a password; around names and paths they are typing slack.
    UploadTarget target{trimmedEntryAt(servers, i), trimmedEntryAt(users, i), entryAt(passwords, i),
                        trimmedEntryAt(paths, i)};
    if (target.server.empty() || target.user.empty() || target.password.empty()) break;
    targets.push_back(std::move(target));
  }
  return targets;
}

}  // namespace quort
