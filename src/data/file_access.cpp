#include "data/file_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <system_error>

namespace quort {

namespace fs = std::filesystem;

namespace {

bool sameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::optional<fs::path> findInDirectory(const fs::path& directory, const std::string& name) {
  std::error_code ec;
  const fs::path dir = directory.empty() ? fs::path(".") : directory;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (sameIgnoringCase(it->path().filename().string(), name)) {
      return directory.empty() ? it->path().filename() : directory / it->path().filename();
    }
  }
  return std::nullopt;
}

bool syncFile(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

std::optional<fs::path> findExistingFile(const fs::path& path) {
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

bool readWholeFile(const fs::path& path, std::string& content, size_t maxBytes) {
  const auto found = findExistingFile(path);
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

bool writeFileAtomically(const fs::path& path, std::string_view content,
                         const std::optional<fs::path>& backupPath) {
  fs::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(temporary.c_str());
      return false;
    }
  }
  std::error_code ec;
  if (!syncFile(temporary)) {
    fs::remove(temporary, ec);
    return false;
  }
  if (backupPath && fs::exists(path, ec)) {
    fs::copy_file(path, *backupPath, fs::copy_options::overwrite_existing, ec);
    if (ec) {
      fs::remove(temporary, ec);
      return false;
    }
  }
  fs::rename(temporary, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return false;
  }
  return true;
}

std::string stemOf(std::string_view name) {
  const size_t slash = name.find_last_of('/');
  const size_t fileStart = slash == std::string_view::npos ? 0 : slash + 1;
  const size_t dot = name.find('.', fileStart);
  return std::string(name.substr(0, dot == std::string_view::npos ? name.size() : dot));
}

}  // namespace quort
