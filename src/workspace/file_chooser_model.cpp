#include "workspace/file_chooser_model.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/file_access.h"

namespace quort {

namespace fs = std::filesystem;

namespace {

constexpr const char* kParentEntry = "[..]";

// Letter case folding for ASCII and the Windows-1252 letters with an upper-case partner.
char foldCase(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
  if (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7) return static_cast<char>(byte + 0x20);
  return c;
}

bool lessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return foldCase(x) < foldCase(y); });
}

std::string withTrailingSlash(std::string directory) {
  if (directory.empty() || directory.back() != '/') directory += '/';
  return directory;
}

// /proc/mounts writes blanks and a few other bytes in mount points as octal escapes.
std::string unescapeMountPoint(const std::string& field) {
  std::string result;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size()) {
      const std::string digits = field.substr(i + 1, 3);
      if (digits.size() == 3 &&
          std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '7'; })) {
        result += static_cast<char>(std::stoi(digits, nullptr, 8));
        i += 3;
        continue;
      }
    }
    result += field[i];
  }
  return result;
}

bool isDirectory(const std::string& name) {
  std::error_code ec;
  return fs::is_directory(nativePath(name), ec);
}

}  // namespace

bool matchesPattern(std::string_view name, std::string_view pattern) {
  if (pattern == "*.*" || pattern == "*") return true;
  size_t n = 0, p = 0;
  size_t starPattern = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || foldCase(pattern[p]) == foldCase(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starPattern = p++;
      starName = n;
    } else if (starPattern != std::string_view::npos) {
      p = starPattern + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> driveRoots() {
  std::vector<std::string> roots = {"/"};
  std::ifstream mounts("/proc/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, mountPoint;
    fields >> device >> mountPoint;
    if (device.rfind("/dev/", 0) != 0) continue;
    const std::string root = textFromPath(fs::path(unescapeMountPoint(mountPoint)));
    if (isDirectory(root)) roots.push_back(root);
  }
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    roots.push_back(textFromPath(fs::path(home)));
  }
  std::vector<std::string> unique;
  for (const std::string& root : roots) {
    if (std::find(unique.begin(), unique.end(), root) == unique.end()) unique.push_back(root);
  }
  return unique;
}

FileChooserModel::FileChooserModel(FileChooserRequest request, const std::string& startDirectory)
    : m_request(std::move(request)), m_pattern(m_request.pattern.empty() ? "*.*" : m_request.pattern) {
  for (const std::string& root : driveRoots()) m_drives.push_back("[- " + root + " -]");
  if (startDirectory.empty() || !changeDirectory(startDirectory)) changeDirectory(currentDirectoryText());
}

std::string FileChooserModel::initialName() const {
  return m_request.proposedName.empty() ? m_pattern : m_request.proposedName;
}

bool FileChooserModel::changeDirectory(const std::string& directory) {
  const std::string target = directory.empty() || directory[0] == '/' ? directory : m_directory + directory;
  if (target.empty() || !isDirectory(target)) return false;
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(nativePath(target), ec);
  if (ec) return false;
  m_directory = withTrailingSlash(textFromPath(canonical));
  refresh();
  return true;
}

void FileChooserModel::refresh() {
  std::vector<std::string> directories, files;
  std::error_code ec;
  for (fs::directory_iterator it(nativePath(m_directory), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = textFromPath(it->path().filename());
    if (name.empty() || name[0] == '.') continue;  // hidden files are no school's data
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      directories.push_back(name);
    } else if (matchesPattern(name, m_pattern)) {
      files.push_back(name);
    }
  }
  std::sort(directories.begin(), directories.end(), lessIgnoringCase);
  std::sort(files.begin(), files.end(), lessIgnoringCase);
  m_entries.clear();
  if (m_directory != "/") m_entries.push_back(kParentEntry);
  for (const std::string& directory : directories) m_entries.push_back("[" + directory + "]");
  m_entries.insert(m_entries.end(), files.begin(), files.end());
}

bool FileChooserModel::openEntry(const std::string& entry) {
  if (entry == kParentEntry) return changeDirectory(textFromPath(nativePath(m_directory).parent_path().parent_path()));
  if (entry.size() > 2 && entry.front() == '[' && entry.back() == ']') {
    return changeDirectory(entry.substr(1, entry.size() - 2));
  }
  return false;
}

bool FileChooserModel::openDrive(const std::string& drive) {
  if (drive.size() < 7 || drive.rfind("[- ", 0) != 0) return false;
  return changeDirectory(drive.substr(3, drive.size() - 6));
}

FileChooserModel::Outcome FileChooserModel::submit(const std::string& typed) {
  std::string name = typed;
  name.erase(0, name.find_first_not_of(' '));
  name.erase(name.find_last_not_of(' ') + 1);
  if (name.empty()) return Outcome::DirectoryChanged;
  const size_t slash = name.find_last_of('/');
  if (slash != std::string::npos) {
    const std::string directoryPart = name.substr(0, slash + 1);
    if (!changeDirectory(directoryPart)) return Outcome::NotFound;
    name.erase(0, slash + 1);
  }
  if (name.find_first_of("*?") != std::string::npos) {
    m_pattern = name;
    refresh();
    return Outcome::PatternChanged;
  }
  if (name.empty() || (isDirectory(m_directory + name) && changeDirectory(name))) return Outcome::DirectoryChanged;
  m_chosen = m_directory + name;
  if (m_request.mode == "R") {
    const auto existing = findExistingFile(m_chosen);
    if (!existing) return Outcome::NotFound;
    m_chosen = *existing;
  }
  return Outcome::Accepted;
}

}  // namespace quort
