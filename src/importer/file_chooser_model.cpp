#include "importer/file_chooser_model.h"

#include <algorithm>
#include <filesystem>

#include "data/file_access.h"
#include "workspace/file_chooser_model.h"

namespace quort {

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool lessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return lowerAscii(x) < lowerAscii(y); });
}

std::string trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

std::string withTrailingSlash(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

std::string directoryPart(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

ConsoleFileChooserModel::ConsoleFileChooserModel(std::string directory)
    : m_directory(withTrailingSlash(std::move(directory))) {}

void ConsoleFileChooserModel::start(std::string_view pattern) {
  const std::string directory = directoryPart(pattern);
  if (!directory.empty()) changeDirectory(directory);
  m_pattern = std::string(pattern.substr(directory.size()));
  if (m_pattern.empty()) m_pattern = "*";
}

bool ConsoleFileChooserModel::changeDirectory(std::string_view path) {
  const std::string target = (!path.empty() && path[0] == '/') ? std::string(path) : m_directory + std::string(path);
  std::error_code ec;
  const fs::path resolved = fs::weakly_canonical(nativePath(target), ec);
  if (ec || !fs::is_directory(resolved, ec)) return false;
  m_directory = withTrailingSlash(textFromPath(resolved));
  return true;
}

std::vector<std::string> ConsoleFileChooserModel::entries() const {
  std::vector<std::string> directories;
  std::vector<std::string> files;
  std::error_code ec;
  for (fs::directory_iterator it(nativePath(m_directory), ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = textFromPath(it->path().filename());
    if (name.empty() || name[0] == '.') continue;
    std::error_code typeError;
    if (it->is_directory(typeError)) {
      directories.push_back(name + '/');
    } else if (matchesPattern(name, m_pattern)) {
      files.push_back(name);
    }
  }
  std::sort(directories.begin(), directories.end(), lessIgnoringCase);
  std::sort(files.begin(), files.end(), lessIgnoringCase);
  std::vector<std::string> result{"/"};
  if (m_directory != "/") result.emplace_back("..");
  result.insert(result.end(), directories.begin(), directories.end());
  result.insert(result.end(), files.begin(), files.end());
  return result;
}

std::optional<std::string> ConsoleFileChooserModel::enter(std::string_view input) {
  std::string name = trimmed(input);
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.empty()) return std::nullopt;
  if (name.find_first_of("*?") != std::string::npos) {
    start(name);
    return std::nullopt;
  }
  if (name.back() == '/' || name == "..") {
    changeDirectory(name);
    return std::nullopt;
  }
  const std::string full = name[0] == '/' ? name : m_directory + name;
  std::error_code ec;
  if (fs::is_directory(nativePath(full), ec)) {
    changeDirectory(full);
    return std::nullopt;
  }
  return full;
}

}  // namespace quort
