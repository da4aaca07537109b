#include "http_server_io.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <system_error>
#include <thread>

#include "access_policy.h"
#include "file.h"
#include "http_parser.h"
#include "server_limits.h"

namespace dravin {

namespace {

void applyPriority(QueuePriority priority) {
  int nice = 0;
  if (priority == QueuePriority::utility) nice = 5;
  if (priority == QueuePriority::background) nice = 10;
  // Per thread on Linux; a failure leaves the inherited niceness, which only costs speed.
  ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), nice);
}

// Errors after which the listener is still good: the next accept may well succeed.
bool isTransientAcceptError(int code) {
  return code == EMFILE || code == ENFILE || code == ENOBUFS || code == ENOMEM ||
         code == ECONNABORTED || code == EPROTO || code == EPERM || code == EINTR;
}

void log(const std::string& line) {
  std::cout << line << std::endl;
}

class InnerWriteContext : public HttpResponseBodyWriter {
 public:
  explicit InnerWriteContext(Socket& socket) : socket_(socket) {}
  using HttpResponseBodyWriter::write;
  void write(File& file) override { socket_.sendFile(file); }
  void write(std::span<const std::uint8_t> bytes) override { socket_.writeBytes(bytes); }

 private:
  Socket& socket_;
};

// A detached thread with a small stack; throws std::system_error when none can be started.
void startWorker(std::function<void()> work) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, limits::kWorkerStack);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  auto* task = new std::function<void()>(std::move(work));
  pthread_t thread;
  int result = pthread_create(
      &thread, &attributes,
      [](void* argument) -> void* {
        std::unique_ptr<std::function<void()>> run(static_cast<std::function<void()>*>(argument));
        (*run)();
        return nullptr;
      },
      task);
  pthread_attr_destroy(&attributes);
  if (result != 0) {
    delete task;
    throw std::system_error(result, std::generic_category(), "pthread_create");
  }
}

}  // namespace

HttpServerIO::~HttpServerIO() {
  stop();
}

void HttpServerIO::setState(HttpServerIOState state) {
  auto current = stateValue_.load();
  stateValue_.compare_exchange_strong(current, static_cast<std::int32_t>(state));
}

void HttpServerIO::start(std::uint16_t port, bool ipv4Only, QueuePriority priority) {
  if (isRunning()) return;
  if (weak_from_this().expired()) {
    throw std::logic_error("A server must be owned by a std::shared_ptr before it starts");
  }
  stop();
  setState(HttpServerIOState::starting);

  auto listener = Socket::openListener(port, ipv4Only, limits::kListenBacklog,
                                       ipv4Only ? listenAddressIPv4 : listenAddressIPv6);
  try {
    boundPort_ = listener->localPort();
  } catch (...) {
    listener->close();
    throw;
  }
  {
    std::lock_guard lock(socketsMutex_);
    socket_ = listener;
  }
  setState(HttpServerIOState::running);

  std::weak_ptr<HttpServerIO> weakSelf = weak_from_this();
  try {
    startWorker([weakSelf, listener, priority] {
      applyPriority(priority);
      if (auto self = weakSelf.lock(); self && self->isRunning()) self->acceptLoop(*listener);
    });
  } catch (const std::system_error& error) {
    stop();
    throw SocketError(SocketError::Kind::listenFailed, error.what(), error.code().value());
  }
}

void HttpServerIO::acceptLoop(Socket& listener) {
  while (isRunning()) {
    std::shared_ptr<Socket> client;
    try {
      client = listener.acceptConnection();
    } catch (const SocketError& error) {
      if (!isRunning() || listener.isShutdown() || !isTransientAcceptError(error.code())) break;
      log("Accept failed: " + error.description());
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      continue;
    }
    std::weak_ptr<HttpServerIO> weakSelf = weak_from_this();
    try {
      // Workers inherit the accept loop's niceness.
      startWorker([weakSelf, client] {
        auto self = weakSelf.lock();
        if (self && self->isRunning()) self->serveConnection(client);
      });
    } catch (const std::system_error& error) {
      log(std::string("Failed to start a connection worker: ") + error.what());
      client->close();
    }
  }
  stop();
}

bool HttpServerIO::addConnection(const std::shared_ptr<Socket>& socket) {
  std::lock_guard lock(socketsMutex_);
  // Checked under the lock that stop() takes, so no connection slips in after stop() closed them.
  if (!isRunning()) return false;
  sockets_.insert(socket);
  ++workers_;
  return true;
}

void HttpServerIO::removeConnection(const std::shared_ptr<Socket>& socket) {
  std::lock_guard lock(socketsMutex_);
  sockets_.erase(socket);
  --workers_;
  workersDone_.notify_all();
}

void HttpServerIO::serveConnection(const std::shared_ptr<Socket>& socket) {
  if (!addConnection(socket)) {
    socket->close();
    return;
  }
  try {
    serveRequests(socket);
  } catch (const std::exception& error) {
    log(std::string("Connection closed after an error: ") + error.what());
  } catch (...) {
    log("Connection closed after an unknown error");
  }
  // Out of the set before the descriptor is freed: the set tells sockets apart by descriptor,
  // and the number may be handed to the next connection at once.
  removeConnection(socket);
  socket->close();
}

void HttpServerIO::serveRequests(const std::shared_ptr<Socket>& socket) {
  while (isRunning()) {
    HttpRequest request;
    try {
      request = HttpParser::readRequest(*socket);
    } catch (const SocketError&) {
      return;
    } catch (const HttpParserError&) {
      return;
    }
    try {
      request.address = socket->peerAddress();
    } catch (const SocketError&) {
      request.address = std::nullopt;
    }

    HttpResponse response = respond(request);
    bool keepAlive = HttpParser::wantsKeepAlive(request.headers);
    if (isRunning()) {
      try {
        keepAlive = writeResponse(*socket, response, keepAlive);
      } catch (const SocketError& error) {
        log("Failed to send response: " + error.description());
        return;  // a half-written response cannot be followed by another
      }
    }
    if (auto session = response.upgradeSession()) {
      if (auto listener = delegate.lock()) listener->connectionUpgraded(socket);
      session(socket);
      return;
    }
    if (!keepAlive) return;
  }
}

HttpResponse HttpServerIO::respond(HttpRequest& request) {
  if (!access::isAllowedHost(request)) return HttpResponse::forbidden();
  Selection selection = selectHandler(request);
  request.params = std::move(selection.params);
  if (!selection.handler) return HttpResponse::notFound();
  return selection.handler(request);
}

HttpServerIO::Selection HttpServerIO::selectHandler(HttpRequest&) {
  return {{}, [](HttpRequest&) { return HttpResponse::notFound(); }};
}

bool HttpServerIO::writeResponse(Socket& socket, const HttpResponse& response, bool keepAlive) {
  if (!isRunning()) return false;
  BodyContent content = response.bodyContent();
  bool staysOpen = keepAlive && content.length != -1;
  std::string head =
      "HTTP/1.1 " + std::to_string(response.code()) + " " + response.reason() + "\r\n";
  if (content.length >= 0) head += "Content-Length: " + std::to_string(content.length) + "\r\n";
  if (staysOpen) head += "Connection: keep-alive\r\n";
  // An HTTP/1.1 client assumes the connection stays open unless told; without this it would
  // send its next request into a closing socket.
  if (!staysOpen && !response.upgradeSession()) head += "Connection: close\r\n";
  for (const auto& [name, value] : response.headerMap()) head += name + ": " + value + "\r\n";
  head += "\r\n";
  socket.writeString(head, content.writer && content.length != 0);
  if (content.writer) {
    InnerWriteContext context(socket);
    content.writer(context);
  }
  return staysOpen;
}

void HttpServerIO::stop() {
  if (!isRunning()) return;
  setState(HttpServerIOState::stopping);
  std::shared_ptr<Socket> listener;
  {
    std::lock_guard lock(socketsMutex_);
    // Shut down, not closed: each worker closes its own descriptor, so a number freed here
    // cannot be reused by a new connection while a worker still reads from it.
    for (const auto& socket : sockets_) socket->interrupt();
    sockets_.clear();
    listener = socket_;
  }
  listener->close();
  setState(HttpServerIOState::stopped);
}

std::uint16_t HttpServerIO::localPort() const {
  std::lock_guard lock(socketsMutex_);
  return socket_->localPort();
}

bool HttpServerIO::isIpv4Bound() const {
  std::lock_guard lock(socketsMutex_);
  return socket_->isIpv4Bound();
}

std::size_t HttpServerIO::connectionCount() const {
  std::lock_guard lock(socketsMutex_);
  return workers_;
}

bool HttpServerIO::waitForConnections(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(socketsMutex_);
  return workersDone_.wait_for(lock, timeout, [this] { return workers_ == 0; });
}

}  // namespace dravin
