#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace dravin {

// RFC 4648 with padding and no line breaks.
std::string base64Encode(std::span<const std::uint8_t> bytes);

}  // namespace dravin
