#include "socket.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "file.h"
#include "test_support.h"

using namespace dravin;

namespace {

std::size_t openDescriptors() {
  std::size_t count = 0;
  for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

}  // namespace

TEST(Socket, ListenerErrorsAndPorts) {
  auto first = Socket::openListener(0, true, 8, std::nullopt);
  std::uint16_t port = first->localPort();
  EXPECT_GT(port, 0);
  EXPECT_TRUE(first->isIpv4Bound());

  std::size_t before = openDescriptors();
  try {
    Socket::openListener(port, true, 8, std::nullopt);
    FAIL() << "a second listener on a port in use must fail";
  } catch (const SocketError& error) {
    EXPECT_EQ(error.kind(), SocketError::Kind::bindFailed);
    EXPECT_EQ(error.description(), "bindFailed(\"Address already in use\")");
  }
  EXPECT_EQ(openDescriptors(), before) << "the half-made descriptor is closed";

  {  // a mistyped address fails instead of listening everywhere
    EXPECT_THROW(Socket::openListener(0, true, 8, std::string("127.0.0.300")), SocketError);
  }
  {  // no address: loopback only
    auto listener = Socket::openListener(0, false, 8, std::nullopt);
    EXPECT_FALSE(listener->isIpv4Bound());
  }
}

TEST(Socket, CloseIsIdempotent) {
  std::size_t before = openDescriptors();
  auto listener = Socket::openListener(0, true, 8, std::nullopt);
  listener->close();
  listener->close();
  EXPECT_TRUE(listener->isShutdown());
  EXPECT_EQ(openDescriptors(), before);
  listener.reset();  // destroying after close closes nothing else
  EXPECT_EQ(openDescriptors(), before);
}

TEST(Socket, ReadTextLine) {
  test::SocketPair pair;
  pair.send("GET / HTTP/1.1\r\nA\tB\r\n\xe9t\xe9\n");
  EXPECT_EQ(pair.socket->readTextLine(), "GET / HTTP/1.1");
  EXPECT_EQ(pair.socket->readTextLine(), "AB");
  EXPECT_EQ(pair.socket->readTextLine(), "\u00e9t\u00e9") << "bytes above 127 are Latin-1";

  pair.send(std::string(100, 'x') + "\n");
  EXPECT_EQ(pair.socket->readTextLine(50), std::nullopt);

  test::SocketPair closed;
  closed.send("partial");
  ::shutdown(closed.peer, SHUT_WR);
  EXPECT_THROW(closed.socket->readTextLine(), SocketError) << "end of stream before the line ends";
}

TEST(Socket, ReadExactlyAcrossPieces) {
  test::SocketPair pair;
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>(i % 251);
  std::thread writer([&] {
    pair.send("ab\n");
    for (std::size_t at = 0; at < bytes.size(); at += 700) pair.send(bytes.substr(at, 700));
  });
  EXPECT_EQ(pair.socket->readTextLine(), "ab");
  auto read = pair.socket->readExactly(3000);
  writer.join();
  EXPECT_EQ(std::string(read.begin(), read.end()), bytes);
  EXPECT_TRUE(pair.socket->readExactly(0).empty());
  EXPECT_TRUE(pair.socket->readExactly(-4).empty());

  pair.send("xy");
  ::shutdown(pair.peer, SHUT_WR);
  try {
    pair.socket->readExactly(3);
    FAIL() << "the peer ended before the third byte";
  } catch (const SocketError& error) {
    EXPECT_EQ(error.kind(), SocketError::Kind::recvFailed);
  }
}

TEST(Socket, WritesAndFilesToAClosedPeerFailWithoutSignal) {
  test::TempDir dir;
  auto path = dir.write("big.bin", std::string(4 << 20, 'z'));
  test::SocketPair pair;
  pair.closePeer();
  EXPECT_THROW(pair.socket->writeString("hello"), SocketError);
  File file = File::openRead(path);
  try {
    pair.socket->sendFile(file);
    FAIL() << "sendfile to a closed peer must fail";
  } catch (const SocketError& error) {
    EXPECT_EQ(error.kind(), SocketError::Kind::writeFailed);
    EXPECT_TRUE(error.text().starts_with("sendfile: ")) << error.text();
  }
}
