#include "substitution/ftp_upload.h"

#include <cstdio>

#include "data/file_access.h"
#include "workspace/dialogs.h"
#include "workspace/ui.h"
#include "workspace/workspace.h"

namespace quort {

namespace {

constexpr const char* kUploadPrompt =
    "Daten \xFC"
    "bertragen";
constexpr const char* kLineBreak = "\r\n";

// net.ini lives in the data directory, where the program was started on the school's files.
std::string dataDirectory(const Workspace& ws) { return ws.shell.programDirectory; }

std::vector<std::string> fileList(const std::string& list) {
  std::vector<std::string> files;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string name = list.substr(start, end - start);
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty()) files.push_back(name);
    start = end + 1;
  }
  return files;
}

ChoiceItem textField(const std::string& label, const std::string& value, bool masked = false) {
  ChoiceItem item;
  item.kind = ChoiceItem::Kind::TextField;
  item.label = label;
  item.value = value;
  item.masked = masked;
  return item;
}

ChoiceItem button(const std::string& caption) {
  ChoiceItem item;
  item.label = caption;
  return item;
}

// The fields in the order they are shown; a script's "$" answers fill them in this order.
ChoiceBoxRequest uploadDialog(const NetSettings& settings, const std::string& names) {
  ChoiceBoxRequest request;
  request.prompt = kUploadPrompt;
  request.helpButton = false;
  request.items = {textField("Server ", settings.servers),
                   textField("Adresse", settings.users),
                   textField("Pfad   ", settings.paths),
                   textField("Pa\xDFwort", settings.passwords, true),
                   textField("Namen", names),
                   button("OK"),
                   button("Abbruch")};
  return request;
}

constexpr int kOkButton = 6;

// The five field values of the dialog; false when they cannot be told apart (a "|" typed
// into a field).
bool dialogValues(const std::string& choiceValues, NetSettings& settings, std::string& names) {
  std::vector<std::string> values;
  size_t start = 0;
  for (size_t bar = choiceValues.find('|'); bar != std::string::npos; bar = choiceValues.find('|', start)) {
    values.push_back(choiceValues.substr(start, bar - start));
    start = bar + 1;
  }
  if (values.size() != 5 || start != choiceValues.size()) return false;
  settings = {values[0], values[1], values[3], values[2]};
  names = values[4];
  return true;
}

// Shows the dialog until its entries can be stored; false for "Abbruch".
bool askUploadSettings(Ui& ui, NetSettings& settings, std::string& names) {
  while (true) {
    const ChoiceOutcome outcome = ui.choiceBox(uploadDialog(settings, names));
    if (outcome.choiceResult != kOkButton) return false;
    NetSettings entered = settings;
    std::string enteredNames = names;
    const bool readable = dialogValues(outcome.choiceValues, entered, enteredNames);
    if (readable) {
      settings = entered;
      names = enteredNames;
    }
    if (readable && storableInNetIni(settings)) return true;
    ui.message("Eingabefehler!", MessageStyle{Icon::Exclamation});
  }
}

std::string withoutSecret(std::string text, const std::string& secret) {
  if (secret.empty()) return text;
  for (size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 3)) {
    text.replace(at, secret.size(), "***");
  }
  return text;
}

std::string reportLine(const TargetReport& report) {
  const TransferReport& transfer = report.transfer;
  std::string line = report.server + ": " + report.remoteName + "  ";
  if (transfer.outcome == TransferOutcome::Failed) {
    return line + (transfer.errorReply.empty() ? "Dateifehler!" : transfer.errorReply);
  }
  return line + amountText(transfer.bytesSent);
}

std::string section(const std::vector<TargetReport>& reports, TransferOutcome outcome, const std::string& heading) {
  std::string text;
  for (const TargetReport& report : reports) {
    if (report.transfer.outcome == outcome) text += reportLine(report) + kLineBreak;
  }
  if (text.empty()) return text;
  return heading.empty() ? text : heading + kLineBreak + kLineBreak + text;
}

bool anyWith(const std::vector<TargetReport>& reports, TransferOutcome outcome) {
  for (const TargetReport& report : reports) {
    if (report.transfer.outcome == outcome) return true;
  }
  return false;
}

}  // namespace

std::string amountText(std::uint64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f KB", static_cast<double>(bytes) / 1024.0);
  return text;
}

std::string remoteFileName(const std::string& localName) {
  const size_t separator = localName.find_last_of("/\\");
  return separator == std::string::npos ? localName : localName.substr(separator + 1);
}

FileUploadReport uploadFile(Workspace& ws, Ui& ui, const std::vector<UploadTarget>& targets,
                            const std::string& localFile, const std::string& remoteName, const FtpOptions& options) {
  FileUploadReport result;
  std::string content;
  result.fileRead = readWholeFile(localFile, content);
  if (!result.fileRead) return result;
  for (const UploadTarget& target : targets) {
    ui.progressTitle(target.server);
    ProgressPoll(ws, ui, target.server);
    if (ws.dialogs.abortRequested) break;
    const TransferProgress progress = [&](std::uint64_t bytesSent) {
      ProgressPoll(ws, ui, remoteName + ":" + amountText(bytesSent));
      return !ws.dialogs.abortRequested;
    };
    TargetReport report{target.server, remoteName, storeFile(target, remoteName, content, options, progress)};
    report.transfer.errorReply = withoutSecret(report.transfer.errorReply, target.password);
    result.targets.push_back(std::move(report));
  }
  return result;
}

std::string uploadSummary(const std::vector<TargetReport>& reports) {
  std::string text;
  for (const std::string& part :
       {section(reports, TransferOutcome::Failed, ""), section(reports, TransferOutcome::Aborted, "Abbruch!"),
        section(reports, TransferOutcome::Transferred,
                "\xDC"
                "bertragen:")}) {
    if (part.empty()) continue;
    if (!text.empty()) text += kLineBreak;
    text += part;
  }
  while (text.size() >= 2 && text.compare(text.size() - 2, 2, kLineBreak) == 0) text.erase(text.size() - 2);
  return text.empty() ? "Abbruch!" : text;
}

UploadStatus uploadFiles(Workspace& ws, Ui& ui, const std::string& localFiles, const FtpOptions& options) {
  const std::vector<std::string> files = fileList(localFiles);
  NetSettings settings = readNetIni(dataDirectory(ws));
  std::string names;
  for (const std::string& file : files) names += (names.empty() ? "" : ",") + remoteFileName(file);
  if (!askUploadSettings(ui, settings, names)) return UploadStatus::Cancelled;
  bool failed = false;
  if (!writeNetIni(dataDirectory(ws), settings)) {
    ui.message("Dateifehler!", MessageStyle{Icon::Stop});
    failed = true;
  }
  const std::vector<UploadTarget> targets = uploadTargets(settings);
  const std::vector<std::string> remoteNames = fileList(names);
  std::vector<TargetReport> reports;
  ProgressOpen(ws, ui);
  for (size_t i = 0; i < files.size() && !targets.empty() && !ws.dialogs.abortRequested; ++i) {
    const std::string remoteName = remoteFileName(i < remoteNames.size() ? remoteNames[i] : files[i]);
    FileUploadReport report = uploadFile(ws, ui, targets, files[i], remoteName, options);
    if (!report.fileRead) {
      ui.message("Dateifehler!", MessageStyle{Icon::Stop});
      failed = true;
    }
    reports.insert(reports.end(), report.targets.begin(), report.targets.end());
  }
  ProgressClose(ui);
  const bool aborted = anyWith(reports, TransferOutcome::Aborted) || ws.dialogs.abortRequested;
  failed = failed || anyWith(reports, TransferOutcome::Failed) || reports.empty();
  const bool allFine = !aborted && !failed;
  ui.message(uploadSummary(reports), MessageStyle{allFine ? Icon::Information : Icon::Stop});
  if (aborted) return UploadStatus::Aborted;
  return failed ? UploadStatus::Failed : UploadStatus::Transferred;
}

}  // namespace quort
