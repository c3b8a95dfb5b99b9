#include "substitution/test_servers.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace quort::test {

namespace fs = std::filesystem;

namespace {

const char* const kPython = "/usr/bin/python3";

sockaddr_in loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

[[noreturn]] void execChild(const std::vector<std::string>& argv, int input, int output, const fs::path& log) {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);
  ::dup2(input, 0);
  ::dup2(output, 1);
  const int logFd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (logFd >= 0) ::dup2(logFd, 2);
  std::vector<char*> args;
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  ::execv(args[0], args.data());
  ::_exit(127);
}

int runQuietly(const std::string& command) {
  const int status = std::system((command + " >/dev/null 2>&1").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::unique_ptr<ServerProcess> ServerProcess::start(const std::vector<std::string>& argv, const fs::path& log,
                                                    std::string& error) {
  int input[2];
  int output[2];
  if (::pipe2(input, O_CLOEXEC) != 0 || ::pipe2(output, O_CLOEXEC) != 0) {
    error = "pipe failed";
    return nullptr;
  }
  const pid_t pid = ::fork();
  if (pid < 0) {
    error = "fork failed";
    return nullptr;
  }
  if (pid == 0) execChild(argv, input[0], output[1], log);
  ::close(input[0]);
  ::close(output[1]);
  std::unique_ptr<ServerProcess> process(new ServerProcess);
  process->m_pid = pid;
  process->m_stdin = input[1];
  process->m_stdout = output[0];
  return process;
}

ServerProcess::~ServerProcess() {
  if (m_pid > 0) {
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
  }
  if (m_stdin >= 0) ::close(m_stdin);
  if (m_stdout >= 0) ::close(m_stdout);
}

std::string ServerProcess::firstLine(int timeoutMs) {
  std::string line;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd fd{m_stdout, POLLIN, 0};
    if (::poll(&fd, 1, 50) <= 0) continue;
    char ch = 0;
    if (::read(m_stdout, &ch, 1) != 1) return {};
    if (ch == '\n') return line;
    line += ch;
  }
  return {};
}

int freePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

bool waitForPort(int port, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < deadline) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    if (connected) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

bool makeSelfSignedCertificate(const fs::path& directory, std::string& certFile, std::string& keyFile,
                               std::string& error) {
  certFile = (directory / "server.crt").string();
  keyFile = (directory / "server.key").string();
  const std::string command =
      "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 "
      "-subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1,DNS:localhost -keyout '" +
      keyFile + "' -out '" + certFile + "'";
  if (runQuietly(command) != 0) {
    error = "openssl could not make a certificate: " + command;
    return false;
  }
  return true;
}

bool startPythonFtpServer(FtpTestServer& server, const fs::path& directory, const std::string& certFile,
                          const std::string& keyFile, std::string& error) {
  server.root = directory / "root";
  fs::create_directories(server.root / "www" / "vertretung");
  server.user = "lehrer";
  server.password = "gEh31m pw";
  std::vector<std::string> argv = {
      kPython,      std::string(QUORT_SOURCE_DIR) + "/tests/substitution/ftp_test_server.py",
      "--root",     server.root.string(),
      "--user",     server.user,
      "--password", server.password};
  if (!certFile.empty()) argv.insert(argv.end(), {"--cert", certFile, "--key", keyFile});
  server.process = ServerProcess::start(argv, directory / "server.log", error);
  if (!server.process) return false;
  const std::string port = server.process->firstLine(15000);
  if (port.empty()) {
    std::ifstream log(directory / "server.log");
    error = "pyftpdlib did not start (" + std::string(kPython) +
            ", python3-pyftpdlib): " + std::string(std::istreambuf_iterator<char>(log), {});
    return false;
  }
  server.entry = (certFile.empty() ? "" : "ftps://") + std::string("127.0.0.1:") + port;
  return true;
}

bool startPureFtpd(FtpTestServer& server, const fs::path& directory, std::string& error) {
  const passwd* nobody = ::getpwnam("nobody");
  if (nobody == nullptr) {
    error = "no user nobody";
    return false;
  }
  server.root = directory / "home";
  server.user = "lehrer";
  server.password = "geheim";
  fs::create_directories(server.root / "www");
  for (const fs::path& dir : {server.root, server.root / "www"}) ::chown(dir.c_str(), nobody->pw_uid, nobody->pw_gid);
  const fs::path passwords = directory / "pureftpd.passwd";
  const fs::path database = directory / "pureftpd.pdb";
  // A quick MD5 crypt hash: the default Argon2 of pure-pw costs a second per login.
  const std::string hashCommand =
      "openssl passwd -1 -salt quort '" + server.password + "' > '" + (directory / "hash").string() + "'";
  std::string hash;
  if (std::system(hashCommand.c_str()) == 0) std::getline(std::ifstream(directory / "hash"), hash);
  std::ofstream(passwords) << server.user << ':' << hash << ':' << nobody->pw_uid << ':' << nobody->pw_gid
                           << "::" << server.root.string() << "/./::::::::::::\n";
  if (hash.empty() || runQuietly("pure-pw mkdb '" + database.string() + "' -f '" + passwords.string() + "'") != 0) {
    error = "pure-pw could not build the user database (package pure-ftpd)";
    return false;
  }
  const int port = freePort();
  server.process = ServerProcess::start({"/usr/sbin/pure-ftpd", "-S", "127.0.0.1," + std::to_string(port), "-l",
                                         "puredb:" + database.string(), "-E", "-H", "-A", "-u", "1"},
                                        directory / "server.log", error);
  if (!server.process || !waitForPort(port, 10000)) {
    error = "pure-ftpd did not start on port " + std::to_string(port) + " " + error;
    return false;
  }
  server.entry = "127.0.0.1:" + std::to_string(port);
  return true;
}

}  // namespace quort::test
