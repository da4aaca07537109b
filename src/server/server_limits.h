#pragma once

#include <cstddef>

namespace dravin::limits {
inline constexpr std::size_t kMaxLine = 64 * 1024;  // request line or one header line
inline constexpr std::size_t kMaxHeaders = 100;
inline constexpr std::size_t kMaxBody = 64 * 1024 * 1024;
inline constexpr std::size_t kMaxFrame = 16 * 1024 * 1024;  // one WebSocket frame or message
// Deep enough for a burst of hundreds of clients; a full queue drops connection attempts,
// which the clients retry only after a second.
inline constexpr int kListenBacklog = 1024;
// The "/files/" key: 128 bits at the least (32 hex digits); the application makes 256.
inline constexpr std::size_t kMinAccessKey = 32;
inline constexpr std::size_t kAccessKeyBytes = 32;
// A refused request is reported at most this often, so a client knocking in a loop cannot fill
// the log.
inline constexpr int kRefusalReportSeconds = 60;
// The most of a refused request's path a report quotes.
inline constexpr std::size_t kReportedPath = 200;
// Per connection worker: handlers are shallow, and a thread per connection must start cheaply.
#ifdef DRAVIN_SANITIZED
inline constexpr std::size_t kWorkerStack = 4 * 1024 * 1024;  // red zones take stack too
#else
inline constexpr std::size_t kWorkerStack = 256 * 1024;
#endif
}  // namespace dravin::limits
