#include "http_parser.h"

#include <cctype>
#include <charconv>

#include "server_limits.h"
#include "socket.h"
#include "text.h"

namespace dravin {

namespace {

const char* kindName(HttpParserError::Kind kind) {
  switch (kind) {
    case HttpParserError::Kind::invalidStatusLine: return "invalidStatusLine";
    case HttpParserError::Kind::negativeContentLength: return "negativeContentLength";
    case HttpParserError::Kind::lineTooLong: return "lineTooLong";
    case HttpParserError::Kind::tooManyHeaders: return "tooManyHeaders";
    case HttpParserError::Kind::bodyTooLarge: return "bodyTooLarge";
  }
  return "unknown";
}

std::string readBoundedLine(Socket& socket) {
  auto line = socket.readTextLine(limits::kMaxLine);
  if (!line) throw HttpParserError(HttpParserError::Kind::lineTooLong);
  return *line;
}

// Splits on single spaces, keeping empty pieces.
std::vector<std::string_view> splitOnSpaces(std::string_view line) {
  std::vector<std::string_view> pieces;
  for (;;) {
    std::size_t at = line.find(' ');
    pieces.push_back(line.substr(0, at));
    if (at == std::string_view::npos) return pieces;
    line.remove_prefix(at + 1);
  }
}

// A decimal integer with an optional sign; none when it does not parse or does not fit.
std::optional<long long> parseDecimal(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  long long value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string_view stripSchemeAndAuthority(std::string_view target) {
  std::size_t at = 0;
  if (!target.empty() && std::isalpha(static_cast<unsigned char>(target[0]))) {
    while (at < target.size() && (std::isalnum(static_cast<unsigned char>(target[at])) ||
                                  target[at] == '+' || target[at] == '-' || target[at] == '.')) {
      ++at;
    }
    if (at < target.size() && target[at] == ':') {
      target.remove_prefix(at + 1);
    }
  }
  if (target.starts_with("//")) {
    std::size_t end = target.find_first_of("/?", 2);
    target.remove_prefix(end == std::string_view::npos ? target.size() : end);
  }
  return target;
}

}  // namespace

HttpParserError::HttpParserError(Kind kind, std::string line)
    : kind_(kind), line_(std::move(line)) {
  description_ = kindName(kind);
  if (kind == Kind::invalidStatusLine) description_ += "(\"" + line_ + "\")";
}

namespace HttpParser {

void parseTarget(std::string_view target, HttpRequest& request) {
  // Read as a URL reference: escapes arrive in the path and the query items as the client sent
  // them; a scheme and authority, when sent, are not part of the path.
  target = stripSchemeAndAuthority(target);
  std::size_t question = target.find('?');
  request.path = std::string(target.substr(0, question));
  request.queryParams.clear();
  if (question == std::string_view::npos) return;
  for (auto item : text::split(target.substr(question + 1), '&')) {
    std::size_t equals = item.find('=');
    std::string_view value = equals == std::string_view::npos ? "" : item.substr(equals + 1);
    request.queryParams.emplace_back(std::string(item.substr(0, equals)), std::string(value));
  }
}

HttpRequest readRequest(Socket& socket) {
  HttpRequest request;
  std::string statusLine = readBoundedLine(socket);
  auto pieces = splitOnSpaces(statusLine);
  if (pieces.size() < 3)
    throw HttpParserError(HttpParserError::Kind::invalidStatusLine, statusLine);
  request.method = std::string(pieces[0]);
  parseTarget(pieces[1], request);

  for (std::size_t count = 0;; ++count) {
    std::string line = readBoundedLine(socket);
    if (line.empty()) break;
    if (count == limits::kMaxHeaders) throw HttpParserError(HttpParserError::Kind::tooManyHeaders);
    auto parts = text::split(line, ':', 1);
    if (parts.empty()) continue;
    request.headers[text::lowercase(parts.front())] = std::string(text::trimBlanks(parts.back()));
  }

  if (auto length = request.header("content-length")) {
    if (auto value = parseDecimal(*length)) {
      if (*value < 0) throw HttpParserError(HttpParserError::Kind::negativeContentLength);
      if (static_cast<unsigned long long>(*value) > limits::kMaxBody) {
        throw HttpParserError(HttpParserError::Kind::bodyTooLarge);
      }
      request.body = socket.readExactly(*value);
    }
  }
  return request;
}

bool wantsKeepAlive(const StringMap& headers) {
  auto found = headers.find("connection");
  return found != headers.end() && text::trimBlanks(found->second) == "keep-alive";
}

}  // namespace HttpParser

}  // namespace dravin
