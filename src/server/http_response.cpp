#include "http_response.h"

#include <cmath>

#include "dravin_version.h"

namespace dravin {

namespace {

// Arrays or objects at the top, and no number that JSON cannot write.
bool isValidJsonTree(const nlohmann::json& value, bool top) {
  if (top && !value.is_array() && !value.is_object()) return false;
  if (value.is_number_float()) return std::isfinite(value.get<double>());
  if (value.is_structured()) {
    for (const auto& item : value) {
      if (!isValidJsonTree(item, false)) return false;
    }
  }
  return true;
}

BodyContent bytesContent(std::string bytes) {
  auto shared = std::make_shared<const std::string>(std::move(bytes));
  return {static_cast<long long>(shared->size()),
          [shared](HttpResponseBodyWriter& writer) { writer.write(std::string_view(*shared)); }};
}

}  // namespace

const char* SerializationError::description() const {
  return kind == Kind::invalidObject ? "invalidObject" : "notSupported";
}

const std::string& serverHeaderValue() {
  static const std::string value =
      std::string("Dravin ") + (*kProjectVersion ? kProjectVersion : "Unspecified");
  return value;
}

HttpResponseBody HttpResponseBody::json(nlohmann::json value) {
  HttpResponseBody body(Kind::json);
  body.json_ = std::move(value);
  return body;
}

HttpResponseBody HttpResponseBody::withText(Kind kind, std::string text) {
  HttpResponseBody body(kind);
  body.text_ = std::move(text);
  return body;
}

HttpResponseBody HttpResponseBody::html(std::string document) {
  return withText(Kind::html, std::move(document));
}

HttpResponseBody HttpResponseBody::htmlBody(std::string inside) {
  return withText(Kind::htmlBody, std::move(inside));
}

HttpResponseBody HttpResponseBody::text(std::string text) {
  return withText(Kind::text, std::move(text));
}

HttpResponseBody HttpResponseBody::data(std::vector<std::uint8_t> blob,
                                        std::optional<std::string> contentType) {
  HttpResponseBody body(Kind::data);
  body.data_ = std::move(blob);
  body.contentType_ = std::move(contentType);
  return body;
}

HttpResponseBody HttpResponseBody::custom(std::any value, Serialiser serialiser) {
  HttpResponseBody body(Kind::custom);
  body.value_ = std::move(value);
  body.serialiser_ = std::move(serialiser);
  return body;
}

std::string HttpResponseBody::serialise() const {
  switch (kind_) {
    case Kind::json:
      if (!isValidJsonTree(json_, true))
        throw SerializationError{SerializationError::Kind::invalidObject};
      try {
        return json_.dump();
      } catch (const nlohmann::json::exception&) {  // a string that is not UTF-8
        throw SerializationError{SerializationError::Kind::invalidObject};
      }
    case Kind::html:
    case Kind::text: return text_;
    case Kind::htmlBody: return "<html><meta charset=\"UTF-8\"><body>" + text_ + "</body></html>";
    case Kind::data: return std::string(data_.begin(), data_.end());
    case Kind::custom:
      if (!serialiser_) throw SerializationError{SerializationError::Kind::notSupported};
      return serialiser_(value_);
  }
  throw SerializationError{SerializationError::Kind::notSupported};
}

BodyContent HttpResponseBody::bodyContent() const {
  try {
    return bytesContent(serialise());
  } catch (const SerializationError& error) {
    return bytesContent(std::string("Serialisation error: ") + error.description());
  } catch (const std::exception& error) {
    return bytesContent(std::string("Serialisation error: ") + error.what());
  }
}

HttpResponse HttpResponse::switchProtocols(HeaderMap headers, SessionHandler session) {
  HttpResponse response(Kind::switchProtocols);
  response.headers_ = std::move(headers);
  response.session_ = std::move(session);
  return response;
}

HttpResponse HttpResponse::ok(HttpResponseBody body) {
  HttpResponse response(Kind::ok);
  response.body_ = std::move(body);
  return response;
}

HttpResponse HttpResponse::redirect(Kind kind, std::string location) {
  HttpResponse response(kind);
  response.location_ = std::move(location);
  return response;
}

HttpResponse HttpResponse::movedPermanently(std::string location) {
  return redirect(Kind::movedPermanently, std::move(location));
}

HttpResponse HttpResponse::movedTemporarily(std::string location) {
  return redirect(Kind::movedTemporarily, std::move(location));
}

HttpResponse HttpResponse::badRequest(std::optional<HttpResponseBody> body) {
  HttpResponse response(Kind::badRequest);
  response.body_ = std::move(body);
  return response;
}

HttpResponse HttpResponse::raw(int code, std::string phrase, std::optional<HeaderMap> headers,
                               BodyWriter writer) {
  HttpResponse response(Kind::raw);
  response.rawCode_ = code;
  response.rawPhrase_ = std::move(phrase);
  response.headers_ = std::move(headers);
  response.writer_ = std::move(writer);
  return response;
}

int HttpResponse::code() const {
  switch (kind_) {
    case Kind::switchProtocols: return 101;
    case Kind::ok: return 200;
    case Kind::created: return 201;
    case Kind::accepted: return 202;
    case Kind::movedPermanently: return 301;
    case Kind::movedTemporarily: return 307;
    case Kind::badRequest: return 400;
    case Kind::unauthorized: return 401;
    case Kind::forbidden: return 403;
    case Kind::notFound: return 404;
    case Kind::notAcceptable: return 406;
    case Kind::tooManyRequests: return 429;
    case Kind::internalServerError: return 500;
    case Kind::raw: return rawCode_;
  }
  return 500;
}

std::string HttpResponse::reason() const {
  switch (kind_) {
    case Kind::switchProtocols: return "Switching Protocols";
    case Kind::ok: return "OK";
    case Kind::created: return "Created";
    case Kind::accepted: return "Accepted";
    case Kind::movedPermanently: return "Moved Permanently";
    case Kind::movedTemporarily: return "Moved Temporarily";
    case Kind::badRequest: return "Bad Request";
    case Kind::unauthorized: return "Unauthorized";
    case Kind::forbidden: return "Forbidden";
    case Kind::notFound: return "Not Found";
    case Kind::notAcceptable: return "Not Acceptable";
    case Kind::tooManyRequests: return "Too Many Requests";
    case Kind::internalServerError: return "Internal Server Error";
    case Kind::raw: return rawPhrase_;
  }
  return "";
}

HeaderMap HttpResponse::headerMap() const {
  HeaderMap headers{{"Server", serverHeaderValue()}};
  switch (kind_) {
    case Kind::switchProtocols:
    case Kind::raw:
      if (headers_) {
        for (const auto& [name, value] : *headers_) headers[name] = value;
      }
      break;
    case Kind::ok:
      if (body_->kind() == HttpResponseBody::Kind::json)
        headers["Content-Type"] = "application/json";
      if (body_->kind() == HttpResponseBody::Kind::html) headers["Content-Type"] = "text/html";
      if (body_->kind() == HttpResponseBody::Kind::data && body_->contentType()) {
        headers["Content-Type"] = *body_->contentType();
      }
      break;
    case Kind::movedPermanently:
    case Kind::movedTemporarily: headers["Location"] = location_; break;
    default: break;
  }
  return headers;
}

BodyContent HttpResponse::bodyContent() const {
  switch (kind_) {
    case Kind::ok: return body_->bodyContent();
    case Kind::badRequest: return body_ ? body_->bodyContent() : BodyContent{};
    case Kind::raw: return {-1, writer_};
    default: return {};
  }
}

SessionHandler HttpResponse::upgradeSession() const {
  return kind_ == Kind::switchProtocols ? session_ : nullptr;
}

}  // namespace dravin
