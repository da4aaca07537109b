// Runs a WebSocket session over arbitrary client bytes.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <iostream>

#include "websocket.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::cout.setstate(std::ios::failbit);  // the session's log lines would drown the fuzzer's
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return 0;
  int bufferSize = 1 << 20;
  ::setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof bufferSize);
  ::setsockopt(ends[0], SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof bufferSize);
  if (::send(ends[1], data, size, MSG_NOSIGNAL) != static_cast<ssize_t>(size)) {
    ::close(ends[0]);
    ::close(ends[1]);
    return 0;
  }
  ::shutdown(ends[1], SHUT_WR);
  dravin::WebSocketCallbacks callbacks;
  callbacks.text = [](const dravin::SessionPtr& session, const std::string& text) {
    session->sendText(text);
  };
  callbacks.binary = [](const dravin::SessionPtr&, const std::vector<std::uint8_t>&) {};
  dravin::runWebSocketSession(std::make_shared<dravin::Socket>(ends[0]), callbacks);
  ::close(ends[1]);
  return 0;
}
