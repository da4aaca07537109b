#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace dravin {

class File;
class Socket;

using HeaderMap = std::map<std::string, std::string>;

// Where a response body goes; the connection loop binds it to the socket.
class HttpResponseBodyWriter {
 public:
  virtual ~HttpResponseBodyWriter() = default;
  virtual void write(File& file) = 0;
  virtual void write(std::span<const std::uint8_t> bytes) = 0;
  void write(std::string_view text) {
    write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  }
};

using BodyWriter = std::function<void(HttpResponseBodyWriter&)>;
using SessionHandler = std::function<void(const std::shared_ptr<Socket>&)>;

// Length -1 means unknown: the connection closes after the body.
struct BodyContent {
  long long length = -1;
  BodyWriter writer;
};

struct SerializationError {
  enum class Kind { invalidObject, notSupported } kind;
  const char* description() const;
};

class HttpResponseBody {
 public:
  enum class Kind { json, html, htmlBody, text, data, custom };
  using Serialiser = std::function<std::string(const std::any&)>;

  static HttpResponseBody json(nlohmann::json value);
  static HttpResponseBody html(std::string document);
  static HttpResponseBody htmlBody(std::string inside);
  static HttpResponseBody text(std::string text);
  static HttpResponseBody data(std::vector<std::uint8_t> blob,
                               std::optional<std::string> contentType = std::nullopt);
  static HttpResponseBody custom(std::any value, Serialiser serialiser);

  Kind kind() const { return kind_; }
  const std::optional<std::string>& contentType() const { return contentType_; }
  BodyContent bodyContent() const;

 private:
  explicit HttpResponseBody(Kind kind) : kind_(kind) {}
  static HttpResponseBody withText(Kind kind, std::string text);
  std::string serialise() const;  // throws SerializationError

  Kind kind_;
  nlohmann::json json_;
  std::string text_;
  std::vector<std::uint8_t> data_;
  std::optional<std::string> contentType_;
  std::any value_;
  Serialiser serialiser_;
};

class HttpResponse {
 public:
  enum class Kind {
    switchProtocols,
    ok,
    created,
    accepted,
    movedPermanently,
    movedTemporarily,
    badRequest,
    unauthorized,
    forbidden,
    notFound,
    notAcceptable,
    tooManyRequests,
    internalServerError,
    raw,
  };

  static HttpResponse switchProtocols(HeaderMap headers, SessionHandler session);
  static HttpResponse ok(HttpResponseBody body);
  static HttpResponse created() { return HttpResponse(Kind::created); }
  static HttpResponse accepted() { return HttpResponse(Kind::accepted); }
  static HttpResponse movedPermanently(std::string location);
  static HttpResponse movedTemporarily(std::string location);
  static HttpResponse badRequest(std::optional<HttpResponseBody> body = std::nullopt);
  static HttpResponse unauthorized() { return HttpResponse(Kind::unauthorized); }
  static HttpResponse forbidden() { return HttpResponse(Kind::forbidden); }
  static HttpResponse notFound() { return HttpResponse(Kind::notFound); }
  static HttpResponse notAcceptable() { return HttpResponse(Kind::notAcceptable); }
  static HttpResponse tooManyRequests() { return HttpResponse(Kind::tooManyRequests); }
  static HttpResponse internalServerError() { return HttpResponse(Kind::internalServerError); }
  static HttpResponse raw(int code, std::string phrase,
                          std::optional<HeaderMap> headers = std::nullopt,
                          BodyWriter writer = nullptr);

  Kind kind() const { return kind_; }
  int code() const;
  std::string reason() const;
  HeaderMap headerMap() const;
  BodyContent bodyContent() const;
  SessionHandler upgradeSession() const;

 private:
  explicit HttpResponse(Kind kind) : kind_(kind) {}
  static HttpResponse redirect(Kind kind, std::string location);

  Kind kind_;
  int rawCode_ = 0;
  std::string rawPhrase_;
  std::optional<HeaderMap> headers_;
  std::optional<HttpResponseBody> body_;
  std::string location_;
  BodyWriter writer_;
  SessionHandler session_;
};

// "Dravin " + the project version.
const std::string& serverHeaderValue();

}  // namespace dravin
