#include "substitution/ftp_client.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace quort {

namespace {

using Clock = std::chrono::steady_clock;

// Progress shown to the caller at most this often while nothing changes.
constexpr auto kProgressInterval = std::chrono::milliseconds(200);

bool startsWithIgnoringCase(const std::string& text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(a) == lower(b);
  });
}

// "host[:port]" of a server entry, without scheme and anything behind the host.
std::string hostPart(const std::string& server) {
  std::string host = server;
  for (const std::string_view scheme : {"ftps://", "ftp://"}) {
    if (startsWithIgnoringCase(host, scheme)) host.erase(0, scheme.size());
  }
  return host.substr(0, host.find('/'));
}

std::string percentEncoded(const std::string& text, bool keepSlashes) {
  static const char* const hex = "0123456789ABCDEF";
  std::string encoded;
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    const bool plain = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') ||
                       byte == '-' || byte == '.' || byte == '_' || byte == '~' || (keepSlashes && byte == '/');
    if (plain) {
      encoded += ch;
    } else {
      encoded += '%';
      encoded += hex[byte >> 4];
      encoded += hex[byte & 15];
    }
  }
  return encoded;
}

std::string remoteDirectory(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  const size_t first = path.find_first_not_of('/');
  if (first == std::string::npos) return {};
  return path.substr(first, path.find_last_not_of('/') - first + 1);
}

long wholeSeconds(std::chrono::milliseconds time) {
  return std::max<long>(1, static_cast<long>((time.count() + 999) / 1000));
}

int replyCode(const std::string& line) {
  if (line.size() < 3 || !std::all_of(line.begin(), line.begin() + 3, [](char c) { return c >= '0' && c <= '9'; })) {
    return 0;
  }
  return std::stoi(line.substr(0, 3));
}

// What the callbacks of one transfer share.
struct Transfer {
  std::string_view content;
  size_t offset = 0;
  const TransferProgress* progress = nullptr;
  std::chrono::milliseconds silenceLimit{};
  std::chrono::milliseconds stallLimit{};
  Clock::time_point lastActivity = Clock::now();
  Clock::time_point lastShown{};
  std::uint64_t bytesSent = 0;
  std::string lastReply;
  bool timedOut = false;
  bool aborted = false;
};

size_t readChunk(char* buffer, size_t size, size_t count, void* userData) {
  auto& transfer = *static_cast<Transfer*>(userData);
  const size_t n = std::min(size * count, transfer.content.size() - transfer.offset);
  std::copy_n(transfer.content.data() + transfer.offset, n, buffer);
  transfer.offset += n;
  return n;
}

// Every reply line of the server arrives here, continuation lines of a multi-line reply
// included; curl itself waits for the closing line.
size_t replyLine(char* buffer, size_t size, size_t count, void* userData) {
  auto& transfer = *static_cast<Transfer*>(userData);
  std::string line(buffer, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  transfer.lastReply = line;
  transfer.lastActivity = Clock::now();
  return size * count;
}

int transferProgress(void* userData, curl_off_t, curl_off_t, curl_off_t, curl_off_t uploaded) {
  auto& transfer = *static_cast<Transfer*>(userData);
  const auto now = Clock::now();
  const auto sent = static_cast<std::uint64_t>(std::max<curl_off_t>(uploaded, 0));
  const bool moved = sent != transfer.bytesSent;
  if (moved) {
    transfer.bytesSent = sent;
    transfer.lastActivity = now;
  }
  // While the data flows a stall counts after the data time-out (curl's own check averages
  // over seconds); otherwise the reply time-out holds, also for the closing reply, which
  // curl would give a minute of its own.
  const bool dataFlowing = sent > 0 && sent < transfer.content.size();
  if (now - transfer.lastActivity > (dataFlowing ? transfer.stallLimit : transfer.silenceLimit)) {
    transfer.timedOut = true;
    return 1;
  }
  if (!moved && now - transfer.lastShown < kProgressInterval) return 0;
  transfer.lastShown = now;
  if (!(*transfer.progress)(sent)) {
    transfer.aborted = true;
    return 1;
  }
  return 0;
}

struct EasyHandleDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

void setTransferOptions(CURL* curl, const FtpOptions& options) {
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "ftp");
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
  curl_easy_setopt(curl, CURLOPT_FTP_USE_EPSV, 0L);
  // The address in a PASV reply is often a private one behind NAT, and a hostile server
  // could point it anywhere: the data connection goes to the host we are talking to.
  curl_easy_setopt(curl, CURLOPT_FTP_SKIP_PASV_IP, 1L);
  curl_easy_setopt(curl, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_SINGLECWD));
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(options.timeouts.connect.count()));
  curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, wholeSeconds(options.timeouts.response));
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, wholeSeconds(options.timeouts.data));
}

void setTlsOptions(CURL* curl, const FtpOptions& options) {
  curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
  curl_easy_setopt(curl, CURLOPT_FTPSSLAUTH, static_cast<long>(CURLFTPAUTH_TLS));
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
  if (!options.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, options.caFile.c_str());
}

}  // namespace

FtpOptions FtpOptions::fromEnvironment() {
  FtpOptions options;
  if (const char* caFile = std::getenv("QUORT_FTP_CA_FILE")) options.caFile = caFile;
  return options;
}

bool wantsTls(const std::string& server) { return startsWithIgnoringCase(server, "ftps://"); }

std::string ftpUrl(const UploadTarget& target, const std::string& remoteName) {
  const std::string directory = remoteDirectory(target.path);
  return "ftp://" + hostPart(target.server) + "/" + (directory.empty() ? "" : percentEncoded(directory, true) + "/") +
         percentEncoded(remoteName, false);
}

TransferReport storeFile(const UploadTarget& target, const std::string& remoteName, std::string_view content,
                         const FtpOptions& options, const TransferProgress& progress) {
  TransferReport report;
  const std::unique_ptr<CURL, EasyHandleDeleter> curl(curl_easy_init());
  if (!curl) return report;
  Transfer transfer;
  transfer.content = content;
  transfer.progress = &progress;
  transfer.silenceLimit = std::max(options.timeouts.response, options.timeouts.connect);
  transfer.stallLimit = options.timeouts.data;

  const std::string url = ftpUrl(target, remoteName);
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_USERNAME, target.user.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_PASSWORD, target.password.c_str());
  setTransferOptions(curl.get(), options);
  if (wantsTls(target.server)) setTlsOptions(curl.get(), options);
  curl_easy_setopt(curl.get(), CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(content.size()));
  curl_easy_setopt(curl.get(), CURLOPT_READFUNCTION, readChunk);
  curl_easy_setopt(curl.get(), CURLOPT_READDATA, &transfer);
  curl_easy_setopt(curl.get(), CURLOPT_HEADERFUNCTION, replyLine);
  curl_easy_setopt(curl.get(), CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(curl.get(), CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl.get(), CURLOPT_XFERINFOFUNCTION, transferProgress);
  curl_easy_setopt(curl.get(), CURLOPT_XFERINFODATA, &transfer);

  const CURLcode result = curl_easy_perform(curl.get());
  curl_off_t uploaded = 0;
  if (curl_easy_getinfo(curl.get(), CURLINFO_SIZE_UPLOAD_T, &uploaded) == CURLE_OK && uploaded > 0) {
    report.bytesSent = static_cast<std::uint64_t>(uploaded);
  }
  report.bytesSent = std::max(report.bytesSent, transfer.bytesSent);
  if (result == CURLE_OK) {
    report.outcome = TransferOutcome::Transferred;
  } else if (transfer.aborted) {
    report.outcome = TransferOutcome::Aborted;
  } else if (replyCode(transfer.lastReply) >= 400) {
    report.errorReply = transfer.lastReply;
  }
  return report;
}

}  // namespace quort
