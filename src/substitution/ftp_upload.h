#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "substitution/ftp_client.h"
#include "substitution/net_ini.h"

namespace quort {

struct Workspace;
class Ui;

// How one file fared on one target.
struct TargetReport {
  std::string server;
  std::string remoteName;
  TransferReport transfer;
};

struct FileUploadReport {
  bool fileRead = false;
  std::vector<TargetReport> targets;  // the targets tried, in order
};

enum class UploadStatus { Transferred, Failed, Aborted, Cancelled };

// The FTP exchange of one local file with every target in turn, under remoteName. An
// error on one target does not stop the others; the abort key stops them all. The file is
// sent byte for byte. Progress goes to the progress window, which the caller has opened
// (ProgressOpen); nothing else is shown: the caller reports the outcome.
FileUploadReport uploadFile(Workspace& ws, Ui& ui, const std::vector<UploadTarget>& targets,
                            const std::string& localFile, const std::string& remoteName, const FtpOptions& options);

// Publishes files: the dialog "Daten übertragen" prefilled from net.ini in the data
// directory; "OK" stores the settings and uploads each file of localFiles ("," separated)
// to every target, then one message names each target's outcome. The n-th name of
// "Namen:" is the remote name of the n-th file; files without one keep their own name.
UploadStatus uploadFiles(Workspace& ws, Ui& ui, const std::string& localFiles,
                         const FtpOptions& options = FtpOptions::fromEnvironment());

// The closing message over every report: "Übertragen:" with the files that arrived, the
// refusing reply (or "Dateifehler!") of every target that failed, or "Abbruch!" with what
// was sent when the user stopped the run.
std::string uploadSummary(const std::vector<TargetReport>& reports);

// The amount as the progress window and the messages show it: "12.50 KB".
std::string amountText(std::uint64_t bytes);

// The file-name part of a local name; directories stay on this side.
std::string remoteFileName(const std::string& localName);

}  // namespace quort
