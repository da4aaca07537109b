#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "http_router.h"
#include "http_server_io.h"

namespace dravin {

// Registration by path for one method ("GET") or, through HttpServer::operator[], for any.
class MethodRoute {
 public:
  class Slot {
   public:
    Slot(HttpRouter& router, std::optional<std::string> method, std::string path)
        : router_(router), method_(std::move(method)), path_(std::move(path)) {}
    Slot& operator=(Handler handler) {
      router_.addRoute(method_, path_, std::move(handler));
      return *this;
    }

   private:
    HttpRouter& router_;
    std::optional<std::string> method_;
    std::string path_;
  };

  MethodRoute(std::string name, HttpRouter& router) : method(std::move(name)), router_(router) {}
  Slot operator[](const std::string& path) { return Slot(router_, method, path); }

  const std::string method;

 private:
  HttpRouter& router_;
};

class HttpServer : public HttpServerIO {
 public:
  using Middleware = std::function<std::optional<HttpResponse>(HttpRequest&)>;

  HttpServer() = default;

  MethodRoute::Slot operator[](const std::string& path) { return {router, std::nullopt, path}; }
  Selection selectHandler(HttpRequest& request) override;

  // Serves the file the route's one parameter names inside `directory` ("@@" stands for "/").
  Handler serveFolder(const std::string& directory, std::vector<std::string> defaults);
  Handler welcomePage();

  HttpRouter router;
  MethodRoute DELETE{"DELETE", router}, PATCH{"PATCH", router}, HEAD{"HEAD", router},
      POST{"POST", router}, GET{"GET", router}, PUT{"PUT", router};
  std::optional<Handler> notFoundHandler;
  std::vector<Middleware> middleware;

 private:
  HeaderMap fileHeaders(const HttpRequest& request) const;
};

}  // namespace dravin
