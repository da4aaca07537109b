// Serves a folder with the routes the application registers, for tests, benchmarks and browsers.
#include <signal.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "access_guard.h"
#include "http_server.h"
#include "lesson_routes.h"
#include "websocket.h"

namespace {

struct Options {
  std::uint16_t port = 9080;
  std::string lessons;
  std::optional<std::string> listen;
  std::optional<std::string> wsEcho;
  std::optional<std::string> keyFile;
};

[[noreturn]] void usage(const char* problem) {
  std::cerr << "dravin-httpd: " << problem << "\n"
            << "usage: dravin-httpd --port N --lessons DIR [--listen ADDR] [--ws-echo PATH]"
               " [--key-file FILE]\n";
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
    } else if (name == "--key-file") {
      options.keyFile = value;
    } else {
      usage(("unknown option " + name).c_str());
    }
  }
  if (options.lessons.empty()) usage("--lessons is required");
  return options;
}

// The key "/files/" and WebSocket upgrades ask for. It comes from a file rather than the command
// line, which every account on the machine can read in the process list; for the same reason the
// file must be the owner's alone. Without a file the key is one nobody is told, so those routes
// answer 403 to everyone.
std::string accessKey(const std::optional<std::string>& keyFile, const std::string& lessons) {
  if (!keyFile) {
    std::cout << "No --key-file given: \"/files/\" and WebSocket upgrades answer 403" << std::endl;
    return dravin::newAccessKey();
  }
  struct stat status {};
  if (::stat(keyFile->c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    usage(("the key file " + *keyFile + " cannot be read").c_str());
  }
  std::error_code fileError, folderError;
  auto file = std::filesystem::weakly_canonical(*keyFile, fileError).generic_string();
  auto folder = std::filesystem::weakly_canonical(lessons, folderError).generic_string();
  if (!fileError && !folderError && file.starts_with(folder + "/")) {
    usage(("the key file " + *keyFile + " is inside the lesson folder, which anyone may read")
              .c_str());
  }
  if ((status.st_mode & (S_IRWXG | S_IRWXO)) != 0) {
    usage(("the key file " + *keyFile + " must be readable by its owner only (chmod 600)").c_str());
  }
  std::ifstream in(*keyFile);
  std::string key;
  if (!in || !std::getline(in, key)) usage(("the key file " + *keyFile + " is empty").c_str());
  while (!key.empty() && (key.back() == '\r' || key.back() == ' ' || key.back() == '\t')) {
    key.pop_back();
  }
  if (!dravin::isUsableAccessKey(key)) {
    usage("the key must be at least 32 letters, digits, '-', '_', '.' or '~' on the first line");
  }
  return key;
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
  dravin::registerStandardRoutes(
      *server, options.lessons,
      std::make_shared<dravin::AccessGuard>(accessKey(options.keyFile, options.lessons)));
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
