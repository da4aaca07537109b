#include "socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/sendfile.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <mutex>

#include "errno_text.h"
#include "file.h"

namespace dravin {

namespace {

const char* kindName(SocketError::Kind kind) {
  switch (kind) {
    case SocketError::Kind::socketCreationFailed: return "socketCreationFailed";
    case SocketError::Kind::socketSettingReUseAddrFailed: return "socketSettingReUseAddrFailed";
    case SocketError::Kind::bindFailed: return "bindFailed";
    case SocketError::Kind::listenFailed: return "listenFailed";
    case SocketError::Kind::writeFailed: return "writeFailed";
    case SocketError::Kind::getPeerNameFailed: return "getPeerNameFailed";
    case SocketError::Kind::getNameInfoFailed: return "getNameInfoFailed";
    case SocketError::Kind::acceptFailed: return "acceptFailed";
    case SocketError::Kind::recvFailed: return "recvFailed";
    case SocketError::Kind::getSockNameFailed: return "getSockNameFailed";
    case SocketError::Kind::convertingPeerNameFailed: return "convertingPeerNameFailed";
  }
  return "unknown";
}

[[noreturn]] void fail(SocketError::Kind kind) {
  int code = errno;
  throw SocketError(kind, Errno::lastErrorText(), code);
}

[[noreturn]] void failAndClose(SocketError::Kind kind, int descriptor) {
  int code = errno;
  std::string text = Errno::lastErrorText();
  ::close(descriptor);
  throw SocketError(kind, text, code);
}

}  // namespace

SocketError::SocketError(Kind kind, std::string text, int code)
    : kind_(kind), code_(code), text_(std::move(text)) {
  description_ = kindName(kind);
  if (kind != Kind::convertingPeerNameFailed) description_ += "(\"" + text_ + "\")";
}

Socket::~Socket() {
  close();
}

std::shared_ptr<Socket> Socket::openListener(std::uint16_t port, bool ipv4Only, int backlog,
                                             const std::optional<std::string>& bindAddress) {
  int family = ipv4Only ? AF_INET : AF_INET6;
  int descriptor = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (descriptor == -1) fail(SocketError::Kind::socketCreationFailed);
  int on = 1;
  if (::setsockopt(descriptor, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == -1) {
    failAndClose(SocketError::Kind::socketSettingReUseAddrFailed, descriptor);
  }

  sockaddr_storage address{};
  socklen_t length;
  void* hostField;
  if (ipv4Only) {
    auto* v4 = reinterpret_cast<sockaddr_in*>(&address);
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    v4->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    hostField = &v4->sin_addr;
    length = sizeof(sockaddr_in);
  } else {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    v6->sin6_addr = in6addr_loopback;
    hostField = &v6->sin6_addr;
    length = sizeof(sockaddr_in6);
  }
  // A mistyped address must not quietly become "every interface".
  if (bindAddress && ::inet_pton(family, bindAddress->c_str(), hostField) != 1) {
    ::close(descriptor);
    throw SocketError(SocketError::Kind::bindFailed, "Invalid listen address " + *bindAddress);
  }

  if (::bind(descriptor, reinterpret_cast<sockaddr*>(&address), length) == -1) {
    failAndClose(SocketError::Kind::bindFailed, descriptor);
  }
  if (::listen(descriptor, backlog) == -1)
    failAndClose(SocketError::Kind::listenFailed, descriptor);
  return std::make_shared<Socket>(descriptor);
}

std::shared_ptr<Socket> Socket::acceptConnection() {
  int client;
  do {
    client = ::accept4(descriptor_, nullptr, nullptr, SOCK_CLOEXEC);
  } while (client == -1 && errno == EINTR && !isShutdown());
  if (client == -1) fail(SocketError::Kind::acceptFailed);
  int on = 1;
  ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  return std::make_shared<Socket>(client);
}

void Socket::close() {
  if (descriptor_ < 0 || shutdown_.exchange(true)) return;
  ::shutdown(descriptor_, SHUT_RDWR);
  ::close(descriptor_);
}

void Socket::interrupt() {
  if (descriptor_ >= 0 && !isShutdown()) ::shutdown(descriptor_, SHUT_RDWR);
}

std::uint16_t Socket::localPort() const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address), &length) == -1) {
    fail(SocketError::Kind::getSockNameFailed);
  }
  // The port sits at the same place in both families.
  return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

bool Socket::isIpv4Bound() const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getsockname(descriptor_, reinterpret_cast<sockaddr*>(&address), &length) == -1) {
    fail(SocketError::Kind::getSockNameFailed);
  }
  return address.ss_family == AF_INET;
}

std::string Socket::peerAddress() const {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (::getpeername(descriptor_, reinterpret_cast<sockaddr*>(&address), &length) == -1) {
    fail(SocketError::Kind::getPeerNameFailed);
  }
  char host[1025];
  int result = ::getnameinfo(reinterpret_cast<sockaddr*>(&address), length, host, sizeof host,
                             nullptr, 0, NI_NUMERICHOST);
  if (result != 0) throw SocketError(SocketError::Kind::getNameInfoFailed, ::gai_strerror(result));
  return host;
}

void Socket::writeString(std::string_view text, bool more) {
  writeBytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, more);
}

void Socket::writeBytes(std::span<const std::uint8_t> bytes, bool more) {
  int flags = MSG_NOSIGNAL | (more ? MSG_MORE : 0);
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t result = ::send(descriptor_, bytes.data() + sent, bytes.size() - sent, flags);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) fail(SocketError::Kind::writeFailed);
    sent += static_cast<std::size_t>(result);
  }
}

void Socket::sendFile(File& file) {
  // Writes use MSG_NOSIGNAL, but sendfile has no such flag: a peer that vanishes mid-file
  // must not kill the process.
  static std::once_flag sigpipeIgnored;
  std::call_once(sigpipeIgnored, [] { std::signal(SIGPIPE, SIG_IGN); });
  auto size = file.size();
  off_t offset = 0;
  while (!size || offset < *size) {
    std::size_t chunk = size
                            ? static_cast<std::size_t>(std::min<long long>(*size - offset, 1 << 30))
                            : std::size_t{1} << 30;
    ssize_t result = ::sendfile(descriptor_, file.descriptor(), &offset, chunk);
    if (result < 0 && errno == EINTR) continue;
    if (result < 0) {
      throw SocketError(SocketError::Kind::writeFailed, "sendfile: " + Errno::lastErrorText());
    }
    if (result == 0) {
      if (!size) return;
      throw SocketError(SocketError::Kind::writeFailed, "sendfile: File ended before its size");
    }
  }
}

void Socket::fillBuffer() {
  ssize_t result;
  do {
    result = ::recv(descriptor_, buffer_.data(), buffer_.size(), 0);
  } while (result < 0 && errno == EINTR);
  if (result <= 0) {
    if (result == 0) errno = ECONNRESET;
    fail(SocketError::Kind::recvFailed);
  }
  bufferStart_ = 0;
  bufferEnd_ = static_cast<std::size_t>(result);
}

std::uint8_t Socket::readByte() {
  if (bufferStart_ == bufferEnd_) fillBuffer();
  return buffer_[bufferStart_++];
}

std::vector<std::uint8_t> Socket::readExactly(long long length) {
  if (length <= 0) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  std::size_t filled = std::min(bytes.size(), bufferEnd_ - bufferStart_);
  std::memcpy(bytes.data(), buffer_.data() + bufferStart_, filled);
  bufferStart_ += filled;
  while (filled < bytes.size()) {
    ssize_t result = ::recv(descriptor_, bytes.data() + filled, bytes.size() - filled, 0);
    if (result < 0 && errno == EINTR) continue;
    if (result <= 0) {
      if (result == 0) errno = ECONNRESET;
      fail(SocketError::Kind::recvFailed);
    }
    filled += static_cast<std::size_t>(result);
  }
  return bytes;
}

std::optional<std::string> Socket::readTextLine(std::size_t maxLength) {
  std::string line;
  for (std::size_t count = 1;; ++count) {
    if (count > maxLength) return std::nullopt;
    std::uint8_t byte = readByte();
    if (byte == 10) return line;
    if (byte < 14) continue;
    if (byte < 0x80) {
      line += static_cast<char>(byte);
    } else {
      line += static_cast<char>(0xC0 | (byte >> 6));
      line += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
}

}  // namespace dravin
