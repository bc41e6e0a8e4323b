#include "tests/data/odbc/OdbcServers.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "tests/support/data/TestDatabases.h"

namespace {
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

int PortOf(const std::string& connectionString) {
  std::smatch m;
  if (std::regex_search(connectionString, m, std::regex("PORT=([0-9]+)", std::regex::icase))) return std::stoi(m[1]);
  return 0;
}

int BoundSocket(int& port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return -1;
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}
}  // namespace

std::string SharedPostgresString() {
  return Environment("QELVO_TEST_PG");
}
std::string SharedMariaDbString() {
  return Environment("QELVO_TEST_MARIADB");
}
int SharedPostgresPort() {
  return PortOf(SharedPostgresString());
}
int SharedMariaDbPort() {
  return PortOf(SharedMariaDbString());
}

OwnServers::OwnServers(std::string which) : which_(std::move(which)), script_(Environment("QELVO_SERVERS_SCRIPT")) {
  if (script_.empty()) {
    why_ = "QELVO_SERVERS_SCRIPT is not set (run through scripts/test.sh)";
    return;
  }
  if (geteuid() != 0) {
    why_ = "starting servers needs root";
    return;
  }
  expected_ = true;
  folder_ = MakeTemporaryFolder();
  if (!Run("start")) {
    why_ = "the script could not start " + which_ + " in " + folder_;
    return;
  }
  // The script may have put the server elsewhere (a path too long for a socket); it says where.
  std::string home = folder_ + "/" + which_;
  if (std::ifstream moved(folder_ + "/" + which_ + ".home"); moved) std::getline(moved, home);
  std::ifstream port(home + "/port");
  port >> port_;
  available_ = port_ > 0;
  if (!available_) why_ = "no port was written";
}

OwnServers::~OwnServers() {
  if (folder_.empty()) return;
  Run("stop");
  RemoveFolder(folder_);
}

std::string OwnServers::ConnectionString() const {
  std::string port = std::to_string(port_);
  if (which_ == "pg")
    return "DRIVER={PostgreSQL Unicode};SERVER=127.0.0.1;PORT=" + port +
           ";DATABASE=testdb;UID=tester;PWD=secret;BoolsAsChar=0";
  return "DRIVER={MariaDB Unicode};SERVER=127.0.0.1;PORT=" + port + ";DATABASE=testdb;UID=tester;PWD=secret";
}

bool OwnServers::Stop() {
  return Run("stop");
}
bool OwnServers::Resume() {
  return Run("resume");
}

bool OwnServers::Run(const std::string& command) {
  std::string line = "bash '" + script_ + "' " + command + " '" + folder_ + "' " + which_ + " >'" + folder_ + "/" +
                     command + ".log' 2>&1";
  return std::system(line.c_str()) == 0;
}

int ClosedPort() {
  int port = 0;
  int fd = BoundSocket(port);
  if (fd >= 0) close(fd);
  return port;
}

SilentPort::SilentPort() {
  listener_ = BoundSocket(port_);
  if (listener_ < 0 || listen(listener_, 0) != 0) return;
  // One connection fills the queue of a listener with no backlog; later requests are dropped.
  filler_ = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port_));
  connect(filler_, reinterpret_cast<sockaddr*>(&address), sizeof address);
}

SilentPort::~SilentPort() {
  if (filler_ >= 0) close(filler_);
  if (listener_ >= 0) close(listener_);
}

MutePort::MutePort(int giveUpSeconds) {
  listener_ = BoundSocket(port_);
  if (listener_ < 0 || listen(listener_, 16) != 0) {
    port_ = 0;
    return;
  }
  server_ = std::thread([this, giveUpSeconds] { Serve(giveUpSeconds); });
}

MutePort::~MutePort() {
  stop_ = true;
  if (server_.joinable()) server_.join();
  if (listener_ >= 0) close(listener_);
}

void MutePort::Serve(int giveUpSeconds) {
  struct Client {
    int fd;
    std::chrono::steady_clock::time_point giveUp;
  };
  std::vector<Client> accepted;
  while (!stop_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 100) > 0) {
      const int client = accept(listener_, nullptr, nullptr);
      if (client >= 0)
        accepted.push_back({client, std::chrono::steady_clock::now() + std::chrono::seconds(giveUpSeconds)});
    }
    const auto now = std::chrono::steady_clock::now();
    for (auto it = accepted.begin(); it != accepted.end();) {
      if (now < it->giveUp) {
        ++it;
        continue;
      }
      close(it->fd);
      it = accepted.erase(it);
    }
  }
  for (const Client& client : accepted) close(client.fd);
}
