// Feeds arbitrary bytes to the request reader, as one connection's worth of requests.
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

#include "http_parser.h"
#include "socket.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return 0;
  int bufferSize = 1 << 20;
  ::setsockopt(ends[1], SOL_SOCKET, SO_SNDBUF, &bufferSize, sizeof bufferSize);
  if (::send(ends[1], data, size, MSG_NOSIGNAL) != static_cast<ssize_t>(size)) {
    ::close(ends[0]);
    ::close(ends[1]);
    return 0;
  }
  ::close(ends[1]);
  dravin::Socket socket(ends[0]);
  try {
    for (;;) {
      auto request = dravin::HttpParser::readRequest(socket);
      request.headerHasToken("connection", "upgrade");
      request.parseFormFields();
    }
  } catch (const dravin::SocketError&) {
  } catch (const dravin::HttpParserError&) {
  }
  return 0;
}
