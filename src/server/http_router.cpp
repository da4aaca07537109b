#include "http_router.h"

#include "text.h"

namespace dravin {

namespace {

std::vector<std::string> segmentsOf(const std::string& path) {
  std::string_view beforeQuery = std::string_view(path).substr(0, path.find('?'));
  std::vector<std::string> segments;
  for (auto piece : text::split(beforeQuery, '/')) segments.emplace_back(piece);
  return segments;
}

}  // namespace

void HttpRouter::addRoute(const std::optional<std::string>& method, const std::string& path,
                          Handler handler) {
  Node* node = &rootNode_;
  auto segments = segmentsOf(path);
  segments.insert(segments.begin(), method.value_or("*"));
  for (const auto& segment : segments) {
    auto& child = node->nodes[segment];
    if (!child) child = std::make_unique<Node>();
    node = child.get();
  }
  node->isEndOfRoute = true;
  node->handler = std::move(handler);
}

std::optional<HttpRouter::Match> HttpRouter::findRoute(const std::optional<std::string>& method,
                                                       const std::string& path) const {
  if (method) {
    StringMap params;
    const Node* found = search(rootNode_, segmentsOf(*method + "/" + path), 0, params);
    if (found && found->handler) return Match{std::move(params), found->handler};
  }
  StringMap params;
  const Node* found = search(rootNode_, segmentsOf("*/" + path), 0, params);
  if (!found) return std::nullopt;
  return Match{std::move(params), found->handler};
}

// Depth first: the variable child, then the literal one, then the wildcards.
const HttpRouter::Node* HttpRouter::search(const Node& node,
                                           const std::vector<std::string>& segments,
                                           std::size_t index, StringMap& params) const {
  std::size_t count = segments.size();
  if (index == count) return node.isEndOfRoute ? &node : nullptr;

  auto decoded = text::percentDecode(segments[index]);
  if (!decoded) return nullptr;

  auto variable = node.nodes.lower_bound(":");
  if (variable != node.nodes.end() && variable->first.starts_with(':')) {
    params[variable->first] = *decoded;
    if (index + 1 == count && variable->second->isEndOfRoute) return variable->second.get();
    if (auto found = search(*variable->second, segments, index + 1, params)) return found;
  }
  if (auto literal = node.nodes.find(*decoded); literal != node.nodes.end()) {
    if (auto found = search(*literal->second, segments, index + 1, params)) return found;
  }
  if (auto wildcard = node.nodes.find("*"); wildcard != node.nodes.end()) {
    if (auto found = search(*wildcard->second, segments, index + 1, params)) return found;
  }
  if (auto rest = node.nodes.find("**"); rest != node.nodes.end()) {
    // One or more segments, then whatever follows "**" in the route.
    for (std::size_t next = index + 1; next <= count; ++next) {
      if (auto found = search(*rest->second, segments, next, params)) return found;
    }
  }
  return nullptr;
}

}  // namespace dravin
