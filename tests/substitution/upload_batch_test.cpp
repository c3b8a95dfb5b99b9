#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "substitution/test_servers.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using quort::test::readFile;

// The planner's script runner against a pyftpdlib server of the suite: "upload" with the
// dialog answered from "answer" lines, in a working directory of each test's own.
class UploadBatch : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_serverDir = std::make_unique<quort::test::TempDir>();
    s_error.clear();
    if (!quort::test::startPythonFtpServer(s_server, s_serverDir->path(), "", "", s_error) && s_error.empty()) {
      s_error = "pyftpdlib did not start";
    }
  }
  static void TearDownTestSuite() {
    s_server.process.reset();
    s_serverDir.reset();
  }
  void SetUp() override { ASSERT_TRUE(s_error.empty()) << s_error; }

  int run(const std::string& script) {
    std::ofstream(work.path() / "test.batch", std::ios::binary) << script;
    const std::string command =
        "cd '" + work.path().string() + "' && '" + QUORT_PLANNER_BINARY + "' --batch test.batch > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    output = readFile((work.path() / "out.txt").string());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string dialogAnswers(const std::string& password) const {
    return "answer $" + s_server.entry + "\nanswer $" + s_server.user + "\nanswer $www\nanswer $" + password +
           "\nanswer OK\n";
  }

  static inline std::unique_ptr<quort::test::TempDir> s_serverDir;
  static inline quort::test::FtpTestServer s_server;
  static inline std::string s_error;
  quort::test::TempDir work;
  std::string output;
};

// The answered dialog uploads the file; the password is stored in net.ini but appears
// nowhere in the output.
TEST_F(UploadBatch, AnsweredDialogUploadsAndKeepsThePasswordOutOfTheOutput) {
  work.write("vertr.txt", "MO 1 5A D\r\n");
  ASSERT_EQ(run(dialogAnswers(s_server.password) + "upload vertr.txt\n"), 0) << output;
  EXPECT_NE(output.find("message: \xC3\x9C"
                        "bertragen: " +
                        s_server.entry + ": vertr.txt  0.01 KB\n"),
            std::string::npos)
      << output;
  EXPECT_EQ(output.find(s_server.password), std::string::npos) << output;
  EXPECT_EQ(readFile((s_server.root / "www/vertr.txt").string()), "MO 1 5A D\r\n");
  EXPECT_NE(readFile((work.path() / "net.ini").string()).find(s_server.password), std::string::npos);
}

// "key" before the upload, confirmed, stops it: "Abbruch!" and the line fails. So do a
// cancelled dialog and a password with a separator ("Eingabefehler!", net.ini untouched).
TEST_F(UploadBatch, AbortCancelAndUnstorableEntriesFailTheLine) {
  work.write("vertr.txt", "MO 1 5A D\r\n");
  EXPECT_EQ(run(dialogAnswers(s_server.password) + "answer Ja\nkey\nupload vertr.txt\n"), 1);
  EXPECT_NE(output.find("question: Aktion abbrechen? -> Ja\n"), std::string::npos) << output;
  EXPECT_NE(output.find("message: Abbruch!\n"), std::string::npos) << output;
  EXPECT_EQ(run("upload vertr.txt\n"), 1);
  EXPECT_NE(output.find("-> Abbruch\n"), std::string::npos) << output;
  fs::remove(work.path() / "net.ini");
  EXPECT_EQ(run(dialogAnswers("ge,heim") + "upload vertr.txt\n"), 1);
  EXPECT_NE(output.find("message: Eingabefehler!\n"), std::string::npos) << output;
  EXPECT_FALSE(fs::exists(work.path() / "net.ini"));
}

}  // namespace
