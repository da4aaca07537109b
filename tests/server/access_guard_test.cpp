// The key of the file route: who is let through, what a refusal costs the log, and the real
// server over loopback refusing files and WebSocket upgrades without the key.
#include "access_guard.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <thread>

#include "http_server.h"
#include "lesson_routes.h"
#include "test_support.h"
#include "websocket.h"

using namespace dravin;
using namespace std::chrono_literals;

namespace {

const std::string kKey = "5f2c9a7e41b80d36e9c4a1f07b5d2e8c";

HttpRequest requestWith(StringPairs query, std::string path = "/files/@@etc@@passwd") {
  HttpRequest request;
  request.method = "GET";
  request.path = std::move(path);
  request.queryParams = std::move(query);
  request.address = "10.0.0.7";
  return request;
}

// A guard whose clock the test moves and whose reports it keeps.
struct WatchedGuard {
  std::chrono::steady_clock::time_point now{};
  std::mutex mutex;
  std::vector<std::string> lines;
  AccessGuard guard{kKey,
                    [this](const std::string& line) {
                      std::lock_guard lock(mutex);
                      lines.push_back(line);
                    },
                    [this] { return now; }};
};

}  // namespace

TEST(AccessGuard, OnlyTheWholeKeyAdmits) {
  const std::string key = newAccessKey();
  EXPECT_EQ(key.size(), 64u);
  EXPECT_EQ(key.find_first_not_of("0123456789abcdef"), std::string::npos) << key;
  std::set<std::string> keys{key};
  for (int i = 0; i < 20; ++i) keys.insert(newAccessKey());
  EXPECT_EQ(keys.size(), 21u) << "every key is new";

  EXPECT_TRUE(isUsableAccessKey(kKey));
  EXPECT_FALSE(isUsableAccessKey(kKey.substr(1))) << "below 128 bits";
  EXPECT_FALSE(isUsableAccessKey(kKey + "&x")) << "would need escaping in a URL";
  EXPECT_THROW(AccessGuard("short"), std::invalid_argument);

  AccessGuard guard(kKey);
  EXPECT_TRUE(guard.admits(requestWith({{"key", kKey}})));
  EXPECT_TRUE(guard.admits(requestWith({{"page", "2"}, {"key", kKey}})));
  std::string lastWrong = kKey;
  lastWrong.back() = '0';
  for (const StringPairs& query :
       {StringPairs{}, StringPairs{{"key", ""}}, StringPairs{{"key", lastWrong}},
        StringPairs{{"key", kKey.substr(0, 31)}}, StringPairs{{"key", kKey + "0"}},
        StringPairs{{"KEY", kKey}}, StringPairs{{"key", "x"}, {"key", kKey}},
        StringPairs{{"key" + kKey, ""}}}) {
    EXPECT_FALSE(guard.admits(requestWith(query)))
        << (query.empty() ? "no query" : query.back().first + "=" + query.back().second);
  }
}

TEST(AccessGuard, RefusalsReachTheLogOnceAMinute) {
  WatchedGuard watched;
  EXPECT_EQ(watched.guard.refuse(requestWith({{"key", "guessed"}})).code(), 403);
  ASSERT_EQ(watched.lines.size(), 1u);
  EXPECT_EQ(watched.lines[0],
            "Refused a request without the access key: GET /files/@@etc@@passwd from 10.0.0.7");

  for (auto later : {10s, 30s, 59s}) {
    watched.now = std::chrono::steady_clock::time_point{} + later;
    EXPECT_EQ(watched.guard.refuse(requestWith({})).code(), 403);
  }
  EXPECT_EQ(watched.lines.size(), 1u) << "quiet for a minute";

  watched.now = std::chrono::steady_clock::time_point{} + 61s;
  watched.guard.refuse(requestWith({}, "/files/\x1b[2J" + std::string(500, 'a')));
  ASSERT_EQ(watched.lines.size(), 2u);
  const std::string& second = watched.lines[1];
  EXPECT_NE(second.find(" (and 3 more since the last)"), std::string::npos) << second;
  EXPECT_NE(second.find("/files/?[2J"), std::string::npos) << "control bytes replaced: " << second;
  EXPECT_LT(second.size(), 320u) << "a long path is cut short";

  {  // many workers refusing at once still make no more than the one report
    watched.now += 120s;
    std::vector<std::thread> workers;
    for (int t = 0; t < 8; ++t) {
      workers.emplace_back([&] {
        for (int i = 0; i < 50; ++i) watched.guard.refuse(requestWith({{"key", kKey + "x"}}));
      });
    }
    for (auto& worker : workers) worker.join();
    ASSERT_EQ(watched.lines.size(), 3u);
    watched.now += 60s;
    watched.guard.refuse(requestWith({}));
    ASSERT_EQ(watched.lines.size(), 4u);
    EXPECT_NE(watched.lines[3].find("(and 399 more since the last)"), std::string::npos)
        << watched.lines[3];
  }
  for (const auto& line : watched.lines) {
    EXPECT_EQ(line.find(kKey), std::string::npos) << line;
    EXPECT_EQ(line.find("key="), std::string::npos) << "no query in a report: " << line;
    EXPECT_EQ(line.find('\n'), std::string::npos) << line;
  }
}

TEST(AccessGuard, ServerRefusesFilesAndUpgradesWithoutTheKey) {
  test::TempDir lessons;
  test::TempDir files;
  lessons.write("lesson1.html", "<p>lesson one</p>");
  auto picture = files.write("a.png", "picture bytes");
  auto server = std::make_shared<HttpServer>();
  registerStandardRoutes(*server, lessons.path(), std::make_shared<AccessGuard>(kKey));
  // Two segments: the lessons' "/:path" would take a one-segment route first.
  (*server)["/ws/echo"] = websocketHandler({});
  EXPECT_THROW(registerStandardRoutes(*server, lessons.path(), nullptr), std::invalid_argument);
  test::RunningServer running(std::move(server));

  auto status = [&](const std::string& target) {
    return test::run("curl -s -o /dev/null --max-time 10 -w '%{http_code}' '" +
                     running.url(target) + "'")
        .output;
  };
  auto upgrade = [&](const std::string& target) {
    test::RawConnection connection(running.port());
    connection.send("GET " + target +
                    " HTTP/1.1\r\nHost: localhost\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                    "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n\r\n");
    return connection.receiveHead();
  };
  const std::string file = "/files/" + test::atPath(picture);

  // Asked first and checked after: a failure printed while standard output is taken would be lost.
  testing::internal::CaptureStdout();
  const std::vector<std::string> answers{
      status(file),
      status(file + "?key=" + kKey.substr(0, 31) + "0"),
      status("/%66iles/" + test::atPath(picture)),
      upgrade("/ws/echo").substr(0, 13),
      upgrade("/lesson1.html").substr(0, 13),
      upgrade("/ws/echo?key=" + kKey).substr(0, 13),
      status(file + "?key=" + kKey),
      status("/"),
      status("/lesson1.html"),
  };
  const bool settled = test::eventually([&] { return running->connectionCount() == 0; });
  const std::string log = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(settled);
  EXPECT_EQ(answers, (std::vector<std::string>{"403",            // no key
                                               "403",            // a wrong key
                                               "403",            // the route spelt otherwise
                                               "HTTP/1.1 403 ",  // an upgrade without the key
                                               "HTTP/1.1 403 ",  // whatever its route
                                               "HTTP/1.1 101 ",  // an upgrade with the key
                                               "200",            // the file with the key
                                               "200",            // the welcome page stays open
                                               "200"}));         // and so do the lessons

  const std::string report = "Refused a request without the access key: ";
  const auto first = log.find(report);
  ASSERT_NE(first, std::string::npos) << log;
  EXPECT_EQ(log.find(report, first + 1), std::string::npos) << "one report a minute: " << log;
  EXPECT_EQ(log.find(kKey), std::string::npos) << log;
}
