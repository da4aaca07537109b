#include "access_guard.h"

#include <sys/random.h>

#include <cerrno>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "server_limits.h"

namespace dravin {

namespace {

void printLine(const std::string& line) {
  std::cout << line << std::endl;
}

// The path as sent, cut short and with control characters replaced, so that a report stays one
// harmless line whatever a client sends.
std::string reportablePath(const std::string& path) {
  std::string shown = path.substr(0, limits::kReportedPath);
  for (char& c : shown) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7f) c = '?';
  }
  if (path.size() > shown.size()) shown += "...";
  return shown;
}

}  // namespace

AccessGuard::AccessGuard(std::string key, LogSink log, Clock now)
    : key_(std::move(key)),
      log_(log ? std::move(log) : printLine),
      now_(now ? std::move(now) : [] { return std::chrono::steady_clock::now(); }) {
  if (!isUsableAccessKey(key_)) {
    throw std::invalid_argument("an access key needs at least " +
                                std::to_string(limits::kMinAccessKey) +
                                " letters, digits, '-', '_', '.' or '~'");
  }
}

bool AccessGuard::admits(const HttpRequest& request) const {
  const std::string* given = nullptr;
  for (const auto& [name, value] : request.queryParams) {
    if (name == kAccessKeyItem) {
      given = &value;
      break;
    }
  }
  if (!given) return false;
  unsigned difference = given->size() == key_.size() ? 0u : 1u;
  for (std::size_t i = 0; i < key_.size(); ++i) {
    unsigned char offered = i < given->size() ? static_cast<unsigned char>((*given)[i]) : 0;
    difference |= static_cast<unsigned char>(key_[i]) ^ offered;
  }
  return difference == 0;
}

HttpResponse AccessGuard::refuse(const HttpRequest& request) {
  std::lock_guard lock(reportMutex_);
  const auto now = now_();
  if (lastReport_ && now - *lastReport_ < std::chrono::seconds(limits::kRefusalReportSeconds)) {
    ++unreported_;
    return HttpResponse::forbidden();
  }
  std::string line = "Refused a request without the access key: " + request.method + " " +
                     reportablePath(request.path);
  if (request.address && !request.address->empty()) line += " from " + *request.address;
  if (unreported_ > 0) line += " (and " + std::to_string(unreported_) + " more since the last)";
  lastReport_ = now;
  unreported_ = 0;
  log_(line);
  return HttpResponse::forbidden();
}

std::string newAccessKey() {
  unsigned char bytes[limits::kAccessKeyBytes];
  std::size_t filled = 0;
  while (filled < sizeof bytes) {
    ssize_t got = ::getrandom(bytes + filled, sizeof bytes - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "getrandom");
    }
    filled += static_cast<std::size_t>(got);
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string key;
  key.reserve(2 * sizeof bytes);
  for (unsigned char byte : bytes) {
    key += kDigits[byte >> 4];
    key += kDigits[byte & 0x0f];
  }
  return key;
}

bool isUsableAccessKey(std::string_view key) {
  if (key.size() < limits::kMinAccessKey) return false;
  for (char c : key) {
    bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '-' || c == '_' || c == '.' || c == '~';
    if (!unreserved) return false;
  }
  return true;
}

Handler keyRequired(std::shared_ptr<AccessGuard> guard, Handler handler) {
  return [guard = std::move(guard), handler = std::move(handler)](HttpRequest& request) {
    if (!guard->admits(request)) return guard->refuse(request);
    return handler(request);
  };
}

std::function<std::optional<HttpResponse>(HttpRequest&)> upgradesNeedKey(
    std::shared_ptr<AccessGuard> guard) {
  return [guard = std::move(guard)](HttpRequest& request) -> std::optional<HttpResponse> {
    // Browsers cannot add headers to a WebSocket handshake, but they send its query.
    if (!request.headerHasToken("upgrade", "websocket") || guard->admits(request)) {
      return std::nullopt;
    }
    return guard->refuse(request);
  };
}

}  // namespace dravin
