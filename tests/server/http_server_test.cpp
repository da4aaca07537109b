// The server over loopback, spoken to by curl.
#include "http_server.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "access_guard.h"
#include "lesson_routes.h"
#include "test_support.h"

using namespace dravin;
using test::run;

namespace {

struct CurlResult {
  int status = 0;
  std::string headers;  // the raw header section
  std::string body;

  // The value of a response header, or "(none)".
  std::string header(const std::string& name) const {
    std::istringstream lines(headers);
    std::string line;
    while (std::getline(lines, line)) {
      if (line.size() > name.size() && line[name.size()] == ':' &&
          strncasecmp(line.c_str(), name.c_str(), name.size()) == 0) {
        std::string value = line.substr(name.size() + 2);
        if (!value.empty() && value.back() == '\r') value.pop_back();
        return value;
      }
    }
    return "(none)";
  }
};

CurlResult curl(const std::string& arguments) {
  test::TempDir out;
  auto command = "curl -sS --max-time 10 -D " + (out.path() / "h").string() + " -o " +
                 (out.path() / "b").string() + " -w '%{http_code}' " + arguments;
  auto result = run(command);
  auto slurp = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  return {std::atoi(result.output.c_str()), slurp(out.path() / "h"), slurp(out.path() / "b")};
}

// How many new connections curl opened for each of two requests: "1 0" when the second reused
// the first connection, "1 1" when the server had closed it.
std::string connectsForTwo(const std::string& url, const std::string& extra = "") {
  return run("curl -s --max-time 10 " + extra +
             " -o /dev/null -o /dev/null -w '%{num_connects} ' '" + url + "' '" + url + "'")
      .output;
}

// A server with the application's routes over a lesson folder, plus a text route.
struct FileServer {
  static constexpr const char* kKey = "0123456789abcdef0123456789abcdef";

  FileServer() : server(makeServer(lessons)) {}

  static std::shared_ptr<HttpServer> makeServer(const test::TempDir& lessons) {
    lessons.write("lesson1.html", "<p>lesson one</p>");
    lessons.write("a/page.html", "<p>a page</p>");
    lessons.write("a/b/deep.txt", "deep");
    lessons.write(".hidden/secret.txt", "secret");
    auto server = std::make_shared<HttpServer>();
    registerStandardRoutes(*server, lessons.path(), std::make_shared<AccessGuard>(kKey));
    server->GET["/hello"] = [](HttpRequest&) {
      return HttpResponse::ok(HttpResponseBody::text("hi"));
    };
    return server;
  }

  // The file route's address for a one-segment path, with the key, quoted for the shell.
  std::string fileUrl(const std::string& segment) const {
    return "'" + server.url("/files/" + segment) + "?key=" + kKey + "'";
  }

  test::TempDir lessons;
  test::TempDir files;
  test::RunningServer server;
};

}  // namespace

TEST(HttpServer, ServesFilesByAtPath) {
  FileServer f;
  std::string picture("\x89PNG\r\n\x1a\n\0\0binary", 16);
  auto png = f.files.write("a.PNG", picture);
  auto response = curl(f.fileUrl(test::atPath(png)));
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(response.header("Content-Type"), "image/png");
  EXPECT_EQ(response.header("Content-Length"), "16");
  EXPECT_EQ(response.header("Server"), "Dravin " PROJECT_VERSION_TEXT);
  EXPECT_EQ(response.body, picture);
  EXPECT_EQ(connectsForTwo(f.server.url("/files/" + test::atPath(png)) + "?key=" + f.kKey,
                           "-H 'Connection: keep-alive'"),
            "1 1 ")
      << "a file answer closes the connection whatever the client asked";

  auto unknown = f.files.write("data.unknownext", "x");
  EXPECT_EQ(curl(f.fileUrl(test::atPath(unknown))).header("Content-Type"),
            "application/octet-stream");
  auto spaced = f.files.write("my notes é.txt", "notes");
  auto escaped = curl(f.fileUrl(test::atPath(f.files.path()) + "@@my%20notes%20%C3%A9.txt"));
  EXPECT_EQ(escaped.body, "notes");
  EXPECT_EQ(escaped.header("Content-Type"), "text/plain");

  EXPECT_EQ(curl(f.fileUrl(test::atPath(f.files.path() / "missing.js"))).status, 404);
  EXPECT_EQ(curl(f.fileUrl(test::atPath(f.files.path()))).status, 404) << "a folder";
  EXPECT_EQ(curl(f.fileUrl("a/b.png")).status, 404) << "more than one segment";
}

TEST(HttpServer, LessonRoutesAndWelcomePage) {
  FileServer f;
  EXPECT_EQ(curl(f.server.url("/lesson1.html")).body, "<p>lesson one</p>");
  EXPECT_EQ(curl(f.server.url("/lesson1.html")).header("Content-Type"), "text/html");
  EXPECT_EQ(curl(f.server.url("/a/page.html")).body, "<p>a page</p>");
  EXPECT_EQ(curl(f.server.url("/a/b/deep.txt")).body, "deep");
  EXPECT_EQ(curl(f.server.url("/.hidden/secret.txt")).status, 404) << "hidden folders get no route";

  auto welcome = curl(f.server.url("/"));
  EXPECT_EQ(welcome.status, 200);
  EXPECT_EQ(welcome.header("Content-Type"), "text/html");
  EXPECT_TRUE(welcome.body.starts_with("<html><body><center><img src=\"")) << welcome.body;
  EXPECT_TRUE(welcome.body.ends_with("\"></img></center></body></html>")) << welcome.body;
}

TEST(HttpServer, KeepAliveRule) {
  FileServer f;
  auto hello = f.server.url("/hello");
  EXPECT_EQ(curl(hello).body, "hi");
  EXPECT_EQ(connectsForTwo(hello, "-H 'Connection: keep-alive'"), "1 0 ");
  EXPECT_EQ(connectsForTwo(hello), "1 1 ") << "no connection header";
  EXPECT_EQ(connectsForTwo(hello, "-H 'Connection: close'"), "1 1 ");
  EXPECT_EQ(connectsForTwo(f.server.url("/nothing/here"), "-H 'Connection: keep-alive'"), "1 1 ")
      << "a 404 has no length and closes";
  EXPECT_EQ(curl("-H 'Connection: keep-alive' " + hello).header("Connection"), "keep-alive");
  EXPECT_EQ(curl(hello).header("Connection"), "close") << "a closing answer says so";
}

TEST(HttpServer, HostMustNameThisMachine) {
  FileServer f;
  auto hello = f.server.url("/hello");
  for (const char* host :
       {"evil.example", "localhost.evil.example", "127.0.0.2", "localhost:80x", "[::2]"}) {
    auto response = curl("-H 'Host: " + std::string(host) + "' " + hello);
    EXPECT_EQ(response.status, 403) << host;
    EXPECT_EQ(response.body, "") << host;
  }
  for (const char* host : {"localhost", "LOCALHOST:9080", "127.0.0.1:1", "[::1]:8080"}) {
    EXPECT_EQ(curl("-H 'Host: " + std::string(host) + "' " + hello).status, 200) << host;
  }
  EXPECT_EQ(curl("-H 'Host:' " + hello).status, 200) << "no Host at all";
}

TEST(HttpServer, CorsOnlyForOwnOrigin) {
  FileServer f;
  auto file = f.fileUrl(test::atPath(f.files.write("x.json", "{}")));
  auto port = std::to_string(f.server.port());
  for (auto own :
       {"http://localhost:" + port, "http://127.0.0.1:" + port, std::string("file://")}) {
    auto response = curl("-H 'Origin: " + own + "' " + file);
    EXPECT_EQ(response.header("Access-Control-Allow-Origin"), own);
    EXPECT_EQ(response.header("Vary"), "Origin");
  }
  for (auto other : {std::string("http://evil.example"),
                     "http://localhost:" + std::to_string(f.server.port() + 1), std::string("null"),
                     "https://localhost:" + port, std::string("file:///home")}) {
    EXPECT_EQ(curl("-H 'Origin: " + other + "' " + file).header("Access-Control-Allow-Origin"),
              "(none)")
        << other;
  }
  EXPECT_EQ(curl(file).header("Access-Control-Allow-Origin"), "(none)");
  EXPECT_EQ(curl(f.server.url("/")).header("Access-Control-Allow-Origin"), "(none)");
  // A missing file too, so that the page reads the status rather than a refused read.
  auto missing = curl("-H 'Origin: file://' " + f.fileUrl(test::atPath(f.files.path() / "x.pdf")));
  EXPECT_EQ(missing.status, 404);
  EXPECT_EQ(missing.header("Access-Control-Allow-Origin"), "file://");
}

TEST(HttpServer, BadRequestsCloseWithoutAnswer) {
  FileServer f;
  auto closedSilently = [&](const std::string& request) {
    test::RawConnection connection(f.server.port());
    connection.send(request);
    return connection.receiveUntilClosed();
  };
  EXPECT_EQ(closedSilently("GARBAGE\r\n\r\n"), "") << "a malformed request line";
  EXPECT_EQ(closedSilently("GET /hello HTTP/1.1\r\nX: " + std::string(70 * 1024, 'a') + "\r\n\r\n"),
            "");
  std::string headers;
  for (int i = 0; i < 101; ++i) headers += "H" + std::to_string(i) + ": v\r\n";
  EXPECT_EQ(closedSilently("GET /hello HTTP/1.1\r\n" + headers + "\r\n"), "");
  EXPECT_EQ(closedSilently("POST /hello HTTP/1.1\r\nContent-Length: 67108865\r\n\r\n"), "");
  EXPECT_EQ(closedSilently("POST /hello HTTP/1.1\r\nContent-Length: -1\r\n\r\n"), "");

  auto ok = closedSilently("GET /hello HTTP/1.1\r\n\r\n");
  EXPECT_TRUE(ok.starts_with("HTTP/1.1 200 OK\r\n")) << ok;
  EXPECT_TRUE(ok.ends_with("\r\n\r\nhi")) << ok;
}

TEST(HttpServer, FailuresCloseOneConnectionOnly) {
  FileServer f;
  f.server->GET["/throws"] = [](HttpRequest&) -> HttpResponse {
    throw std::runtime_error("handler broke");
  };
  auto big = f.files.write("big.bin", std::string(32 << 20, 'b'));

  testing::internal::CaptureStdout();
  {
    test::RawConnection connection(f.server.port());
    connection.send("GET /throws HTTP/1.1\r\nConnection: keep-alive\r\n\r\n");
    EXPECT_EQ(connection.receiveUntilClosed(), "");
  }
  {  // the peer vanishes in the middle of a large file
    test::RawConnection connection(f.server.port());
    connection.send("GET /files/" + test::atPath(big) + "?key=" + f.kKey + " HTTP/1.1\r\n\r\n");
    EXPECT_EQ(connection.receive(1000).size(), 1000u);
  }
  EXPECT_TRUE(test::eventually([&] { return f.server->connectionCount() == 0; }));
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_NE(log.find("handler broke"), std::string::npos) << log;
  EXPECT_NE(log.find("Failed to send response: writeFailed(\"sendfile: "), std::string::npos)
      << log;

  EXPECT_EQ(curl(f.server.url("/hello")).body, "hi") << "the server goes on";
}

TEST(HttpServer, MiddlewareAnswersBeforeRouting) {
  auto server = std::make_shared<HttpServer>();
  bool routed = false;
  server->GET["/hello"] = [&](HttpRequest&) {
    routed = true;
    return HttpResponse::ok(HttpResponseBody::text("hi"));
  };
  server->middleware.push_back(
      [](HttpRequest&) -> std::optional<HttpResponse> { return HttpResponse::forbidden(); });
  test::RunningServer running(std::move(server));
  EXPECT_EQ(curl(running.url("/hello")).status, 403);
  EXPECT_EQ(curl(running.url("/elsewhere")).status, 403);
  EXPECT_FALSE(routed);
}

TEST(HttpServer, NotFoundHandler) {
  auto server = std::make_shared<HttpServer>();
  server->notFoundHandler = [](HttpRequest& request) {
    return HttpResponse::ok(HttpResponseBody::text("no " + request.path));
  };
  test::RunningServer running(std::move(server));
  EXPECT_EQ(curl(running.url("/x/y")).body, "no /x/y");
}

TEST(HttpServerIO, Lifecycle) {
  auto server = std::make_shared<HttpServerIO>();
  EXPECT_EQ(server->currentState(), HttpServerIOState::stopped);
  server->start(0);
  auto port = server->localPort();
  EXPECT_EQ(server->currentState(), HttpServerIOState::running);
  server->start(0);
  EXPECT_EQ(server->localPort(), port) << "a second start keeps the first listener";

  auto second = std::make_shared<HttpServerIO>();
  try {
    second->start(port);
    FAIL() << "the port is taken";
  } catch (const SocketError& error) {
    EXPECT_EQ(error.kind(), SocketError::Kind::bindFailed);
  }
  EXPECT_EQ(second->currentState(), HttpServerIOState::starting);

  {  // the base server answers everything with 404
    test::RawConnection connection(port);
    connection.send("GET /anything HTTP/1.1\r\n\r\n");
    EXPECT_TRUE(connection.receiveUntilClosed().starts_with("HTTP/1.1 404 Not Found\r\n"));
  }

  test::RawConnection idle(port);
  idle.send("GET /x HTTP/1.1\r\nConnection: keep-alive\r\nContent-Length: 10\r\n\r\n");
  EXPECT_TRUE(test::eventually([&] { return server->connectionCount() == 1; }));
  server->stop();
  EXPECT_EQ(server->currentState(), HttpServerIOState::stopped);
  EXPECT_EQ(idle.receiveUntilClosed(), "") << "stop closes a connection a client holds open";
  EXPECT_TRUE(server->waitForConnections(std::chrono::seconds(5)));

  second->start(port);
  EXPECT_TRUE(second->isRunning()) << "a failed start may be tried again once the port is free";
  second->stop();
}
