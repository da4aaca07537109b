#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace dravin {

// SHA-1 (FIPS 180-4); used only for the WebSocket handshake.
std::array<std::uint8_t, 20> sha1(std::string_view bytes);

}  // namespace dravin
