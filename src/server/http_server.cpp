#include "http_server.h"

#include "access_policy.h"
#include "file.h"
#include "html_builder.h"
#include "mime_types.h"

namespace dravin {

namespace {

// The file is closed by the writer, whatever happens to the connection.
BodyWriter fileWriter(std::shared_ptr<File> file) {
  return [file](HttpResponseBodyWriter& writer) {
    writer.write(*file);
    file->close();
  };
}

std::optional<std::shared_ptr<File>> openRegularFile(const std::string& path) {
  try {
    auto file = std::make_shared<File>(File::openRead(path));
    // A folder opens for reading too, but has no bytes to send.
    if (!file->isRegular()) return std::nullopt;
    return file;
  } catch (const FileError&) {
    return std::nullopt;
  }
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

HttpServerIO::Selection HttpServer::selectHandler(HttpRequest& request) {
  for (const auto& callback : middleware) {
    if (auto response = callback(request)) {
      return {{}, [answer = *response](HttpRequest&) { return answer; }};
    }
  }
  if (auto match = router.findRoute(request.method, request.path); match && match->handler) {
    return {std::move(match->params), std::move(match->handler)};
  }
  if (notFoundHandler) return {{}, *notFoundHandler};
  return HttpServerIO::selectHandler(request);
}

HeaderMap HttpServer::fileHeaders(const HttpRequest& request) const {
  // Caches must not hand one origin's answer to another.
  HeaderMap headers{{"Vary", "Origin"}};
  if (auto origin = access::ownOrigin(request, boundPort())) {
    headers["Access-Control-Allow-Origin"] = *origin;
  }
  return headers;
}

Handler HttpServer::serveFolder(const std::string& directory, std::vector<std::string> defaults) {
  return [this, directory, defaults = std::move(defaults)](HttpRequest& request) {
    if (request.params.empty()) return HttpResponse::notFound();
    const std::string& value = request.params.begin()->second;
    if (value.empty()) {
      for (const auto& name : defaults) {
        if (auto file = openRegularFile(directory + "/" + name)) {
          return HttpResponse::raw(200, "OK", fileHeaders(request), fileWriter(*file));
        }
      }
    }
    auto file = openRegularFile(replaceAll(directory + "/" + value, "@@", "/"));
    // The application's own pages may read the status: a refused cross-origin read instead
    // would be reported by the web engine in its log, the whole address and key with it.
    if (!file) return HttpResponse::raw(404, "Not Found", fileHeaders(request));

    HeaderMap headers{{"Content-Type", mimeTypeFor(value)}};
    if (auto size = (*file)->size()) {
      headers["Content-Length"] = std::to_string(*size);
      headers.merge(fileHeaders(request));
    }
    return HttpResponse::raw(200, "OK", headers, fileWriter(*file));
  };
}

Handler HttpServer::welcomePage() {
  // An inline picture, so the page needs no network.
  static const std::string kPicture =
      "data:image/svg+xml,%3Csvg xmlns='http://www.w3.org/2000/svg' width='480' height='120'%3E"
      "%3Ctext x='240' y='72' font-family='sans-serif' font-size='40' text-anchor='middle' "
      "fill='%23205080'%3EPelora Dravin%3C/text%3E%3C/svg%3E";
  return [](HttpRequest&) {
    HtmlBuilder builder;
    builder.element("html", {}, [](HtmlBuilder& html) {
      html.element("body", {}, [](HtmlBuilder& body) {
        body.element("center", {}, [](HtmlBuilder& center) {
          center.element("img", {{"src", kPicture}});
        });
      });
    });
    std::string page = builder.html();
    return HttpResponse::raw(
        200, "OK", HeaderMap{{"Content-Type", "text/html"}},
        [page](HttpResponseBodyWriter& writer) { writer.write(std::string_view(page)); });
  };
}

}  // namespace dravin
