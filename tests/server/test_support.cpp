#include "test_support.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <stdexcept>
#include <thread>

namespace dravin::test {

namespace fs = std::filesystem;

CommandResult run(const std::string& command) {
  CommandResult result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) throw std::runtime_error("cannot run " + command);
  char buffer[4096];
  while (std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe))
    result.output.append(buffer, count);
  int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TempDir::TempDir() {
  std::random_device random;
  path_ = fs::temp_directory_path() / ("dravin-test-" + std::to_string(random()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

fs::path TempDir::write(const std::string& relative, const std::string& bytes) const {
  fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

std::string atPath(const fs::path& path) {
  std::string text = path.string();
  std::string result;
  for (char c : text) result += c == '/' ? std::string("@@") : std::string(1, c);
  return result;
}

RunningServer::RunningServer(std::shared_ptr<HttpServer> server) : server_(std::move(server)) {
  server_->start(0);
  port_ = server_->localPort();
}

RunningServer::~RunningServer() {
  server_->stop();
  server_->waitForConnections(std::chrono::seconds(5));
  // The accept loop holds the server until it has seen the listener close.
  std::weak_ptr<HttpServer> weak = server_;
  server_.reset();
  eventually([&] { return weak.expired(); });
}

std::string RunningServer::url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

RawConnection::RawConnection(std::uint16_t port) {
  descriptor_ = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(descriptor_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    throw std::runtime_error("cannot connect");
  }
}

RawConnection::~RawConnection() {
  ::close(descriptor_);
}

void RawConnection::send(const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t result = ::send(descriptor_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (result <= 0) return;
    sent += static_cast<std::size_t>(result);
  }
}

static bool readable(int descriptor) {
  pollfd poller{descriptor, POLLIN, 0};
  return ::poll(&poller, 1, 5000) > 0;
}

std::string RawConnection::receiveUntilClosed() {
  std::string bytes;
  char buffer[4096];
  while (readable(descriptor_)) {
    ssize_t count = ::recv(descriptor_, buffer, sizeof buffer, 0);
    if (count <= 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  throw std::runtime_error("the server did not close the connection");
}

std::string RawConnection::receiveHead() {
  std::string bytes;
  char byte;
  while (!bytes.ends_with("\r\n\r\n") && readable(descriptor_) &&
         ::recv(descriptor_, &byte, 1, 0) == 1) {
    bytes += byte;
  }
  return bytes;
}

std::vector<std::uint8_t> RawConnection::receive(std::size_t count) {
  std::vector<std::uint8_t> bytes(count);
  std::size_t filled = 0;
  while (filled < count && readable(descriptor_)) {
    ssize_t result = ::recv(descriptor_, bytes.data() + filled, count - filled, 0);
    if (result <= 0) break;
    filled += static_cast<std::size_t>(result);
  }
  bytes.resize(filled);
  return bytes;
}

SocketPair::SocketPair() {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) throw std::runtime_error("socketpair");
  socket = std::make_shared<Socket>(ends[0]);
  peer = ends[1];
}

SocketPair::~SocketPair() {
  closePeer();
}

void SocketPair::send(const std::string& bytes) const {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t result = ::send(peer, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (result <= 0) return;
    sent += static_cast<std::size_t>(result);
  }
}

void SocketPair::closePeer() {
  if (peer >= 0) ::close(peer);
  peer = -1;
}

std::string SocketPair::receiveAll() const {
  std::string bytes;
  char buffer[4096];
  while (readable(peer)) {
    ssize_t count = ::recv(peer, buffer, sizeof buffer, 0);
    if (count <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  return bytes;
}

bool eventually(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace dravin::test
