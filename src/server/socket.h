#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace dravin {

class File;

class SocketError : public std::exception {
 public:
  enum class Kind {
    socketCreationFailed,
    socketSettingReUseAddrFailed,
    bindFailed,
    listenFailed,
    writeFailed,
    getPeerNameFailed,
    getNameInfoFailed,
    acceptFailed,
    recvFailed,
    getSockNameFailed,
    convertingPeerNameFailed,
  };

  SocketError(Kind kind, std::string text, int code = 0);
  Kind kind() const { return kind_; }
  int code() const { return code_; }  // errno at the failure, 0 when there was none
  const std::string& text() const { return text_; }
  // The case name, then the text in quotes inside parentheses: bindFailed("Address already in
  // use").
  const std::string& description() const { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  Kind kind_;
  int code_;
  std::string text_;
  std::string description_;
};

// Owns one stream-socket descriptor. Reads go through a small buffer kept in the socket itself,
// so bytes a client sent ahead (a pipelined request, a WebSocket frame right after the upgrade)
// stay with the connection whoever reads next.
class Socket {
 public:
  explicit Socket(int descriptor) : descriptor_(descriptor) {}
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  ~Socket();

  // No bind address means the loopback address of the family; "0.0.0.0" or "::" listen everywhere.
  static std::shared_ptr<Socket> openListener(std::uint16_t port, bool ipv4Only, int backlog,
                                              const std::optional<std::string>& bindAddress);
  std::shared_ptr<Socket> acceptConnection();

  // Idempotent. Shuts the connection down first so a thread blocked on it wakes up.
  void close();
  // Wakes a thread blocked in a read or accept on this socket; the owner still closes it.
  void interrupt();
  bool isShutdown() const { return shutdown_.load(); }
  int descriptor() const { return descriptor_; }

  std::uint16_t localPort() const;
  bool isIpv4Bound() const;
  std::string peerAddress() const;

  // `more` tells the system that further bytes follow at once, so a header and its body can
  // leave in one packet.
  void writeString(std::string_view text, bool more = false);
  void writeBytes(std::span<const std::uint8_t> bytes, bool more = false);
  void sendFile(File& file);

  std::uint8_t readByte();
  std::vector<std::uint8_t> readExactly(long long length);
  // Bytes 14 and above are kept (as Latin-1 characters), all others dropped; the line ends at LF.
  // None when more than maxLength bytes arrive without a line feed.
  std::optional<std::string> readTextLine(std::size_t maxLength = SIZE_MAX);

  bool operator==(const Socket& other) const { return descriptor_ == other.descriptor_; }

 private:
  void fillBuffer();

  const int descriptor_;
  std::atomic<bool> shutdown_{false};
  std::array<std::uint8_t, 4096> buffer_{};
  std::size_t bufferStart_ = 0;
  std::size_t bufferEnd_ = 0;
};

struct SocketHash {
  std::size_t operator()(const std::shared_ptr<Socket>& s) const {
    return static_cast<std::uint32_t>(s->descriptor());
  }
};
struct SocketEqual {
  bool operator()(const std::shared_ptr<Socket>& a, const std::shared_ptr<Socket>& b) const {
    return *a == *b;
  }
};

}  // namespace dravin
