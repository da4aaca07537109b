#include "http_request.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "text.h"

namespace dravin {

namespace {

// The first piece of the content type, when it equals `expected`, with the remaining pieces.
std::optional<std::vector<std::string_view>> contentTypePieces(const HttpRequest& request,
                                                               std::string_view expected) {
  auto type = request.headers.find("content-type");
  if (type == request.headers.end()) return std::nullopt;
  // The pieces point into the request's own header value.
  std::vector<std::string_view> pieces;
  for (auto piece : text::split(type->second, ';')) pieces.push_back(text::trimBlanks(piece));
  if (pieces.empty() || pieces.front() != expected) return std::nullopt;
  return pieces;
}

std::optional<std::string> dispositionValue(const MultiPart& part, std::string_view key) {
  auto found = part.headers.find("content-disposition");
  if (found == part.headers.end()) return std::nullopt;
  for (auto piece : text::split(found->second, ';')) {
    piece = text::trimBlanks(piece);
    std::size_t equals = piece.find('=');
    if (equals == std::string_view::npos || piece.substr(0, equals) != key) continue;
    // Split at the first '=' only, so a quoted file name may itself hold one.
    std::string_view value = piece.substr(equals + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
  }
  return std::nullopt;
}

class MultipartWalker {
 public:
  MultipartWalker(const std::vector<std::uint8_t>& body, std::string delimiter)
      : body_(body), delimiter_(std::move(delimiter)) {}

  std::vector<MultiPart> walk() {
    std::vector<MultiPart> parts;
    if (readLine() != delimiter_) return parts;
    for (bool first = true;; first = false) {
      if (!first) readLine();  // the rest of the delimiter line
      MultiPart part;
      while (auto line = readLine()) {
        if (line->empty()) break;
        auto tokens = text::split(*line, ':');
        if (tokens.size() == 2) {
          part.headers[text::lowercase(tokens[0])] = std::string(text::trimBlanks(tokens[1]));
        }
      }
      if (!readBody(part.body)) return parts;
      parts.push_back(std::move(part));
    }
  }

 private:
  std::optional<std::string> readLine() {
    if (cursor_ >= body_.size()) return std::nullopt;
    std::string line;
    while (cursor_ < body_.size()) {
      std::uint8_t byte = body_[cursor_++];
      if (byte == 10) break;
      if (byte > 13) line += static_cast<char>(byte);
    }
    if (!text::isValidUtf8(line)) return std::nullopt;
    return line;
  }

  bool readBody(std::vector<std::uint8_t>& out) {
    auto start = body_.begin() + static_cast<std::ptrdiff_t>(cursor_);
    auto found =
        std::search(start, body_.end(),
                    std::boyer_moore_horspool_searcher(delimiter_.begin(), delimiter_.end()));
    if (found == body_.end()) return false;
    out.assign(start, found);
    cursor_ = static_cast<std::size_t>(found - body_.begin()) + delimiter_.size();
    if (!out.empty() && out.back() == '\n') out.pop_back();
    if (!out.empty() && out.back() == '\r') out.pop_back();
    return true;
  }

  const std::vector<std::uint8_t>& body_;
  const std::string delimiter_;
  std::size_t cursor_ = 0;
};

}  // namespace

std::optional<std::string> MultiPart::partName() const {
  return dispositionValue(*this, "name");
}

std::optional<std::string> MultiPart::partFileName() const {
  return dispositionValue(*this, "filename");
}

std::optional<std::string> HttpRequest::header(const std::string& name) const {
  auto found = headers.find(name);
  if (found == headers.end()) return std::nullopt;
  return found->second;
}

bool HttpRequest::headerHasToken(const std::string& headerName, const std::string& token) const {
  auto value = header(headerName);
  if (!value) return false;
  auto pieces = text::split(*value, ',');
  return std::any_of(pieces.begin(), pieces.end(), [&](std::string_view piece) {
    return text::lowercase(text::trimBlanks(piece)) == token;
  });
}

StringPairs HttpRequest::parseFormFields() const {
  if (!contentTypePieces(*this, "application/x-www-form-urlencoded")) return {};
  std::string_view form(reinterpret_cast<const char*>(body.data()), body.size());
  if (!text::isValidUtf8(form)) return {};
  StringPairs fields;
  for (auto piece : text::split(form, '&')) {
    auto tokens = text::split(piece, '=');
    std::optional<std::string> name, value;
    if (tokens.size() == 2) {
      auto plusAsSpace = [](std::string_view token) {
        std::string result(token);
        std::replace(result.begin(), result.end(), '+', ' ');
        return result;
      };
      name = text::percentDecode(plusAsSpace(tokens[0]));
      value = text::percentDecode(plusAsSpace(tokens[1]));
    }
    if (name && value) {
      fields.emplace_back(*name, *value);
    } else {
      fields.emplace_back("", "");
    }
  }
  return fields;
}

std::vector<MultiPart> HttpRequest::parseMultipartParts() const {
  auto pieces = contentTypePieces(*this, "multipart/form-data");
  if (!pieces) return {};
  std::string boundary;
  for (auto piece : *pieces) {
    auto tokens = text::split(piece, '=');
    if (tokens.size() == 2 && tokens[0] == "boundary") boundary = tokens[1];
  }
  if (boundary.empty()) return {};
  return MultipartWalker(body, "--" + boundary).walk();
}

}  // namespace dravin
