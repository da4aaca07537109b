#include "access_policy.h"

#include "text.h"

namespace dravin::access {

namespace {

std::string_view hostWithoutPort(std::string_view host) {
  if (host.starts_with('[')) {
    std::size_t close = host.find(']');
    return close == std::string_view::npos ? host : host.substr(0, close + 1);
  }
  return host.substr(0, host.find(':'));
}

bool isDecimal(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

bool isAllowedHost(const HttpRequest& request) {
  auto host = request.headers.find("host");
  if (host == request.headers.end()) return true;
  std::string_view value = host->second;
  std::string_view name = hostWithoutPort(value);
  std::string_view rest = value.substr(name.size());
  if (!rest.empty() && !(rest.front() == ':' && (rest.size() == 1 || isDecimal(rest.substr(1))))) {
    return false;
  }
  std::string lower = text::lowercase(name);
  return lower == "localhost" || lower == "127.0.0.1" || lower == "[::1]";
}

std::optional<std::string> ownOrigin(const HttpRequest& request, std::uint16_t port) {
  auto origin = request.headers.find("origin");
  if (origin == request.headers.end()) return std::nullopt;
  // The application's own pages (the board, the PDF viewer) are local files; its web engine
  // names their origin "file://", which no web site can send.
  if (origin->second == "file://") return origin->second;
  std::string suffix = ":" + std::to_string(port);
  for (const char* host : {"http://localhost", "http://127.0.0.1"}) {
    if (origin->second == host + suffix) return origin->second;
  }
  return std::nullopt;
}

}  // namespace dravin::access
