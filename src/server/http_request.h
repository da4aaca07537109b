#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace dravin {

using StringPairs = std::vector<std::pair<std::string, std::string>>;
using StringMap = std::map<std::string, std::string>;

struct MultiPart {
  StringMap headers;  // names lower-cased
  std::vector<std::uint8_t> body;

  std::optional<std::string> partName() const;
  std::optional<std::string> partFileName() const;
};

struct HttpRequest {
  std::string path;         // without the query, as sent
  StringPairs queryParams;  // in URL order, duplicates kept
  std::string method;       // as sent
  StringMap headers;        // names lower-cased, values trimmed, the last of a repeated name wins
  std::vector<std::uint8_t> body;
  std::optional<std::string> address = std::string();
  StringMap params;  // route parameters, keys with their ':'

  std::optional<std::string> header(const std::string& name) const;
  // `token` must be lower case.
  bool headerHasToken(const std::string& headerName, const std::string& token) const;
  StringPairs parseFormFields() const;
  std::vector<MultiPart> parseMultipartParts() const;
};

}  // namespace dravin
