#include "shell/upload_commands.h"

#include <string>

#include "data/codepage.h"
#include "shell/application.h"
#include "shell/batch_runner.h"
#include "substitution/ftp_upload.h"
#include "workspace/scripted_ui.h"

namespace quort {

namespace {

bool uploadKeyword(BatchRunner& runner, const std::string& argument) {
  if (argument.empty()) {
    runner.fail("upload: Dateiname fehlt");
    return false;
  }
  const UploadStatus status = uploadFiles(runner.app().workspace(), runner.ui(), utf8ToCp1252(argument));
  switch (status) {
    case UploadStatus::Transferred:
      return true;
    case UploadStatus::Cancelled:
      runner.fail("upload: abgebrochen");
      return false;
    case UploadStatus::Aborted:
    case UploadStatus::Failed:
      runner.fail(
          "upload: nicht vollst\xC3\xA4ndig \xC3\xBC"
          "bertragen: " +
          argument);
      return false;
  }
  return false;
}

}  // namespace

void addUploadKeywords(BatchRunner& runner) { runner.addKeyword("upload", uploadKeyword); }

}  // namespace quort
