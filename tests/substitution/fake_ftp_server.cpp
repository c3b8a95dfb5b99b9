#include "substitution/fake_ftp_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace quort::test {

namespace {

int listenOnLoopback(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::listen(fd, 4);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

bool readable(int fd, int timeoutMs) {
  pollfd entry{fd, POLLIN, 0};
  return ::poll(&entry, 1, timeoutMs) > 0;
}

void sendText(int fd, const std::string& text) { (void)!::send(fd, text.data(), text.size(), MSG_NOSIGNAL); }

std::string upperVerb(const std::string& line) {
  std::string verb = line.substr(0, line.find(' '));
  std::transform(verb.begin(), verb.end(), verb.begin(), [](unsigned char c) { return static_cast<char>(toupper(c)); });
  return verb;
}

}  // namespace

FakeFtpServer::FakeFtpServer(Behaviour behaviour) : m_behaviour(behaviour) {
  m_listener = listenOnLoopback(m_port);
  m_thread = std::thread([this] { serve(); });
}

FakeFtpServer::~FakeFtpServer() {
  m_stop = true;
  m_thread.join();
  ::close(m_listener);
}

std::vector<std::string> FakeFtpServer::commands() const {
  const std::lock_guard lock(m_mutex);
  return m_commands;
}

std::string FakeFtpServer::received() const {
  const std::lock_guard lock(m_mutex);
  return m_received;
}

void FakeFtpServer::record(const std::string& command) {
  const std::lock_guard lock(m_mutex);
  m_commands.push_back(command);
}

void FakeFtpServer::serve() {
  while (!m_stop) {
    if (!readable(m_listener, 50)) continue;
    const int control = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (control < 0) continue;
    converse(control);
    ::close(control);
  }
}

bool FakeFtpServer::readLine(int fd, std::string& line) {
  line.clear();
  while (!m_stop) {
    if (!readable(fd, 50)) continue;
    char ch = 0;
    if (::recv(fd, &ch, 1, 0) != 1) return false;
    if (ch == '\n') return true;
    if (ch != '\r') line += ch;
  }
  return false;
}

void FakeFtpServer::converse(int control) {
  if (m_behaviour == Behaviour::Silent) {
    while (!m_stop && !readable(control, 50)) {
    }
    return;
  }
  sendText(control, m_behaviour == Behaviour::GreetingWithoutCode ? "hello\r\n" : "220-Fake FTP\r\n220 ready\r\n");
  int dataListener = -1;
  std::string line;
  while (readLine(control, line)) {
    const std::string verb = upperVerb(line);
    record(verb == "PASS" ? verb : verb + line.substr(verb.size()));
    if (verb == "USER")
      sendText(control, "331 Password required\r\n");
    else if (verb == "PASS")
      sendText(control, "230 Logged in\r\n");
    else if (verb == "PWD")
      sendText(control, "257 \"/\" is the current directory\r\n");
    else if (verb == "CWD" || verb == "TYPE")
      sendText(control, "250 OK\r\n");
    else if (verb == "PASV") {
      if (dataListener >= 0) ::close(dataListener);
      int port = 0;
      dataListener = listenOnLoopback(port);
      const std::string host = m_behaviour == Behaviour::ForeignPasvAddress ? "10,255,255,1" : "127,0,0,1";
      sendText(control, m_behaviour == Behaviour::MalformedPasv
                            ? "227 Entering Passive Mode (127,0,0)\r\n"
                            : "227 Entering Passive Mode (" + host + "," + std::to_string(port / 256) + "," +
                                  std::to_string(port % 256) + ")\r\n");
    } else if (verb == "STOR" && dataListener >= 0) {
      sendText(control, "150 Go ahead\r\n");
      receiveData(dataListener, control);
      if (m_behaviour == Behaviour::RejectAfterData)
        sendText(control, "552 Quota exceeded\r\n");
      else if (m_behaviour != Behaviour::NoFinalReply)
        sendText(control, "226 Transfer complete\r\n");
    } else if (verb == "QUIT") {
      sendText(control, "221 Bye\r\n");
      break;
    } else {
      sendText(control, "502 Not implemented\r\n");
    }
  }
  if (dataListener >= 0) ::close(dataListener);
}

void FakeFtpServer::receiveData(int listener, int control) {
  if (!readable(listener, 5000)) return;
  const int data = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  if (data < 0) return;
  if (m_behaviour == Behaviour::StalledData) {
    while (!m_stop && !readable(control, 50)) {
    }
    ::close(data);
    return;
  }
  std::string bytes;
  char buffer[4096];
  while (!m_stop) {
    if (readable(control, 0)) m_trafficDuringTransfer = true;
    if (!readable(data, 50)) continue;
    const ssize_t n = ::recv(data, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(data);
  const std::lock_guard lock(m_mutex);
  m_received = bytes;
}

}  // namespace quort::test
