#include "websocket.h"

#include <gtest/gtest.h>

#include <mutex>

#include "test_support.h"

using namespace dravin;
using namespace std::string_literals;

namespace {

// A client frame: masked, as every client frame must be.
std::string clientFrame(int firstByte, const std::string& payload, bool masked = true) {
  std::string frame(1, static_cast<char>(firstByte));
  std::uint8_t mask = masked ? 0x80 : 0;
  if (payload.size() < 126) {
    frame += static_cast<char>(mask | payload.size());
  } else {
    frame += static_cast<char>(mask | 126);
    frame += static_cast<char>(payload.size() >> 8);
    frame += static_cast<char>(payload.size() & 0xFF);
  }
  const char key[4] = {0x12, 0x34, 0x56, 0x78};
  if (masked) frame.append(key, 4);
  for (std::size_t i = 0; i < payload.size(); ++i)
    frame += masked ? static_cast<char>(payload[i] ^ key[i % 4]) : payload[i];
  return frame;
}

// Runs a session over a socket pair on the given client bytes; returns what it printed and wrote.
struct SessionRun {
  std::vector<std::string> texts;
  std::string printed;
  std::string written;
  bool connected = false, disconnected = false;
};

SessionRun runSession(const std::string& clientBytes) {
  SessionRun result;
  test::SocketPair pair;
  pair.send(clientBytes);
  pair.closePeer();
  WebSocketCallbacks callbacks;
  callbacks.text = [&](const SessionPtr&, const std::string& text) {
    result.texts.push_back(text);
  };
  callbacks.connected = [&](const SessionPtr&) { result.connected = true; };
  callbacks.disconnected = [&](const SessionPtr&) { result.disconnected = true; };
  testing::internal::CaptureStdout();
  runWebSocketSession(pair.socket, callbacks);
  result.printed = testing::internal::GetCapturedStdout();
  return result;
}

std::string serverFrameHeader(std::size_t length) {
  test::SocketPair pair;
  WebSocketSession session(pair.socket);
  session.sendBinary(std::vector<std::uint8_t>(length, 7));
  pair.socket->close();
  std::string written = pair.receiveAll();
  EXPECT_EQ(written.substr(written.size() - length), std::string(length, 7));
  return written.substr(0, written.size() - length);
}

}  // namespace

TEST(WebSocket, AcceptKeyOfTheRfcSample) {
  EXPECT_EQ(websocketAccept("dGhlIHNhbXBsZSBub25jZQ=="), "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=");
}

TEST(WebSocket, FrameWriterLengths) {
  EXPECT_EQ(serverFrameHeader(0), "\x82\x00"s);
  EXPECT_EQ(serverFrameHeader(125), "\x82\x7d"s);
  EXPECT_EQ(serverFrameHeader(126), "\x82\x7e\x00\x7e"s);
  EXPECT_EQ(serverFrameHeader(65535), "\x82\x7e\xff\xff"s);
  EXPECT_EQ(serverFrameHeader(65536), "\x82\x7f\x00\x00\x00\x00\x00\x01\x00\x00"s);
}

TEST(WebSocket, SessionMessages) {
  {  // fragments are joined into one message; pings are answered with the same payload
    auto run =
        runSession(clientFrame(0x01, "Hel") + clientFrame(0x89, "pi") + clientFrame(0x80, "lo") +
                   clientFrame(0x81, "caf\xc3\xa9") + clientFrame(0x88, ""));
    EXPECT_EQ(run.texts, (std::vector<std::string>{"Hello", "caf\u00e9"}));
    EXPECT_TRUE(run.connected);
    EXPECT_TRUE(run.disconnected);
    EXPECT_EQ(run.printed, "") << "a normal close prints nothing";
  }
  {  // a zero byte ends the text
    EXPECT_EQ(runSession(clientFrame(0x81, "ab\0cd"s)).texts, (std::vector<std::string>{"ab"}));
  }
}

TEST(WebSocket, ProtocolErrorsEndTheSession) {
  struct Case {
    std::string bytes;
    std::string printed;
  };
  std::vector<Case> cases{
      {clientFrame(0x81, "hi", false), "Unmasked frame: "},
      {clientFrame(0x89, std::string(126, 'p')), "Protocol error: "},
      {clientFrame(0x83, "x"), "Unknown Op Code: unknownOpCode(\"3\")"},
      {clientFrame(0xC1, "x"), "Protocol error: "},  // a reserved bit
      {clientFrame(0x09, "x"), "Protocol error: "},  // a fragmented control frame
      {clientFrame(0x81, "\xc3\x28"), "Invalid UTF8 character: "},
      {clientFrame(0x01, "a") + clientFrame(0x81, "b"),
       "Protocol error: "},  // a new message mid-message
      // a frame declaring more than the server takes, with no payload sent at all
      {"\x82\xff\x00\x00\x00\x00\x01\x00\x00\x01"s, "Protocol error: "},
  };
  for (const auto& c : cases) {
    auto run = runSession(c.bytes + clientFrame(0x81, "after"));
    EXPECT_TRUE(run.texts.empty()) << "nothing is read after " << c.printed;
    EXPECT_NE(run.printed.find(c.printed), std::string::npos) << run.printed;
    EXPECT_TRUE(run.disconnected);
  }
}

TEST(WebSocket, PeerVanishingMidFrame) {
  auto run = runSession(clientFrame(0x81, "complete") + "\x81\x85\x01"s);
  EXPECT_EQ(run.texts, (std::vector<std::string>{"complete"}));
  EXPECT_NE(run.printed.find("recvFailed"), std::string::npos) << run.printed;
  EXPECT_TRUE(run.disconnected);
}

TEST(WebSocket, HandshakeOverHttp) {
  auto server = std::make_shared<HttpServer>();
  (*server)["/ws"] = websocketHandler({});
  test::RunningServer running(std::move(server));
  auto handshake = [&](const std::string& headers) {
    test::RawConnection connection(running.port());
    connection.send("GET /ws HTTP/1.1\r\nHost: localhost\r\n" + headers + "\r\n");
    return connection.receiveHead();
  };
  auto accepted = handshake(
      "Upgrade: websocket\r\nConnection: keep-alive, Upgrade\r\nSec-WebSocket-Key: "
      "dGhlIHNhbXBsZSBub25jZQ==\r\n");
  EXPECT_TRUE(accepted.starts_with("HTTP/1.1 101 Switching Protocols\r\n")) << accepted;
  EXPECT_NE(accepted.find("Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n"),
            std::string::npos);
  EXPECT_NE(accepted.find("Upgrade: WebSocket\r\n"), std::string::npos);

  EXPECT_TRUE(handshake("Connection: Upgrade\r\nSec-WebSocket-Key: x\r\n")
                  .starts_with("HTTP/1.1 400 Bad Request"));
  test::RawConnection missingKey(running.port());
  missingKey.send("GET /ws HTTP/1.1\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n\r\n");
  auto refused = missingKey.receiveHead();
  auto body = missingKey.receive(200);
  EXPECT_TRUE(refused.starts_with("HTTP/1.1 400 Bad Request")) << refused;
  EXPECT_EQ(std::string(body.begin(), body.end()).substr(0, 54),
            "Invalid value of 'Sec-Websocket-Key' header: unknown");
}

// The session as a real client sees it: Node's ws package.
class WebSocketClient : public testing::Test {
 protected:
  void SetUp() override {
    auto server = std::make_shared<HttpServer>();
    WebSocketCallbacks callbacks;
    callbacks.text = [this](const SessionPtr& session, const std::string& text) {
      record("text:" + text);
      session->sendText(text);
    };
    callbacks.binary = [this](const SessionPtr& session, const std::vector<std::uint8_t>& bytes) {
      record("binary:" + std::to_string(bytes.size()));
      session->sendBinary(bytes);
    };
    callbacks.disconnected = [this](const SessionPtr&) { record("disconnected"); };
    (*server)["/echo"] = websocketHandler(callbacks);
    running_ = std::make_unique<test::RunningServer>(std::move(server));
  }

  std::string client(const std::string& scenario) {
    auto url = "ws://127.0.0.1:" + std::to_string(running_->port()) + "/echo";
    auto result =
        test::run("node " DRAVIN_SOURCE_DIR "/tests/server/ws_client.mjs " + url + " " + scenario);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    return result.output;
  }

  void record(const std::string& event) {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
  }
  std::vector<std::string> events() {
    EXPECT_TRUE(test::eventually([&] { return running_->operator*().connectionCount() == 0; }));
    std::lock_guard lock(mutex_);
    return events_;
  }

  std::unique_ptr<test::RunningServer> running_;
  std::mutex mutex_;
  std::vector<std::string> events_;
};

TEST_F(WebSocketClient, FragmentedTextReachesTheCallbackOnce) {
  EXPECT_EQ(client("fragments"), "echo:Hello\nclosed:1005\n");
  EXPECT_EQ(events(), (std::vector<std::string>{"text:Hello", "disconnected"}));
}

TEST_F(WebSocketClient, BinaryPingAndLargeMessages) {
  EXPECT_EQ(client("binary"), "echo-bytes:0,1,2,255\npong:abc\necho-length:100000\nclosed:1005\n");
  EXPECT_EQ(events(), (std::vector<std::string>{"binary:4", "binary:100000", "disconnected"}));
}
