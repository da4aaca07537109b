#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "http_router.h"
#include "socket.h"

namespace dravin {

enum class OpCode : std::uint8_t {
  continuation = 0x0,
  text = 0x1,
  binary = 0x2,
  close = 0x8,
  ping = 0x9,
  pong = 0xA,
};

struct Frame {
  OpCode opcode = OpCode::close;
  bool fin = false;
  std::uint8_t rsv1 = 0, rsv2 = 0, rsv3 = 0;
  std::vector<std::uint8_t> payload;
};

class WsError : public std::exception {
 public:
  enum class Kind { unknownOpCode, unMaskedFrame, protocolError, invalidUTF8 };
  WsError(Kind kind, std::string text);
  Kind kind() const { return kind_; }
  const std::string& description() const { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  Kind kind_;
  std::string description_;
};

class WebSocketSession {
 public:
  explicit WebSocketSession(std::shared_ptr<Socket> connection) : socket(std::move(connection)) {}

  Frame receiveFrame();  // throws WsError or SocketError
  // Safe from any thread: a frame leaves whole, never interleaved with another.
  // A write failure is not reported; the read side sees the broken connection.
  void sendFrame(std::span<const std::uint8_t> bytes, OpCode opcode, bool fin = true);
  void sendText(std::string_view text);
  void sendBinary(std::span<const std::uint8_t> bytes);
  void sendClose();

  const std::shared_ptr<Socket> socket;

 private:
  std::mutex writeMutex_;
};

using SessionPtr = std::shared_ptr<WebSocketSession>;

struct WebSocketCallbacks {
  std::function<void(const SessionPtr&, const std::string&)> text;
  std::function<void(const SessionPtr&, const std::vector<std::uint8_t>&)> binary;
  std::function<void(const SessionPtr&, const std::vector<std::uint8_t>&)> pong;
  std::function<void(const SessionPtr&)> connected;
  std::function<void(const SessionPtr&)> disconnected;
};

// The handshake handler for a route: answers 101 and then runs the session on the connection.
Handler websocketHandler(WebSocketCallbacks callbacks);
std::string websocketAccept(std::string_view key);
// Reads frames until the peer closes or breaks the protocol; returns when the session ends.
void runWebSocketSession(const std::shared_ptr<Socket>& socket,
                         const WebSocketCallbacks& callbacks);

}  // namespace dravin
