#pragma once

#include <memory>
#include <string>
#include <vector>

namespace dravin {

class AccessGuard;
class HttpServer;

inline const std::vector<std::string> kIndexNames{"index.html", "default.html"};

// The routes every server of the application has: "/files/:path" over the whole file system,
// open only to requests with `guard`'s key, the welcome page at "/", and the lesson folder (when
// given) with one route per sub-folder. Every WebSocket upgrade needs the key too. Throws
// std::invalid_argument without a guard.
void registerStandardRoutes(HttpServer& server, const std::string& lessonFolder,
                            std::shared_ptr<AccessGuard> guard);

// "/:path" for the lesson folder and "/a/b/:path" for each sub-folder a/b, since a route
// variable matches one path segment only.
void registerLessonRoutes(HttpServer& server, const std::string& lessonFolder);

}  // namespace dravin
