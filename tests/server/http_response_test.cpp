#include "http_response.h"

#include <gtest/gtest.h>

#include <cmath>

#include "file.h"

using namespace dravin;

namespace {

// Collects what a body writer writes.
class Collector : public HttpResponseBodyWriter {
 public:
  using HttpResponseBodyWriter::write;
  void write(File&) override { bytes += "<file>"; }
  void write(std::span<const std::uint8_t> data) override {
    bytes.append(data.begin(), data.end());
  }
  std::string bytes;
};

std::string bodyOf(const HttpResponse& response) {
  Collector collector;
  auto content = response.bodyContent();
  if (content.writer) content.writer(collector);
  if (content.length >= 0) {
    EXPECT_EQ(static_cast<std::size_t>(content.length), collector.bytes.size());
  }
  return collector.bytes;
}

}  // namespace

TEST(HttpResponse, StatusAndHeaders) {
  const std::string server = "Dravin " PROJECT_VERSION_TEXT;
  {  // html: length, type and the server name
    auto response = HttpResponse::ok(HttpResponseBody::html("<b>x</b>"));
    EXPECT_EQ(response.code(), 200);
    EXPECT_EQ(response.reason(), "OK");
    EXPECT_EQ(response.bodyContent().length, 8);
    EXPECT_EQ(response.headerMap(), (HeaderMap{{"Content-Type", "text/html"}, {"Server", server}}));
  }
  {  // text and htmlBody carry no content type; data carries the one given
    EXPECT_EQ(HttpResponse::ok(HttpResponseBody::text("t")).headerMap(),
              (HeaderMap{{"Server", server}}));
    EXPECT_EQ(bodyOf(HttpResponse::ok(HttpResponseBody::htmlBody("hi"))),
              "<html><meta charset=\"UTF-8\"><body>hi</body></html>");
    auto data = HttpResponse::ok(HttpResponseBody::data({1, 2, 3}, "image/png"));
    EXPECT_EQ(data.headerMap().at("Content-Type"), "image/png");
    EXPECT_EQ(bodyOf(data), "\x01\x02\x03");
  }
  {  // cases without a body: unknown length, no writer
    for (auto response :
         {HttpResponse::notFound(), HttpResponse::forbidden(), HttpResponse::created()}) {
      EXPECT_EQ(response.bodyContent().length, -1);
      EXPECT_FALSE(response.bodyContent().writer);
    }
    EXPECT_EQ(HttpResponse::badRequest().bodyContent().length, -1);
    EXPECT_EQ(bodyOf(HttpResponse::badRequest(HttpResponseBody::text("why"))), "why");
  }
  {  // redirects
    auto moved = HttpResponse::movedTemporarily("/x");
    EXPECT_EQ(moved.code(), 307);
    EXPECT_EQ(moved.reason(), "Moved Temporarily");
    EXPECT_EQ(moved.headerMap().at("Location"), "/x");
    EXPECT_EQ(HttpResponse::movedPermanently("/y").code(), 301);
  }
  {  // raw: its own headers may replace Server, never a length
    auto raw =
        HttpResponse::raw(206, "Partial", HeaderMap{{"Server", "X"}},
                          [](HttpResponseBodyWriter& w) { w.write(std::string_view("abc")); });
    EXPECT_EQ(raw.code(), 206);
    EXPECT_EQ(raw.reason(), "Partial");
    EXPECT_EQ(raw.headerMap(), (HeaderMap{{"Server", "X"}}));
    EXPECT_EQ(raw.bodyContent().length, -1);
    EXPECT_EQ(bodyOf(raw), "abc");
  }
  {  // only the upgrade carries a session
    auto upgrade = HttpResponse::switchProtocols({{"Upgrade", "WebSocket"}}, [](const auto&) {});
    EXPECT_EQ(upgrade.code(), 101);
    EXPECT_EQ(upgrade.headerMap().at("Upgrade"), "WebSocket");
    EXPECT_TRUE(upgrade.upgradeSession());
    EXPECT_FALSE(HttpResponse::ok(HttpResponseBody::text("")).upgradeSession());
  }
}

TEST(HttpResponse, JsonBodies) {
  auto json = [](nlohmann::json value) {
    return bodyOf(HttpResponse::ok(HttpResponseBody::json(value)));
  };
  EXPECT_EQ(json({{"b", 1}, {"a", {1, 2.5, "x"}}}), R"({"a":[1,2.5,"x"],"b":1})");
  EXPECT_EQ(json(nlohmann::json::array()), "[]");
  EXPECT_EQ(json(5), "Serialisation error: invalidObject") << "a bare number is no object tree";
  EXPECT_EQ(json("text"), "Serialisation error: invalidObject");
  EXPECT_EQ(json({{"n", std::nan("")}}), "Serialisation error: invalidObject");
  EXPECT_EQ(json({{"s", "\xff"}}), "Serialisation error: invalidObject")
      << "a string that is not UTF-8";
  EXPECT_EQ(HttpResponse::ok(HttpResponseBody::json(5)).code(), 200) << "the status stays";

  auto custom = HttpResponseBody::custom(
      42, [](const std::any& v) { return std::to_string(std::any_cast<int>(v)); });
  EXPECT_EQ(bodyOf(HttpResponse::ok(custom)), "42");
  auto failing = HttpResponseBody::custom(42, [](const std::any&) -> std::string {
    throw SerializationError{SerializationError::Kind::notSupported};
  });
  EXPECT_EQ(bodyOf(HttpResponse::ok(failing)), "Serialisation error: notSupported");
}
