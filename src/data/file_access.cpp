#include "data/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

#include "data/codepage.h"

namespace quort {

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

std::optional<fs::path> findInDirectory(const fs::path& directory, const std::string& name) {
  std::error_code ec;
  const fs::path dir = directory.empty() ? fs::path(".") : directory;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (sameIgnoringCase(it->path().filename().string(), name)) return directory / it->path().filename();
  }
  return std::nullopt;
}

std::optional<fs::path> findNative(const fs::path& path) {
  std::error_code ec;
  if (fs::exists(path, ec)) return path;
  fs::path found;
  for (const auto& part : path) {
    const fs::path candidate = found / part;
    if (part == "/" || part == "." || part == ".." || fs::exists(candidate, ec)) {
      found = candidate;
      continue;
    }
    const auto match = findInDirectory(found, part.string());
    if (!match) return std::nullopt;
    found = *match;
  }
  return found;
}

// The temporary file is created with the given rights; an existing one (left by a crash)
// is removed first, so it cannot keep wider rights.
bool writeAndSync(const fs::path& path, std::string_view content, mode_t mode) {
  ::unlink(path.c_str());
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = true;
  size_t written = 0;
  while (ok && written < content.size()) {
    const ssize_t n = ::write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) written += static_cast<size_t>(n);
  }
  ok = ok && ::fsync(fd) == 0;
  return ::close(fd) == 0 && ok;
}

}  // namespace

fs::path nativePath(std::string_view name) { return fs::path(cp1252ToUtf8(name)); }

std::string textFromPath(const fs::path& path) { return utf8ToCp1252(path.string()); }

std::string currentDirectoryText() {
  std::error_code ec;
  return textFromPath(fs::current_path(ec)) + "/";
}

std::string absoluteDirectoryOf(std::string_view name) {
  std::error_code ec;
  return textFromPath(fs::absolute(nativePath(name), ec).parent_path());
}

std::optional<std::string> findExistingFile(std::string_view name) {
  const auto found = findNative(nativePath(name));
  if (!found) return std::nullopt;
  return textFromPath(*found);
}

bool readWholeFile(std::string_view name, std::string& content, size_t maxBytes) {
  const auto found = findNative(nativePath(name));
  std::error_code ec;
  if (!found || !fs::is_regular_file(*found, ec)) return false;
  const auto size = fs::file_size(*found, ec);
  if (ec || size > maxBytes) return false;
  std::ifstream in(*found, std::ios::binary);
  if (!in) return false;
  content.assign(static_cast<size_t>(size), '\0');
  in.read(content.data(), static_cast<std::streamsize>(size));
  return static_cast<size_t>(in.gcount()) == size;
}

bool writeFileAtomically(std::string_view name, std::string_view content, std::optional<std::string_view> backupName) {
  std::vector<FileToWrite> files(1);
  files[0].name = std::string(name);
  files[0].content = std::string(content);
  if (backupName) files[0].backupName = std::string(*backupName);
  return !writeFilesTogether(files);
}

bool writePrivateFileAtomically(std::string_view name, std::string_view content) {
  std::vector<FileToWrite> files(1);
  files[0].name = std::string(name);
  files[0].content = std::string(content);
  files[0].ownerOnly = true;
  return !writeFilesTogether(files);
}

namespace {

fs::path temporaryFor(const fs::path& target) {
  fs::path temporary = target;
  temporary += ".tmp";
  return temporary;
}

void removeTemporaries(const std::vector<fs::path>& targets, size_t count) {
  std::error_code ec;
  for (size_t i = 0; i < count; ++i) fs::remove(temporaryFor(targets[i]), ec);
}

// A rename is durable only once the directory that holds the new entry is synced.
bool syncDirectoriesOf(const std::vector<fs::path>& targets) {
  std::vector<fs::path> done;
  bool ok = true;
  for (const fs::path& target : targets) {
    const fs::path directory = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (std::find(done.begin(), done.end(), directory) != done.end()) continue;
    done.push_back(directory);
    const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
      ok = false;
      continue;
    }
    ok = ::fsync(fd) == 0 && ok;
    ::close(fd);
  }
  return ok;
}

}  // namespace

std::optional<size_t> writeFilesTogether(const std::vector<FileToWrite>& files) {
  std::vector<fs::path> targets;
  for (const FileToWrite& file : files) {
    targets.push_back(findNative(nativePath(file.name)).value_or(nativePath(file.name)));
  }
  for (size_t i = 0; i < files.size(); ++i) {
    if (!writeAndSync(temporaryFor(targets[i]), files[i].content, files[i].ownerOnly ? 0600 : 0666)) {
      removeTemporaries(targets, i + 1);
      return i;
    }
  }
  std::error_code ec;
  for (size_t i = 0; i < files.size(); ++i) {
    if (!files[i].backupName || !fs::exists(targets[i], ec)) continue;
    fs::copy_file(targets[i], nativePath(*files[i].backupName), fs::copy_options::overwrite_existing, ec);
    if (ec) {
      removeTemporaries(targets, files.size());
      return i;
    }
  }
  for (size_t i = 0; i < files.size(); ++i) {
    fs::rename(temporaryFor(targets[i]), targets[i], ec);
    if (ec) {
      removeTemporaries(targets, files.size());
      return i;
    }
  }
  if (!syncDirectoriesOf(targets)) return files.empty() ? 0 : files.size() - 1;
  return std::nullopt;
}

std::string stemOf(std::string_view name) {
  const size_t slash = name.find_last_of('/');
  const size_t fileStart = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t dot = name.find('.', fileStart);
  return std::string(name.substr(0, dot == std::string_view::npos ? name.size() : dot));
}

}  // namespace quort
