#include "http_router.h"

#include <gtest/gtest.h>

using namespace dravin;

namespace {

Handler answering(const std::string& name) {
  return [name](HttpRequest&) { return HttpResponse::ok(HttpResponseBody::text(name)); };
}

// The name of the handler a lookup finds, or "none".
std::string found(const HttpRouter& router, const std::string& method, const std::string& path,
                  StringMap* params = nullptr) {
  auto match = router.findRoute(method, path);
  if (!match || !match->handler) return "none";
  if (params) *params = match->params;
  HttpRequest request;
  auto content = match->handler(request).bodyContent();
  struct Collect : HttpResponseBodyWriter {
    using HttpResponseBodyWriter::write;
    void write(File&) override {}
    void write(std::span<const std::uint8_t> b) override { text.append(b.begin(), b.end()); }
    std::string text;
  } collect;
  content.writer(collect);
  return collect.text;
}

}  // namespace

TEST(HttpRouter, Variables) {
  HttpRouter router;
  router.addRoute(std::nullopt, "/files/:path", answering("files"));
  StringMap params;
  EXPECT_EQ(found(router, "GET", "/files/x.js", &params), "files");
  EXPECT_EQ(params, (StringMap{{":path", "x.js"}}));
  EXPECT_EQ(found(router, "GET", "/files/a%2Fb.js", &params), "files");
  EXPECT_EQ(params.at(":path"), "a/b.js") << "a segment is percent-decoded";
  EXPECT_EQ(found(router, "GET", "/files/a/b.js"), "none") << "a variable is one segment";
  EXPECT_EQ(found(router, "GET", "/files/x.js?v=3"), "files");
  EXPECT_EQ(found(router, "GET", "/files/%zz"), "none");
  EXPECT_EQ(found(router, "GET", "/files"), "none");
}

TEST(HttpRouter, RootMethodsAndOrder) {
  HttpRouter router;
  router.addRoute(std::nullopt, "/", answering("welcome"));
  router.addRoute("POST", "/upload", answering("upload"));
  router.addRoute(std::nullopt, "/:path", answering("lesson"));
  router.addRoute(std::nullopt, "/index.html", answering("literal"));
  router.addRoute("GET", "/a", answering("first"));
  router.addRoute("GET", "/a", answering("second"));
  router.addRoute("GET", "/w/*/end", answering("wild"));
  router.addRoute("GET", "/deep/**/end", answering("deep"));

  EXPECT_EQ(found(router, "GET", "/"), "welcome");
  EXPECT_EQ(found(router, "GET", "//"), "welcome") << "empty segments are dropped";
  EXPECT_EQ(found(router, "POST", "/upload"), "upload");
  EXPECT_EQ(found(router, "GET", "/upload"), "lesson") << "a POST route is not a GET route";
  EXPECT_EQ(found(router, "post", "/upload"), "lesson") << "methods are case-sensitive";
  EXPECT_EQ(found(router, "GET", "/index.html"), "lesson") << "variables come before literals";
  EXPECT_EQ(found(router, "GET", "/a"), "second") << "registering again replaces the handler";
  EXPECT_EQ(found(router, "GET", "/w/anything/end"), "wild");
  EXPECT_EQ(found(router, "GET", "/w/a/b/end"), "none");
  EXPECT_EQ(found(router, "GET", "/deep/a/b/c/end"), "deep");
  EXPECT_EQ(found(router, "GET", "/deep/end"), "none") << "** takes at least one segment";
}

TEST(HttpRouter, RouteWithoutHandler) {
  HttpRouter router;
  router.addRoute(std::nullopt, "/empty", nullptr);
  router.addRoute("GET", "/method-only", nullptr);
  auto match = router.findRoute("GET", "/empty");
  ASSERT_TRUE(match) << "the route matches, with nothing to answer";
  EXPECT_FALSE(match->handler);
  EXPECT_FALSE(router.findRoute("GET", "/method-only")) << "a method route needs a handler";
  EXPECT_FALSE(router.findRoute("GET", "/other"));
}
