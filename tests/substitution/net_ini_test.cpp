#include "substitution/net_ini.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "substitution/ftp_upload.h"
#include "support/temp_dir.h"

namespace {

using quort::NetSettings;
using quort::test::TempDir;

std::string directoryOf(const TempDir& dir) { return dir.path().string() + "/"; }

// A file of the old program (upper-case name, ";" between entries, a trailing 0x1A) gives
// two targets whose n-th entries belong together.
TEST(NetIni, OldFileInAnyLetterCaseGivesItsTargets) {
  const TempDir dir;
  dir.write("NET.INI", "ftp.a.de;ftp.b.de\r\nlehrer;admin\r\ngeheim; mit blank\r\nwww\\vp\\,/plan/\r\n\x1A");
  const NetSettings settings = quort::readNetIni(directoryOf(dir));
  EXPECT_EQ(settings.servers, "ftp.a.de;ftp.b.de");
  EXPECT_EQ(settings.paths, "www\\vp\\,/plan/");
  const auto targets = quort::uploadTargets(settings);
  ASSERT_EQ(targets.size(), 2U);
  EXPECT_EQ(targets[1].server, "ftp.b.de");
  EXPECT_EQ(targets[1].user, "admin");
  EXPECT_EQ(targets[1].password, " mit blank");
  EXPECT_EQ(targets[1].path, "/plan/");
}

// A missing file leaves every field empty; an empty password ends the list before any
// connection is made.
TEST(NetIni, MissingFileAndIncompleteTargets) {
  const TempDir dir;
  const NetSettings missing = quort::readNetIni(directoryOf(dir));
  EXPECT_TRUE(missing.servers.empty() && missing.users.empty() && missing.passwords.empty() && missing.paths.empty());
  EXPECT_TRUE(quort::uploadTargets(missing).empty());
  const auto targets = quort::uploadTargets({"a;b;c", "u;u;u", "p;;p", ""});
  ASSERT_EQ(targets.size(), 1U);
  EXPECT_EQ(targets[0].server, "a");
}

// Four CR LF lines, owner-only rights even over an old readable file, replaced in place
// of a file of another letter case.
TEST(NetIni, WritesFourLinesReadableByTheOwnerOnly) {
  const TempDir dir;
  const std::string old = dir.write("Net.Ini", "alt\r\n");
  ::chmod(old.c_str(), 0644);
  const NetSettings settings{"ftp.a.de;ftps://ftp.b.de:990", "lehrer;admin", "geheim;x", "www;"};
  ASSERT_TRUE(quort::writeNetIni(directoryOf(dir), settings));
  EXPECT_EQ(quort::test::readFile(old), "ftp.a.de;ftps://ftp.b.de:990\r\nlehrer;admin\r\ngeheim;x\r\nwww;\r\n");
  struct stat info {};
  ASSERT_EQ(::stat(old.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600U);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "net.ini"));
  const NetSettings back = quort::readNetIni(directoryOf(dir));
  EXPECT_EQ(back.passwords, settings.passwords);
  EXPECT_EQ(back.paths, settings.paths);
}

// An entry holding a separator would come back as two entries: more passwords (or users,
// paths) than servers, or a line break, cannot be stored.
TEST(NetIni, EntriesWithSeparatorsOrLineBreaksCannotBeStored) {
  EXPECT_TRUE(quort::storableInNetIni({"a;b;", "u,v", "p;q", "x;y"}));
  EXPECT_TRUE(quort::storableInNetIni({"a", "u", "", ""}));
  EXPECT_FALSE(quort::storableInNetIni({"a", "u", "ge,heim", ""}));
  EXPECT_FALSE(quort::storableInNetIni({"a", "u;v", "p", ""}));
  EXPECT_FALSE(quort::storableInNetIni({"a", "u", "p", "www\r\nb"}));
}

quort::TargetReport report(const std::string& server, quort::TransferOutcome outcome, std::uint64_t bytes,
                           const std::string& reply = {}) {
  return {server, "vertr.txt", {outcome, bytes, reply}};
}

// The closing message: failures with their reply (or "Dateifehler!" when the server gave
// none) never under "Übertragen:"; an abort says "Abbruch!" with what was sent.
TEST(UploadSummary, NamesEveryTargetsOutcome) {
  using quort::TransferOutcome;
  EXPECT_EQ(quort::uploadSummary({report("a", TransferOutcome::Transferred, 1536)}),
            "\xDC"
            "bertragen:\r\n\r\na: vertr.txt  1.50 KB");
  EXPECT_EQ(quort::uploadSummary({report("a", TransferOutcome::Transferred, 2048),
                                  report("b", TransferOutcome::Failed, 0, "530 Login incorrect."),
                                  report("c", TransferOutcome::Failed, 0)}),
            "b: vertr.txt  530 Login incorrect.\r\nc: vertr.txt  Dateifehler!\r\n\r\n"
            "\xDC"
            "bertragen:\r\n\r\na: vertr.txt  2.00 KB");
  EXPECT_EQ(quort::uploadSummary({report("a", TransferOutcome::Aborted, 512)}),
            "Abbruch!\r\n\r\na: vertr.txt  0.50 KB");
  EXPECT_EQ(quort::uploadSummary({}), "Abbruch!");
}

}  // namespace
