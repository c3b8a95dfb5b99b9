#include "substitution/ftp_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>

#include "substitution/fake_ftp_server.h"

namespace {

using quort::FtpOptions;
using quort::TransferOutcome;
using quort::TransferReport;
using quort::UploadTarget;
using quort::test::FakeFtpServer;
using Behaviour = FakeFtpServer::Behaviour;

FtpOptions quickOptions() {
  FtpOptions options;
  options.timeouts.connect = std::chrono::milliseconds(2000);
  options.timeouts.data = std::chrono::milliseconds(1000);
  options.timeouts.response = std::chrono::milliseconds(1000);
  return options;
}

const std::string kDayPlan = "Vertretungsplan\r\nMO 1 5A D MR\r\n\x1A";

TransferReport store(const FakeFtpServer& server, const std::string& content = kDayPlan,
                     const std::string& path = "www\\vertretung\\") {
  const UploadTarget target{"127.0.0.1:" + std::to_string(server.port()), "lehrer", "geheim", path};
  return quort::storeFile(target, "vertr.txt", content, quickOptions(), [](std::uint64_t) { return true; });
}

bool sent(const std::vector<std::string>& commands, const std::string& command) {
  return std::find(commands.begin(), commands.end(), command) != std::end(commands);
}

// A plain exchange: binary type, the directory relative to the login, one STOR, nothing
// on the control connection while the data flows, and the bytes arrive unchanged.
TEST(FtpClient, StoresTheBytesUnchangedInBinaryModeWithoutControlTraffic) {
  const FakeFtpServer server(Behaviour::Normal);
  const TransferReport report = store(server);
  EXPECT_EQ(report.outcome, TransferOutcome::Transferred);
  EXPECT_EQ(report.bytesSent, kDayPlan.size());
  EXPECT_EQ(server.received(), kDayPlan);
  const std::vector<std::string> commands = server.commands();
  EXPECT_TRUE(sent(commands, "TYPE I"));
  EXPECT_TRUE(sent(commands, "CWD www/vertretung"));
  EXPECT_TRUE(sent(commands, "PASV"));
  EXPECT_TRUE(sent(commands, "STOR vertr.txt"));
  EXPECT_FALSE(sent(commands, "REIN"));
  EXPECT_FALSE(server.controlTrafficDuringTransfer());
}

// A PASV reply may name any address (a private one behind NAT, or a stranger's): the data
// connection still goes to the server the control connection talks to.
TEST(FtpClient, DataConnectionGoesToTheControlPeerNotThePasvAddress) {
  const FakeFtpServer server(Behaviour::ForeignPasvAddress);
  const TransferReport report = store(server);
  EXPECT_EQ(report.outcome, TransferOutcome::Transferred);
  EXPECT_EQ(server.received(), kDayPlan);
}

// The reply after the data decides: a 552 is a failure that names the server's reply.
TEST(FtpClient, RefusalAfterTheDataIsAFailureWithTheServersReply) {
  const FakeFtpServer server(Behaviour::RejectAfterData);
  const TransferReport report = store(server);
  EXPECT_EQ(report.outcome, TransferOutcome::Failed);
  EXPECT_EQ(report.errorReply, "552 Quota exceeded");
}

TEST(FtpClient, MalformedPasvReplyIsAFailure) {
  const FakeFtpServer server(Behaviour::MalformedPasv);
  const TransferReport report = store(server);
  EXPECT_EQ(report.outcome, TransferOutcome::Failed);
  EXPECT_TRUE(server.received().empty());
}

// A server that says nothing (at the start, after garbage without a reply code, or when
// the closing reply is due) ends the transfer as a failure after the reply time-out.
TEST(FtpClient, SilenceAndRepliesWithoutCodeTimeOutInsteadOfHanging) {
  for (const Behaviour behaviour : {Behaviour::Silent, Behaviour::GreetingWithoutCode, Behaviour::NoFinalReply}) {
    const FakeFtpServer server(behaviour);
    const auto start = std::chrono::steady_clock::now();
    const TransferReport report = store(server);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(report.outcome, TransferOutcome::Failed) << static_cast<int>(behaviour);
    EXPECT_TRUE(report.errorReply.empty()) << report.errorReply;
    EXPECT_LT(seconds, 4.5) << static_cast<int>(behaviour);
  }
}

// A data connection that takes nothing more (the server stopped reading) is given up after
// the data time-out.
TEST(FtpClient, StalledDataConnectionTimesOut) {
  const FakeFtpServer server(Behaviour::StalledData);
  const auto start = std::chrono::steady_clock::now();
  const TransferReport report = store(server, std::string(32U * 1024U * 1024U, 'x'));
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(report.outcome, TransferOutcome::Failed);
  EXPECT_LT(report.bytesSent, 32U * 1024U * 1024U);
  EXPECT_LT(seconds, 2.8);
}

// The progress callback can stop a transfer at any step.
TEST(FtpClient, ProgressCallbackAbortsTheTransfer) {
  const FakeFtpServer server(Behaviour::Normal);
  const UploadTarget target{"127.0.0.1:" + std::to_string(server.port()), "lehrer", "geheim", ""};
  const TransferReport report =
      quort::storeFile(target, "vertr.txt", kDayPlan, quickOptions(), [](std::uint64_t) { return false; });
  EXPECT_EQ(report.outcome, TransferOutcome::Aborted);
  EXPECT_FALSE(sent(server.commands(), "STOR vertr.txt"));
}

// Server entries: plain, with port, with a scheme; "ftps://" is explicit TLS on the usual
// FTP URL. Paths lose their outer separators and "\" becomes "/"; odd bytes are escaped.
TEST(FtpClient, UrlsOfServerEntriesAndPaths) {
  EXPECT_EQ(quort::ftpUrl({"ftp.schule.de", "u", "p", "\\www\\vertretung\\"}, "vertr.txt"),
            "ftp://ftp.schule.de/www/vertretung/vertr.txt");
  EXPECT_EQ(quort::ftpUrl({"ftps://ftp.schule.de:2121", "u", "p", ""}, "k MO.txt"),
            "ftp://ftp.schule.de:2121/k%20MO.txt");
  EXPECT_EQ(quort::ftpUrl({"FTP://10.0.0.5/egal", "u", "p", "/plan/"}, "l\xFC.txt"), "ftp://10.0.0.5/plan/l%FC.txt");
  EXPECT_TRUE(quort::wantsTls("FTPS://ftp.schule.de"));
  EXPECT_FALSE(quort::wantsTls("ftp.schule.de"));
}

}  // namespace
