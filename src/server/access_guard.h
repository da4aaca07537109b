#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "http_request.h"
#include "http_response.h"
#include "http_router.h"

// "/files/" hands out every file the user can read, and on a shared computer other accounts and
// programs reach the port as well. So those routes answer only requests carrying a key that the
// application makes at every start and gives to its own pages alone, as the query item "key".
namespace dravin {

inline constexpr std::string_view kAccessKeyItem = "key";

class AccessGuard {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  using LogSink = std::function<void(const std::string&)>;

  // Throws std::invalid_argument for a key isUsableAccessKey refuses. Without a sink, reports go
  // to standard output; without a clock, the steady clock counts.
  explicit AccessGuard(std::string key, LogSink log = {}, Clock now = {});

  // Whether the request's first "key" query item is the key. Every character of the key is
  // compared whatever the item holds, so the time taken tells nothing of how much matched.
  bool admits(const HttpRequest& request) const;
  // The 403 for a request that was not admitted. The first refusal is reported at once, the
  // next ones at most once a minute and counted; a report never quotes the query.
  HttpResponse refuse(const HttpRequest& request);

 private:
  std::string key_;
  LogSink log_;
  Clock now_;
  std::mutex reportMutex_;  // guards the two below
  std::optional<std::chrono::steady_clock::time_point> lastReport_;
  std::uint64_t unreported_ = 0;
};

// 32 bytes from the kernel's random source, as 64 hex digits. Throws std::system_error when the
// kernel gives none.
std::string newAccessKey();

// At least 32 characters, each a letter, a digit, '-', '_', '.' or '~', so that it travels in a
// URL unescaped.
bool isUsableAccessKey(std::string_view key);

// `handler` behind the guard.
Handler keyRequired(std::shared_ptr<AccessGuard> guard, Handler handler);

// A middleware refusing every WebSocket upgrade without the key, whatever its route.
std::function<std::optional<HttpResponse>(HttpRequest&)> upgradesNeedKey(
    std::shared_ptr<AccessGuard> guard);

}  // namespace dravin
