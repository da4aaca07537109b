// Serves a folder with the routes the application registers, for tests, benchmarks and browsers.
#include <signal.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "http_server.h"
#include "lesson_routes.h"
#include "websocket.h"

namespace {

struct Options {
  std::uint16_t port = 9080;
  std::string lessons;
  std::optional<std::string> listen;
  std::optional<std::string> wsEcho;
};

[[noreturn]] void usage(const char* problem) {
  std::cerr << "dravin-httpd: " << problem << "\n"
            << "usage: dravin-httpd --port N --lessons DIR [--listen ADDR] [--ws-echo PATH]\n";
  std::exit(2);
}

Options parseOptions(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (i + 1 >= argc) usage(("missing value for " + name).c_str());
    std::string value = argv[++i];
    if (name == "--port") {
      char* end = nullptr;
      long port = std::strtol(value.c_str(), &end, 10);
      if (*end || port < 0 || port > 65535) usage("the port must be a number from 0 to 65535");
      options.port = static_cast<std::uint16_t>(port);
    } else if (name == "--lessons") {
      options.lessons = value;
    } else if (name == "--listen") {
      options.listen = value;
    } else if (name == "--ws-echo") {
      options.wsEcho = value;
    } else {
      usage(("unknown option " + name).c_str());
    }
  }
  if (options.lessons.empty()) usage("--lessons is required");
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  Options options = parseOptions(argc, argv);

  // Taken before any thread starts, so only sigwait below sees them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  auto server = std::make_shared<dravin::HttpServer>();
  dravin::registerStandardRoutes(*server, options.lessons);
  if (options.wsEcho) {
    dravin::WebSocketCallbacks echo;
    echo.text = [](const dravin::SessionPtr& session, const std::string& text) {
      session->sendText(text);
    };
    echo.binary = [](const dravin::SessionPtr& session, const std::vector<std::uint8_t>& bytes) {
      session->sendBinary(bytes);
    };
    // A GET route: the lesson route "/:path" takes any method and would be found first.
    server->GET[*options.wsEcho] = dravin::websocketHandler(echo);
  }
  bool ipv4 = !options.listen || options.listen->find(':') == std::string::npos;
  (ipv4 ? server->listenAddressIPv4 : server->listenAddressIPv6) = options.listen;

  try {
    server->start(options.port, ipv4);
    std::cout << "Server has started ( port = " << server->localPort()
              << " ). Try to connect now..." << std::endl;
  } catch (const dravin::SocketError& error) {
    std::cout << "Server start error: " << error.description() << std::endl;
    return 1;
  }

  int signal = 0;
  sigwait(&stopSignals, &signal);
  server->stop();
  server->waitForConnections(std::chrono::seconds(5));
  std::cout << "Server stopped" << std::endl;
  return 0;
}
