#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace quort::test {

// A directory of its own for one test, removed again at the end.
class TempDir {
 public:
  TempDir() : TempDir(std::filesystem::temp_directory_path()) {}
  explicit TempDir(const std::filesystem::path& parent) {
    std::random_device device;
    m_path = parent / ("quort-test-" + std::to_string(device()));
    std::filesystem::create_directories(m_path);
  }

  // Tests that write hundreds of files use memory where the machine has it: every save
  // syncs its file, which a disk makes slow.
  static std::filesystem::path inMemoryIfPossible() {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::string file(const std::string& name) const { return (m_path / name).string(); }

  std::string write(const std::string& name, const std::string& content) const {
    std::ofstream out(m_path / name, std::ios::binary);
    out << content;
    return file(name);
  }

 private:
  std::filesystem::path m_path;
};

// Runs a test (or a benchmark) in a directory of its own, the current one while it
// lives: safety copies and day files are written into the current directory.
class InTempDirectory : public TempDir {
 public:
  explicit InTempDirectory(const std::filesystem::path& parent = std::filesystem::temp_directory_path())
      : TempDir(parent), m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(path());
  }
  ~InTempDirectory() { std::filesystem::current_path(m_previous); }
  InTempDirectory(const InTempDirectory&) = delete;
  InTempDirectory& operator=(const InTempDirectory&) = delete;

 private:
  std::filesystem::path m_previous;
};

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string demoFile() { return std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.GD"; }
inline std::string demoPlanFile() { return std::string(QUORT_SOURCE_DIR) + "/demo/DEMO.PL"; }

}  // namespace quort::test
