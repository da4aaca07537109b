#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_set>

#include "http_request.h"
#include "http_response.h"
#include "http_router.h"
#include "socket.h"

namespace dravin {

enum class HttpServerIOState : std::int32_t {
  starting = 0,
  running = 1,
  stopping = 2,
  stopped = 3
};

// Thread priorities of the accept loop and the connection workers, honoured as thread niceness.
enum class QueuePriority { userInteractive, userInitiated, standard, utility, background };

class HttpServerIODelegate {
 public:
  virtual ~HttpServerIODelegate() = default;
  virtual void connectionUpgraded(const std::shared_ptr<Socket>& socket) = 0;
};

// Owns the listening socket, accepts connections and serves each on a thread of its own. The
// accept loop holds the server while it runs, so a running server outlives its last outside
// reference until it is stopped; it must therefore be owned by a shared_ptr.
class HttpServerIO : public std::enable_shared_from_this<HttpServerIO> {
 public:
  struct Selection {
    StringMap params;
    Handler handler;
  };

  HttpServerIO() = default;
  HttpServerIO(const HttpServerIO&) = delete;
  HttpServerIO& operator=(const HttpServerIO&) = delete;
  virtual ~HttpServerIO();

  void start(std::uint16_t port, bool ipv4Only = true,
             QueuePriority priority = QueuePriority::standard);
  void stop();

  std::uint16_t localPort() const;
  bool isIpv4Bound() const;
  HttpServerIOState currentState() const {
    return static_cast<HttpServerIOState>(stateValue_.load());
  }
  bool isRunning() const { return currentState() == HttpServerIOState::running; }
  std::size_t connectionCount() const;
  // Waits until no connection worker is left, at most the given time; true when none is.
  bool waitForConnections(std::chrono::milliseconds timeout) const;

  virtual Selection selectHandler(HttpRequest& request);

  std::weak_ptr<HttpServerIODelegate> delegate;
  std::optional<std::string> listenAddressIPv4;
  std::optional<std::string> listenAddressIPv6;

 protected:
  // The port the listener is bound to, read once at start; 0 while not started.
  std::uint16_t boundPort() const { return boundPort_.load(); }

 private:
  void setState(HttpServerIOState state);
  void acceptLoop(Socket& listener);
  void serveConnection(const std::shared_ptr<Socket>& socket);
  void serveRequests(const std::shared_ptr<Socket>& socket);
  HttpResponse respond(HttpRequest& request);
  bool writeResponse(Socket& socket, const HttpResponse& response, bool keepAlive);
  bool addConnection(const std::shared_ptr<Socket>& socket);
  void removeConnection(const std::shared_ptr<Socket>& socket);

  std::shared_ptr<Socket> socket_ = std::make_shared<Socket>(-1);
  std::atomic<std::int32_t> stateValue_{static_cast<std::int32_t>(HttpServerIOState::stopped)};
  std::atomic<std::uint16_t> boundPort_{0};

  mutable std::mutex socketsMutex_;  // guards sockets_ and workers_
  mutable std::condition_variable workersDone_;
  std::unordered_set<std::shared_ptr<Socket>, SocketHash, SocketEqual> sockets_;
  std::size_t workers_ = 0;
};

}  // namespace dravin
