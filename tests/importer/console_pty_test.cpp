#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>

#include "importer/generated_school.h"
#include "importer/importer_test_support.h"

namespace quort::test {
namespace {

namespace fs = std::filesystem;

// The real importer on a pseudo-terminal, driven key by key like a person would.
class PtySession {
 public:
  explicit PtySession(const fs::path& directory) {
    struct winsize size {};
    size.ws_row = 25;
    size.ws_col = 80;
    m_pid = forkpty(&m_fd, nullptr, nullptr, &size);
    if (m_pid == 0) {
      if (chdir(directory.c_str()) != 0) _exit(127);
      setenv("TERM", "xterm", 1);
      setenv("LANG", "C.UTF-8", 1);
      execl(QUORT_IMPORTER_BINARY, "importer", static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  ~PtySession() {
    if (m_pid > 0 && !m_ended) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    if (m_fd >= 0) close(m_fd);
  }
  PtySession(const PtySession&) = delete;
  PtySession& operator=(const PtySession&) = delete;

  bool started() const { return m_pid > 0; }

  // Reads the screen output until text appears after what was already matched.
  bool waitFor(const std::string& text, int timeoutMs = 5000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
      const size_t found = m_output.find(text, m_matched);
      if (found != std::string::npos) {
        m_matched = found + text.size();
        return true;
      }
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0 || !readSome(static_cast<int>(left.count()))) return false;
    }
  }

  void send(const std::string& keys) {
    ASSERT_EQ(write(m_fd, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }

  // The exit status once the program ended, -1 when it did not end in time.
  int exitStatus(int timeoutMs = 5000) {
    for (int waited = 0; waited < timeoutMs; waited += 50) {
      int status = 0;
      readSome(0);
      if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_ended = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      }
      usleep(50 * 1000);
    }
    return -1;
  }

  const std::string& output() const { return m_output; }

 private:
  bool readSome(int timeoutMs) {
    pollfd descriptor{m_fd, POLLIN, 0};
    if (poll(&descriptor, 1, timeoutMs) <= 0) return false;
    char buffer[4096];
    const ssize_t n = read(m_fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    m_output.append(buffer, static_cast<size_t>(n));
    return true;
  }

  pid_t m_pid = -1;
  int m_fd = -1;
  bool m_ended = false;
  std::string m_output;
  size_t m_matched = 0;
};

// "G" then "P" through the menus, the file choosers and the prompts; the files are the
// ones the command line writes with the same answers.
TEST(ImporterConsole, BaseDataAndPlanAreImportedThroughTheMenu) {
  TempDir dir;
  fs::create_directories(dir.path() / "untis");
  makeGymnasium().writeTo(dir.path() / "untis");
  dir.write("kivo.ini", "// leer\r\n");
  PtySession session(dir.path());
  ASSERT_TRUE(session.started());
  ASSERT_TRUE(session.waitFor("Untis-/Selvox-Import 3.3"));
  ASSERT_TRUE(session.waitFor("Programmfunktionen")) << session.output();

  session.send("g");
  ASSERT_TRUE(session.waitFor("Dateien in ")) << session.output();
  ASSERT_TRUE(session.waitFor("untis/"));
  session.send("untis\r");  // into the directory, then choose a GPU file there
  ASSERT_TRUE(session.waitFor("GPU001.TXT"));
  session.send("GPU001.TXT\r");
  ASSERT_TRUE(session.waitFor("TAVIN-Grunddaten")) << session.output();
  session.send("../SCHULE\r");
  ASSERT_TRUE(session.waitFor("Wochenwechsel:")) << session.output();
  session.send("n");
  ASSERT_TRUE(session.waitFor("Tageszahl"));
  session.send(
      "\x7f"
      "5\r");
  ASSERT_TRUE(session.waitFor("Stundenzahl"));
  session.send(
      "\x7f"
      "8\r");
  ASSERT_TRUE(session.waitFor("Mittagspause"));
  session.send(
      "\x1bOD\x1bOC\x7f"
      "6\r");  // cursor keys (xterm keypad mode) move over the default first
  ASSERT_TRUE(session.waitFor("sortieren:"));
  session.send("n");
  ASSERT_TRUE(session.waitFor("erzeugt!"));
  session.send(" ");
  ASSERT_TRUE(session.waitFor("Programmfunktionen"));

  session.send("P");
  ASSERT_TRUE(session.waitFor("GPU001.TXT"));  // the chooser opens where it was left
  session.send("GPU001.TXT\r");
  ASSERT_TRUE(session.waitFor("TAVIN-Grunddaten")) << session.output();
  session.send("../SCHULE.GD\r");
  ASSERT_TRUE(session.waitFor("Stundenversatz")) << session.output();
  session.send("\r");
  for (const char* message : {"Stundenversatz", "eingelesen!", "gespeichert!"}) {
    ASSERT_TRUE(session.waitFor(message)) << session.output();
    session.send(" ");
  }
  ASSERT_TRUE(session.waitFor("Programmfunktionen"));
  session.send("e");
  EXPECT_EQ(session.exitStatus(), 0);

  const ProgramRun reference = runImporter(
      dir.path(), "grunddaten --untis untis --ziel REF --tage 5 --stunden 8 --mittag 6 --wochenwechsel nein");
  ASSERT_EQ(reference.exitCode, 0);
  ASSERT_EQ(runImporter(dir.path(), "plandaten --untis untis --ziel REF").exitCode, 0);
  EXPECT_EQ(readFile(dir.file("SCHULE.GD")), readFile(dir.file("REF.GD")));
  EXPECT_EQ(readFile(dir.file("SCHULE.PL")), readFile(dir.file("REF.PL")));
}

// "K" asks the year group, the export and the target, then one block per course until
// a 0; the file matches the command line's. Escape ends the program.
TEST(ImporterConsole, CourseChoicesAreImportedThroughTheMenu) {
  TempDir dir;
  dir.write("leistung.dat",
            "Kopf\r\nKunz|Eva||||||GKS|MA_Q1_GK_1\r\nKunz|Eva||||||LK1|DE_Q1_LK_1\r\nAbel|Tim||||||X|MA_Q1_GK_1\r\n");
  PtySession session(dir.path());
  ASSERT_TRUE(session.started());
  ASSERT_TRUE(session.waitFor("KIVO.INI fehlerhaft!"));
  session.send(" ");
  ASSERT_TRUE(session.waitFor("Programmfunktionen"));
  session.send("k");
  ASSERT_TRUE(session.waitFor("Klasse")) << session.output();
  session.send("11\r");
  ASSERT_TRUE(session.waitFor("Leistungsdaten")) << session.output();
  session.send("leistung.dat\r");
  ASSERT_TRUE(session.waitFor("Kopplungsdaten")) << session.output();
  session.send("K11.XYZ\r");
  ASSERT_TRUE(session.waitFor("Blocknummer von DEL*1")) << session.output();
  session.send(
      "\x7f"
      "3\r");
  ASSERT_TRUE(session.waitFor("MAG ")) << session.output();
  session.send(
      "\x7f"
      "0\r");
  for (const char* message : {"Kurse gespeichert", "Wahlen gespeichert"}) {
    ASSERT_TRUE(session.waitFor(message)) << session.output();
    session.send(" ");
  }
  ASSERT_TRUE(session.waitFor("Programmfunktionen"));
  session.send("\x1b");
  EXPECT_EQ(session.exitStatus(), 0);
  EXPECT_EQ(readFile(dir.file("K11.bk")),
            std::string(" 3") + std::string(12, ' ') + " 2" + std::string(12, ' ') +
                " 2\r\nDEL*1 #\r\nMAG 1 !\r\n1Abel;Tim\r\n\"!\r\n1Kunz;Eva\r\n\"\"!#\r\n11\r\n");
}

}  // namespace
}  // namespace quort::test
