#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quort::test {

// A server program started by a test, ended (SIGTERM, then waited for) with this object.
// It also ends when the test program dies: its standard input closes and the kernel sends
// it SIGTERM.
class ServerProcess {
 public:
  // Starts argv[0] with argv; stdout of the program is kept readable for firstLine().
  static std::unique_ptr<ServerProcess> start(const std::vector<std::string>& argv, const std::filesystem::path& log,
                                              std::string& error);
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // The first line the program writes, waiting up to timeoutMs; empty on time-out or exit.
  std::string firstLine(int timeoutMs);

 private:
  ServerProcess() = default;
  pid_t m_pid = -1;
  int m_stdin = -1;
  int m_stdout = -1;
};

// One account on a test server; the entry is what net.ini names it by.
struct FtpTestServer {
  std::unique_ptr<ServerProcess> process;
  std::filesystem::path root;  // where uploads arrive
  std::string entry;           // "127.0.0.1:PORT", or "ftps://127.0.0.1:PORT"
  std::string user;
  std::string password;
};

// A free TCP port on 127.0.0.1 (bound once and released).
int freePort();
// Whether something accepts connections on 127.0.0.1:port within timeoutMs.
bool waitForPort(int port, int timeoutMs);

// A self-signed certificate for 127.0.0.1 and localhost, made with the openssl program.
bool makeSelfSignedCertificate(const std::filesystem::path& directory, std::string& certFile, std::string& keyFile,
                               std::string& error);

// pyftpdlib under Debian's python3 (a python3 of pyenv does not see the Debian package);
// with certFile the server insists on TLS.
bool startPythonFtpServer(FtpTestServer& server, const std::filesystem::path& directory, const std::string& certFile,
                          const std::string& keyFile, std::string& error);
// pure-ftpd in the foreground with one virtual user, whose files belong to "nobody".
bool startPureFtpd(FtpTestServer& server, const std::filesystem::path& directory, std::string& error);

}  // namespace quort::test
