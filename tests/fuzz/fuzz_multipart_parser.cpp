// The first line of the input is the content type, the rest the body.
#include <cstddef>
#include <cstdint>
#include <string>

#include "http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t newline = input.find('\n');
  dravin::HttpRequest request;
  request.headers["content-type"] = input.substr(0, newline);
  if (newline != std::string::npos) request.body.assign(data + newline + 1, data + size);
  for (const auto& part : request.parseMultipartParts()) {
    part.partName();
    part.partFileName();
  }
  request.parseFormFields();
  return 0;
}
