#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "substitution/net_ini.h"

namespace quort {

struct FtpTimeouts {
  std::chrono::milliseconds connect{10000};
  // How long the data connection may stall.
  std::chrono::milliseconds data{4000};
  // How long the server may stay silent when a reply is due: a dead server must not
  // hang the program.
  std::chrono::milliseconds response{30000};
};

struct FtpOptions {
  FtpTimeouts timeouts;
  // PEM file of the certificates to trust for "ftps://" servers in place of the system's
  // bundle (a server with a certificate of its own); empty: the system's bundle.
  std::string caFile;

  // The defaults, with caFile taken from QUORT_FTP_CA_FILE when that is set.
  static FtpOptions fromEnvironment();
};

enum class TransferOutcome { Transferred, Failed, Aborted };

struct TransferReport {
  TransferOutcome outcome = TransferOutcome::Failed;
  std::uint64_t bytesSent = 0;
  // For a failure, the server's reply that refused (code 400 or more); empty when the
  // connection failed, timed out or the server answered nonsense.
  std::string errorReply;
};

// Called while the transfer runs (at every step of it, and about once a second while it
// waits) with the bytes sent so far; false aborts the transfer.
using TransferProgress = std::function<bool(std::uint64_t bytesSent)>;

// The URL of remoteName in the target's directory: plain "ftp://" also for an "ftps://"
// entry, whose TLS is requested on the control connection (AUTH TLS). Path entries may
// use "\"; leading and trailing separators are dropped, the directory is relative to the
// login directory.
std::string ftpUrl(const UploadTarget& target, const std::string& remoteName);
// Whether the server entry asks for TLS ("ftps://").
bool wantsTls(const std::string& server);

// Stores content as remoteName on the target: passive mode, binary, one STOR; the
// server's closing reply decides whether it arrived.
TransferReport storeFile(const UploadTarget& target, const std::string& remoteName, std::string_view content,
                         const FtpOptions& options, const TransferProgress& progress);

}  // namespace quort
