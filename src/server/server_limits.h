#pragma once

#include <cstddef>

namespace dravin::limits {
inline constexpr std::size_t kMaxLine = 64 * 1024;  // request line or one header line
inline constexpr std::size_t kMaxHeaders = 100;
inline constexpr std::size_t kMaxBody = 64 * 1024 * 1024;
inline constexpr std::size_t kMaxFrame = 16 * 1024 * 1024;  // one WebSocket frame or message
inline constexpr int kListenBacklog = 128;
}  // namespace dravin::limits
