#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "http_server.h"
#include "socket.h"

namespace dravin::test {

struct CommandResult {
  int exitCode = -1;
  std::string output;  // standard output only
};

// Runs a shell command and collects its standard output.
CommandResult run(const std::string& command);

// A fresh folder under the system's temp folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path write(const std::string& relative, const std::string& bytes) const;

 private:
  std::filesystem::path path_;
};

// "/tmp/x/a.png" -> "@@tmp@@x@@a.png", the one-segment form the file route takes.
std::string atPath(const std::filesystem::path& path);

// Starts a server on a port the system picks, stops it on destruction and waits for its threads.
class RunningServer {
 public:
  explicit RunningServer(std::shared_ptr<HttpServer> server);
  ~RunningServer();
  HttpServer& operator*() const { return *server_; }
  HttpServer* operator->() const { return server_.get(); }
  std::uint16_t port() const { return port_; }
  std::string url(const std::string& path) const;

 private:
  std::shared_ptr<HttpServer> server_;
  std::uint16_t port_;
};

// A bare TCP client for what no ready-made client sends: malformed or oversized requests.
class RawConnection {
 public:
  explicit RawConnection(std::uint16_t port);
  ~RawConnection();
  void send(const std::string& bytes);  // returns quietly if the server has already closed
  std::string receiveUntilClosed();     // everything until the server closes (bounded wait)
  std::string receiveHead();            // up to and including the blank line
  std::vector<std::uint8_t> receive(std::size_t count);
  int descriptor() const { return descriptor_; }

 private:
  int descriptor_;
};

// Both ends of a connected pair: the test writes on `peer`, the code under test uses `socket`.
struct SocketPair {
  SocketPair();
  ~SocketPair();
  void send(const std::string& bytes) const;
  void closePeer();                // the peer is gone: reads see the end of the stream
  std::string receiveAll() const;  // what the code under test wrote, once it closed
  std::shared_ptr<Socket> socket;
  int peer;
};

// Polls a condition until it holds or the time is up.
bool eventually(const std::function<bool()>& condition,
                std::chrono::milliseconds timeout = std::chrono::seconds(5));

}  // namespace dravin::test
