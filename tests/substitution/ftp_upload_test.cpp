#include "substitution/ftp_upload.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "substitution/test_servers.h"
#include "support/temp_dir.h"
#include "workspace/dialogs.h"
#include "workspace/scripted_ui.h"
#include "workspace/workspace.h"

namespace {

namespace fs = std::filesystem;
using quort::UploadStatus;
using quort::test::FtpTestServer;
using quort::test::readFile;
using quort::test::TempDir;

// Four real servers on 127.0.0.1: two plain pyftpdlib servers, one that insists on TLS
// with a certificate made here, and pure-ftpd (multi-line greeting, reads no commands
// while data flows). Each starts when a test first needs it and serves the rest of the
// suite; ctest runs every test in a process of its own, so a test starts only its own.
class RealFtpServers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<TempDir>();
    ::chmod(s_dir->path().c_str(), 0755);
  }
  static void TearDownTestSuite() {
    for (FtpTestServer* server : {&s_plainA, &s_plainB, &s_tls, &s_pure}) server->process.reset();
    s_dir.reset();
  }

  void SetUp() override { ws.shell.programDirectory = work.path().string() + "/"; }

  // A test whose servers do not start fails with the reason; it does not skip.
  static testing::AssertionResult started(std::initializer_list<FtpTestServer*> servers) {
    for (FtpTestServer* server : servers) {
      if (server->process) continue;
      std::string error;
      if (!startServer(*server, error)) return testing::AssertionFailure() << error;
    }
    return testing::AssertionSuccess();
  }

  static bool startServer(FtpTestServer& server, std::string& error) {
    const char* name = &server == &s_plainA   ? "plain-a"
                       : &server == &s_plainB ? "plain-b"
                       : &server == &s_tls    ? "tls"
                                              : "pure";
    const fs::path directory = s_dir->path() / name;
    fs::create_directories(directory);
    if (&server == &s_pure) return quort::test::startPureFtpd(server, directory, error);
    if (&server != &s_tls) return quort::test::startPythonFtpServer(server, directory, "", "", error);
    std::string key;
    return quort::test::makeSelfSignedCertificate(directory, s_certificate, key, error) &&
           quort::test::startPythonFtpServer(server, directory, s_certificate, key, error);
  }

  quort::FtpOptions options() const {
    quort::FtpOptions options;
    options.caFile = s_certificate;
    options.timeouts.connect = std::chrono::milliseconds(3000);
    options.timeouts.data = std::chrono::milliseconds(2000);
    options.timeouts.response = std::chrono::milliseconds(3000);
    return options;
  }

  // Fills the dialog's fields in their order (Server, Adresse, Pfad, Paßwort, Namen) and
  // presses "OK"; fields not given keep their prefilled value.
  void answerDialog(quort::ScriptedUi& scripted, const std::vector<std::string>& fields) {
    for (const std::string& field : fields) scripted.queueAnswer("$" + field);
    scripted.queueAnswer("OK");
  }

  std::string lastMessage() const {
    for (auto it = ui.records().rbegin(); it != ui.records().rend(); ++it) {
      if (it->kind == "message") return it->text;
    }
    return {};
  }

  bool anyRecordContains(const std::string& text) const {
    for (const auto& record : ui.records()) {
      if (record.text.find(text) != std::string::npos || record.answer.find(text) != std::string::npos) return true;
    }
    return false;
  }

  // Bytes of every value: a random block of 64 KB, repeated.
  static std::string binaryBytes(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string block(std::min<size_t>(size, 65536), '\0');
    for (char& byte : block) byte = static_cast<char>(random() & 0xFF);
    std::string bytes;
    while (bytes.size() < size) bytes.append(block, 0, std::min(block.size(), size - bytes.size()));
    return bytes;
  }

  static inline std::unique_ptr<TempDir> s_dir;
  static inline std::string s_certificate;
  static inline FtpTestServer s_plainA;
  static inline FtpTestServer s_plainB;
  static inline FtpTestServer s_tls;
  static inline FtpTestServer s_pure;

  TempDir work;
  quort::Workspace ws;
  quort::ScriptedUi ui;
};

// Records what the progress window shows; with keyOnceMoving a person presses a key as soon
// as the first bytes are on their way.
class ProgressWatchingUi : public quort::ScriptedUi {
 public:
  void progressShow(const std::string& text) override {
    shown.push_back(text);
    const bool moving = text.find(" KB") != std::string::npos && text.find(":0.00 KB") == std::string::npos;
    if (keyOnceMoving && moving) {
      keyOnceMoving = false;
      keyPending = true;
    }
  }
  bool progressKeyPending() override { return std::exchange(keyPending, false); }
  bool showed(const std::string& prefix) const {
    return std::any_of(shown.begin(), shown.end(), [&](const std::string& text) { return text.rfind(prefix, 0) == 0; });
  }

  std::vector<std::string> shown;
  bool keyOnceMoving = false;
  bool keyPending = false;
};

// Two files to a plain and an FTPS server: both arrive byte for byte under their own names
// (CR LF, lone LF and every byte value unchanged); net.ini keeps the settings, readable by
// the owner only, and the password shows nowhere.
TEST_F(RealFtpServers, PlainAndTlsServersReceiveTheFilesByteForByte) {
  ASSERT_TRUE(started({&s_plainA, &s_tls}));
  const std::string dayPlan = "Vertretungsplan\r\nMO 1 5A\nDI 2 6B\r\n\x1A";
  const std::string binary = binaryBytes(70000, 7);
  const std::string first = work.write("vertr.txt", dayPlan);
  fs::create_directories(work.path() / "aus");
  const std::string second = work.write("aus/vle.x", binary);
  answerDialog(ui, {s_plainA.entry + ";" + s_tls.entry, s_plainA.user + "," + s_tls.user,
                    "www/vertretung;\\www\\vertretung\\", s_plainA.password + ";" + s_tls.password});
  EXPECT_EQ(quort::uploadFiles(ws, ui, first + "," + second, options()), UploadStatus::Transferred);
  for (const FtpTestServer* server : {&s_plainA, &s_tls}) {
    EXPECT_EQ(readFile((server->root / "www/vertretung/vertr.txt").string()), dayPlan) << server->entry;
    EXPECT_TRUE(readFile((server->root / "www/vertretung/vle.x").string()) == binary) << server->entry;
  }
  EXPECT_EQ(lastMessage().rfind("\xDC"
                                "bertragen:\r\n\r\n",
                                0),
            0U)
      << lastMessage();
  EXPECT_NE(lastMessage().find(s_tls.entry + ": vle.x  68.36 KB"), std::string::npos) << lastMessage();
  EXPECT_EQ(quort::readNetIni(ws.shell.programDirectory).servers, s_plainA.entry + ";" + s_tls.entry);
  struct stat info {};
  ASSERT_EQ(::stat((work.path() / "net.ini").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600U);
  EXPECT_FALSE(anyRecordContains(s_plainA.password));
}

// A wrong password on the first server and a missing directory on the second do not stop
// the third; the closing message names each outcome with the server's reply.
TEST_F(RealFtpServers, ErrorOnOneTargetStillTriesTheOthers) {
  ASSERT_TRUE(started({&s_plainA, &s_plainB, &s_pure}));
  const std::string file = work.write("vertr.txt", "Plan\r\n");
  answerDialog(ui, {s_plainA.entry + ";" + s_plainB.entry + ";" + s_pure.entry, "lehrer;lehrer;lehrer",
                    ";gibt/es/nicht;www", "falsch;" + s_plainB.password + ";" + s_pure.password});
  EXPECT_EQ(quort::uploadFiles(ws, ui, file, options()), UploadStatus::Failed);
  const std::string message = lastMessage();
  EXPECT_NE(message.find(s_plainA.entry + ": vertr.txt  530 "), std::string::npos) << message;
  EXPECT_NE(message.find(s_plainB.entry + ": vertr.txt  550 "), std::string::npos) << message;
  EXPECT_NE(message.find("\xDC"
                         "bertragen:\r\n\r\n" +
                         s_pure.entry + ": vertr.txt  0.01 KB"),
            std::string::npos)
      << message;
  EXPECT_EQ(message.find("\xDC"
                         "bertragen:"),
            message.rfind("\xDC"
                          "bertragen:"));
  EXPECT_EQ(readFile((s_pure.root / "www/vertr.txt").string()), "Plan\r\n");
  EXPECT_FALSE(fs::exists(s_plainA.root / "vertr.txt"));
}

// pure-ftpd greets over several lines; a file past a megabyte arrives whole, with its
// progress shown as name and amount. A single name in "Namen:" renames the first file
// only; the second keeps its own name.
TEST_F(RealFtpServers, LargeFileToPureFtpdAndASingleNameForTheFirstFileOnly) {
  ASSERT_TRUE(started({&s_pure}));
  ProgressWatchingUi watching;
  const std::string large = binaryBytes(1300 * 1024, 11);
  const std::string first = work.write("k MO.txt", large);
  const std::string second = work.write("l MO.txt", "Lehrer\r\n");
  answerDialog(watching, {s_pure.entry, s_pure.user, "www", s_pure.password, "neu.bin"});
  EXPECT_EQ(quort::uploadFiles(ws, watching, first + ", " + second, options()), UploadStatus::Transferred);
  EXPECT_TRUE(readFile((s_pure.root / "www/neu.bin").string()) == large);
  EXPECT_EQ(readFile((s_pure.root / "www/l MO.txt").string()), "Lehrer\r\n");
  EXPECT_FALSE(fs::exists(s_pure.root / "www/k MO.txt"));
  EXPECT_TRUE(watching.showed("neu.bin:")) << watching.shown.size();
  EXPECT_TRUE(watching.showed(s_pure.entry));
}

// A key while the data flows, confirmed with "Ja": the run stops at once, and the closing
// message says "Abbruch!" with the amount sent, never "Übertragen:"; the next target is
// not tried.
TEST_F(RealFtpServers, AbortDuringTheTransferReportsAbbruchWithTheAmountSent) {
  ASSERT_TRUE(started({&s_plainB, &s_pure}));
  ProgressWatchingUi watching;
  watching.keyOnceMoving = true;
  const size_t size = 8U * 1024U * 1024U;
  const std::string file = work.write("gross.bin", binaryBytes(size, 3));
  answerDialog(watching,
               {s_plainB.entry + ";" + s_pure.entry, "lehrer;lehrer", "", s_plainB.password + ";" + s_pure.password});
  watching.queueAnswer("Ja");
  EXPECT_EQ(quort::uploadFiles(ws, watching, file, options()), UploadStatus::Aborted);
  EXPECT_TRUE(watching.saw("Aktion abbrechen?"));
  std::string message;
  for (const auto& record : watching.records()) {
    if (record.kind == "message") message = record.text;
  }
  EXPECT_EQ(message.rfind("Abbruch!\r\n\r\n" + s_plainB.entry + ": gross.bin  ", 0), 0U) << message;
  EXPECT_EQ(message.find("bertragen:"), std::string::npos) << message;
  EXPECT_EQ(message.find(s_pure.entry), std::string::npos) << message;
  std::error_code ec;
  EXPECT_LT(fs::file_size(s_plainB.root / "gross.bin", ec), size);
  EXPECT_FALSE(fs::exists(s_pure.root / "gross.bin"));
}

// Without trusting the server's own certificate the FTPS upload fails: certificates are
// checked, and nothing goes out in the clear instead.
TEST_F(RealFtpServers, FtpsRefusesAnUntrustedCertificate) {
  ASSERT_TRUE(started({&s_tls}));
  const std::string file = work.write("geheim.txt", "nur mit TLS\r\n");
  const quort::UploadTarget target{s_tls.entry, s_tls.user, s_tls.password, ""};
  quort::FtpOptions untrusting = options();
  untrusting.caFile.clear();
  quort::ProgressOpen(ws, ui);
  const quort::FileUploadReport report = quort::uploadFile(ws, ui, {target}, file, "geheim.txt", untrusting);
  ASSERT_EQ(report.targets.size(), 1U);
  EXPECT_EQ(report.targets[0].transfer.outcome, quort::TransferOutcome::Failed);
  EXPECT_FALSE(fs::exists(s_tls.root / "geheim.txt"));
}

}  // namespace
