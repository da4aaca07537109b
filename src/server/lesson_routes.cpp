#include "lesson_routes.h"

#include <filesystem>
#include <stdexcept>

#include "access_guard.h"
#include "http_server.h"

namespace dravin {

namespace fs = std::filesystem;

void registerStandardRoutes(HttpServer& server, const std::string& lessonFolder,
                            std::shared_ptr<AccessGuard> guard) {
  if (!guard) throw std::invalid_argument("the file routes need an access guard");
  server.middleware.push_back(upgradesNeedKey(guard));
  // Lessons first: a lesson folder named "files" must not take the place of the file route.
  if (!lessonFolder.empty()) registerLessonRoutes(server, lessonFolder);
  // The guard wraps the handler rather than matching paths, so every spelling of the path that
  // the router takes for this route ("/%66iles/...") meets it too.
  server["/files/:path"] = keyRequired(std::move(guard), server.serveFolder("/", kIndexNames));
  server["/"] = server.welcomePage();
}

void registerLessonRoutes(HttpServer& server, const std::string& lessonFolder) {
  server["/:path"] = server.serveFolder(lessonFolder, kIndexNames);

  std::error_code error;
  fs::path base(lessonFolder);
  fs::recursive_directory_iterator entries(base, fs::directory_options::skip_permission_denied,
                                           error);
  for (auto end = fs::recursive_directory_iterator(); !error && entries != end;
       entries.increment(error)) {
    const fs::directory_entry& entry = *entries;
    bool hidden = entry.path().filename().string().starts_with('.');
    std::error_code typeError;
    bool isFolder = entry.is_directory(typeError);
    if (hidden || typeError) {
      if (hidden && isFolder) entries.disable_recursion_pending();
      continue;
    }
    if (!isFolder) continue;
    // Taken relative to the lesson folder, so a folder of the same name higher up the path
    // cannot shift the route.
    std::string route = "/" + entry.path().lexically_relative(base).generic_string() + "/:path";
    server[route] = server.serveFolder(entry.path().string(), kIndexNames);
  }
}

}  // namespace dravin
