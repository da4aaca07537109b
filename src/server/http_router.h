#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "http_request.h"
#include "http_response.h"

namespace dravin {

using Handler = std::function<HttpResponse(HttpRequest&)>;

// A trie of path segments below a first level of methods ("*" for any method). Segments are
// literal text, ":name" variables, "*" (any one segment) or "**" (one or more segments).
// Routes are added before the server starts; lookups only read the trie, so they may run
// from many connection workers at once.
class HttpRouter {
 public:
  struct Match {
    StringMap params;
    Handler handler;
  };

  void addRoute(const std::optional<std::string>& method, const std::string& path, Handler handler);
  std::optional<Match> findRoute(const std::optional<std::string>& method,
                                 const std::string& path) const;

 private:
  struct Node {
    std::map<std::string, std::unique_ptr<Node>> nodes;
    bool isEndOfRoute = false;
    Handler handler;
  };

  const Node* search(const Node& node, const std::vector<std::string>& segments, std::size_t index,
                     StringMap& params) const;

  Node rootNode_;
};

}  // namespace dravin
