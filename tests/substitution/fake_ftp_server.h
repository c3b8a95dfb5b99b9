#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quort::test {

// An FTP server in a thread of the test, for what real servers will not do on demand.
// It serves one control connection after the other on 127.0.0.1.
class FakeFtpServer {
 public:
  enum class Behaviour {
    Normal,
    Silent,  // accepts the connection and never says a word
    GreetingWithoutCode,
    RejectAfterData,  // takes the data, then answers 552
    NoFinalReply,     // takes the data and stays silent
    StalledData,      // opens the data connection and never reads from it
    MalformedPasv,
    ForeignPasvAddress  // the PASV reply names another host
  };

  explicit FakeFtpServer(Behaviour behaviour);
  ~FakeFtpServer();
  FakeFtpServer(const FakeFtpServer&) = delete;
  FakeFtpServer& operator=(const FakeFtpServer&) = delete;

  int port() const { return m_port; }
  // The commands received, verbs in upper case ("PASS" without its argument).
  std::vector<std::string> commands() const;
  // What arrived on the data connection of the last STOR.
  std::string received() const;
  // Whether anything came on the control connection while the data was still flowing.
  bool controlTrafficDuringTransfer() const { return m_trafficDuringTransfer; }

 private:
  void serve();
  void converse(int control);
  bool readLine(int fd, std::string& line);
  void receiveData(int listener, int control);
  void record(const std::string& command);

  Behaviour m_behaviour;
  int m_listener = -1;
  int m_port = 0;
  std::atomic<bool> m_stop{false};
  std::atomic<bool> m_trafficDuringTransfer{false};
  mutable std::mutex m_mutex;
  std::vector<std::string> m_commands;
  std::string m_received;
  std::thread m_thread;
};

}  // namespace quort::test
