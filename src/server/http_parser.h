#pragma once

#include <exception>
#include <string>

#include "http_request.h"

namespace dravin {

class Socket;

class HttpParserError : public std::exception {
 public:
  enum class Kind {
    invalidStatusLine,
    negativeContentLength,
    // Bounds: the reader stops instead of allocating whatever a peer declares.
    lineTooLong,
    tooManyHeaders,
    bodyTooLarge,
  };

  explicit HttpParserError(Kind kind, std::string line = {});
  Kind kind() const { return kind_; }
  const std::string& line() const { return line_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  Kind kind_;
  std::string line_;
  std::string description_;
};

namespace HttpParser {
// Reads one request; throws HttpParserError or SocketError.
HttpRequest readRequest(Socket& socket);
bool wantsKeepAlive(const StringMap& headers);
// Fills path and queryParams from a request target.
void parseTarget(std::string_view target, HttpRequest& request);
}  // namespace HttpParser

}  // namespace dravin
