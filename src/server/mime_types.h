#pragma once

#include <string>
#include <string_view>

namespace dravin {

// By the extension of the last path component, case-insensitive; "application/octet-stream"
// when it is missing or unknown.
std::string mimeTypeFor(std::string_view name);

}  // namespace dravin
