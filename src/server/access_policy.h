#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "http_request.h"

// The server hands out any file of the machine, so it must answer only this machine's own pages:
// a Host naming anything but the loopback names (DNS rebinding) is refused, and other origins
// get no CORS permission.
namespace dravin::access {

// True when the request has no Host or its Host is localhost, 127.0.0.1 or [::1], any port.
bool isAllowedHost(const HttpRequest& request);

// The request's Origin when it is this server's own (http://localhost:PORT or
// http://127.0.0.1:PORT) or the application's local pages ("file://"), to be echoed in
// Access-Control-Allow-Origin.
std::optional<std::string> ownOrigin(const HttpRequest& request, std::uint16_t port);

}  // namespace dravin::access
