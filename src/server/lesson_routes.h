#pragma once

#include <string>
#include <vector>

namespace dravin {

class HttpServer;

inline const std::vector<std::string> kIndexNames{"index.html", "default.html"};

// The routes every server of the application has: "/files/:path" over the whole file system,
// the welcome page at "/", and the lesson folder (when given) with one route per sub-folder.
void registerStandardRoutes(HttpServer& server, const std::string& lessonFolder);

// "/:path" for the lesson folder and "/a/b/:path" for each sub-folder a/b, since a route
// variable matches one path segment only.
void registerLessonRoutes(HttpServer& server, const std::string& lessonFolder);

}  // namespace dravin
