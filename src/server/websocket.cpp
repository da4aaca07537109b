#include "websocket.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "base64.h"
#include "server_limits.h"
#include "sha1.h"
#include "text.h"

namespace dravin {

namespace {

struct CloseRequested {};

const char* kindName(WsError::Kind kind) {
  switch (kind) {
    case WsError::Kind::unknownOpCode: return "unknownOpCode";
    case WsError::Kind::unMaskedFrame: return "unMaskedFrame";
    case WsError::Kind::protocolError: return "protocolError";
    case WsError::Kind::invalidUTF8: return "invalidUTF8";
  }
  return "unknown";
}

const char* logPrefix(WsError::Kind kind) {
  switch (kind) {
    case WsError::Kind::unknownOpCode: return "Unknown Op Code: ";
    case WsError::Kind::unMaskedFrame: return "Unmasked frame: ";
    case WsError::Kind::invalidUTF8: return "Invalid UTF8 character: ";
    case WsError::Kind::protocolError: return "Protocol error: ";
  }
  return "";
}

[[noreturn]] void protocolError(const char* text) {
  throw WsError(WsError::Kind::protocolError, text);
}

std::uint64_t readBigEndian(Socket& socket, int bytes) {
  std::uint64_t value = 0;
  for (int i = 0; i < bytes; ++i) value = (value << 8) | socket.readByte();
  return value;
}

class SessionLoop {
 public:
  SessionLoop(const SessionPtr& session, const WebSocketCallbacks& callbacks)
      : session_(session), callbacks_(callbacks) {}

  void handle(Frame& frame) {
    switch (frame.opcode) {
      case OpCode::continuation:
        if (pending_ == OpCode::close) {
          // Nothing to continue: the peer broke the protocol, end without a reply.
          session_->socket->close();
          throw CloseRequested{};
        }
        frame.opcode = pending_;
        if (frame.fin) {
          append(frame.payload);
          frame.payload = std::move(buffer_);
          buffer_.clear();
          pending_ = OpCode::close;
        }
        return handle(frame);
      case OpCode::text:
        if (!callbacks_.text) return;
        if (!frame.fin) return keep(frame);
        if (!buffer_.empty())
          protocolError("Continuing fragmented frame cannot have an operation code.");
        return callbacks_.text(session_, decodeText(frame.payload));
      case OpCode::binary:
        if (!callbacks_.binary) return;
        if (!frame.fin) return keep(frame);
        if (!buffer_.empty())
          protocolError("Continuing fragmented frame cannot have an operation code.");
        return callbacks_.binary(session_, frame.payload);
      case OpCode::close: throw CloseRequested{};
      case OpCode::ping:
        if (frame.payload.size() > 125) protocolError("Payload gretter than 125 octets.");
        return session_->sendFrame(frame.payload, OpCode::pong);
      case OpCode::pong:
        if (callbacks_.pong) callbacks_.pong(session_, frame.payload);
        return;
    }
  }

 private:
  void keep(const Frame& frame) {
    append(frame.payload);
    pending_ = frame.opcode;
  }

  void append(const std::vector<std::uint8_t>& payload) {
    if (buffer_.size() + payload.size() > limits::kMaxFrame) {
      protocolError("Message is larger than the server accepts.");
    }
    buffer_.insert(buffer_.end(), payload.begin(), payload.end());
  }

  static std::string decodeText(const std::vector<std::uint8_t>& payload) {
    auto end = std::find(payload.begin(), payload.end(), 0);
    std::string text(payload.begin(), end);
    if (!text::isValidUtf8(text)) throw WsError(WsError::Kind::invalidUTF8, "");
    return text;
  }

  const SessionPtr& session_;
  const WebSocketCallbacks& callbacks_;
  OpCode pending_ = OpCode::close;  // close stands for "no fragmented message"
  std::vector<std::uint8_t> buffer_;
};

}  // namespace

WsError::WsError(Kind kind, std::string text) : kind_(kind) {
  description_ = std::string(kindName(kind)) + "(\"" + text + "\")";
}

Frame WebSocketSession::receiveFrame() {
  Frame frame;
  std::uint8_t first = socket->readByte();
  frame.fin = (first & 0x80) != 0;
  frame.rsv1 = first & 0x40;
  frame.rsv2 = first & 0x20;
  frame.rsv3 = first & 0x10;
  if (frame.rsv1 || frame.rsv2 || frame.rsv3)
    protocolError("Reserved frame bit has not been negociated.");

  int opcode = first & 0x0F;
  switch (opcode) {
    case 0x0:
    case 0x1:
    case 0x2:
    case 0x8:
    case 0x9:
    case 0xA: frame.opcode = static_cast<OpCode>(opcode); break;
    default: throw WsError(WsError::Kind::unknownOpCode, std::to_string(opcode));
  }
  bool control =
      frame.opcode == OpCode::close || frame.opcode == OpCode::ping || frame.opcode == OpCode::pong;
  if (control && !frame.fin) protocolError("Control frames must not be fragmented.");

  std::uint8_t second = socket->readByte();
  if (!(second & 0x80)) {
    throw WsError(WsError::Kind::unMaskedFrame,
                  "A client must mask all frames that it sends to the server.");
  }
  std::uint64_t length = second & 0x7F;
  if (length == 126) length = readBigEndian(*socket, 2);
  if (length == 127) length = readBigEndian(*socket, 8);
  // Checked before anything is allocated for the payload.
  if (length > limits::kMaxFrame) protocolError("Frame is larger than the server accepts.");

  auto mask = socket->readExactly(4);
  frame.payload = socket->readExactly(static_cast<long long>(length));
  for (std::size_t i = 0; i < frame.payload.size(); ++i) frame.payload[i] ^= mask[i % 4];
  return frame;
}

void WebSocketSession::sendFrame(std::span<const std::uint8_t> bytes, OpCode opcode, bool fin) {
  std::vector<std::uint8_t> header{
      static_cast<std::uint8_t>((fin ? 0x80 : 0) | static_cast<int>(opcode))};
  std::uint64_t length = bytes.size();
  if (length < 126) {
    header.push_back(static_cast<std::uint8_t>(length));
  } else {
    int lengthBytes = length <= 0xFFFF ? 2 : 8;
    header.push_back(lengthBytes == 2 ? 126 : 127);
    for (int shift = (lengthBytes - 1) * 8; shift >= 0; shift -= 8) {
      header.push_back(static_cast<std::uint8_t>(length >> shift));
    }
  }
  std::lock_guard lock(writeMutex_);
  try {
    socket->writeBytes(header, !bytes.empty());
    socket->writeBytes(bytes);
  } catch (const SocketError&) {
  }
}

void WebSocketSession::sendText(std::string_view text) {
  sendFrame({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, OpCode::text);
}

void WebSocketSession::sendBinary(std::span<const std::uint8_t> bytes) {
  sendFrame(bytes, OpCode::binary);
}

void WebSocketSession::sendClose() {
  sendFrame({}, OpCode::close);
}

std::string websocketAccept(std::string_view key) {
  auto digest = sha1(std::string(key) + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11");
  return base64Encode(digest);
}

void runWebSocketSession(const std::shared_ptr<Socket>& socket,
                         const WebSocketCallbacks& callbacks) {
  auto session = std::make_shared<WebSocketSession>(socket);
  if (callbacks.connected) callbacks.connected(session);
  SessionLoop loop(session, callbacks);
  try {
    for (;;) {
      Frame frame = session->receiveFrame();
      loop.handle(frame);
    }
  } catch (const CloseRequested&) {
  } catch (const WsError& error) {
    std::cout << logPrefix(error.kind()) << error.description() << std::endl;
  } catch (const SocketError& error) {
    std::cout << error.description() << std::endl;
  }
  session->sendClose();
  if (callbacks.disconnected) callbacks.disconnected(session);
}

Handler websocketHandler(WebSocketCallbacks callbacks) {
  return [callbacks = std::move(callbacks)](HttpRequest& request) {
    auto headerOrUnknown = [&](const char* name) {
      return request.header(name).value_or("unknown");
    };
    if (!request.headerHasToken("upgrade", "websocket")) {
      return HttpResponse::badRequest(HttpResponseBody::text("Invalid value of 'Upgrade' header: " +
                                                             headerOrUnknown("upgrade")));
    }
    if (!request.headerHasToken("connection", "upgrade")) {
      return HttpResponse::badRequest(HttpResponseBody::text(
          "Invalid value of 'Connection' header: " + headerOrUnknown("connection")));
    }
    auto key = request.header("sec-websocket-key");
    if (!key) {
      return HttpResponse::badRequest(
          HttpResponseBody::text("Invalid value of 'Sec-Websocket-Key' header: unknown"));
    }
    HeaderMap headers{{"Upgrade", "WebSocket"},
                      {"Connection", "Upgrade"},
                      {"Sec-WebSocket-Accept", websocketAccept(*key)}};
    return HttpResponse::switchProtocols(headers,
                                         [callbacks](const std::shared_ptr<Socket>& socket) {
                                           runWebSocketSession(socket, callbacks);
                                         });
  };
}

}  // namespace dravin
