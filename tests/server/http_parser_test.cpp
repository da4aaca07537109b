#include "http_parser.h"

#include <gtest/gtest.h>

#include "test_support.h"

using namespace dravin;
using namespace std::string_literals;

namespace {

HttpRequest parse(const std::string& bytes) {
  test::SocketPair pair;
  pair.send(bytes);
  pair.closePeer();
  return HttpParser::readRequest(*pair.socket);
}

HttpParserError::Kind parseError(const std::string& bytes) {
  try {
    parse(bytes);
  } catch (const HttpParserError& error) {
    return error.kind();
  }
  throw std::runtime_error("no parser error");
}

HttpRequest withBody(const std::string& contentType, const std::string& body) {
  HttpRequest request;
  request.headers["content-type"] = contentType;
  request.body.assign(body.begin(), body.end());
  return request;
}

}  // namespace

TEST(HttpParser, RequestLine) {
  {  // the path as sent, query items in order, an item without '='
    auto r = parse("GET /a%20b?x=1&y HTTP/1.1\r\n\r\n");
    EXPECT_EQ(r.method, "GET");
    EXPECT_EQ(r.path, "/a%20b");
    EXPECT_EQ(r.queryParams, (StringPairs{{"x", "1"}, {"y", ""}}));
  }
  {  // escapes and '+' in the query stay as sent, duplicates are kept
    auto r = parse("post /files/x.js?v=a%2Fb&v=c+d HTTP/1.1\r\n\r\n");
    EXPECT_EQ(r.method, "post");
    EXPECT_EQ(r.queryParams, (StringPairs{{"v", "a%2Fb"}, {"v", "c+d"}}));
  }
  {  // an absolute target contributes only its path
    auto r = parse("GET http://localhost:9080/a/b?q=1 HTTP/1.1\r\n\r\n");
    EXPECT_EQ(r.path, "/a/b");
  }
  {  // two pieces only, or an empty line
    EXPECT_EQ(parseError("GET /\r\n\r\n"), HttpParserError::Kind::invalidStatusLine);
    EXPECT_EQ(parseError("\r\n\r\n"), HttpParserError::Kind::invalidStatusLine);
  }
  {  // the peer went away mid-request
    EXPECT_THROW(parse("GET / HTTP/1.1\r\nHost: a"), SocketError);
  }
}

TEST(HttpParser, Headers) {
  auto r = parse(
      "GET / HTTP/1.1\r\nHost: first\r\nHOST:  last \t\r\nX-Colon: "
      "a:b:c\r\nNoColon\r\n:lead\r\n\r\n");
  EXPECT_EQ(r.headers.at("host"), "last") << "the last repeated header wins, values trimmed";
  EXPECT_EQ(r.headers.at("x-colon"), "a:b:c") << "split at the first colon only";
  EXPECT_EQ(r.headers.at("nocolon"), "NoColon");
  EXPECT_EQ(r.headers.at("lead"), "lead");
  EXPECT_TRUE(r.body.empty());
}

TEST(HttpParser, ContentLength) {
  {  // exactly the declared bytes; the rest stays for the next request
    test::SocketPair pair;
    pair.send("POST /a HTTP/1.1\r\nContent-Length: 5\r\n\r\nhelloGET /b HTTP/1.1\r\n\r\n");
    auto first = HttpParser::readRequest(*pair.socket);
    EXPECT_EQ(std::string(first.body.begin(), first.body.end()), "hello");
    EXPECT_EQ(HttpParser::readRequest(*pair.socket).path, "/b");
  }
  EXPECT_EQ(parseError("POST / HTTP/1.1\r\nContent-Length: -5\r\n\r\n"),
            HttpParserError::Kind::negativeContentLength);
  EXPECT_TRUE(parse("POST / HTTP/1.1\r\nContent-Length: abc\r\n\r\nxyz").body.empty());
  EXPECT_TRUE(
      parse("POST / HTTP/1.1\r\nContent-Length: 99999999999999999999999\r\n\r\n").body.empty());
}

TEST(HttpParser, BoundsStopBeforeAllocating) {
  EXPECT_EQ(parseError("GET /" + std::string(64 * 1024, 'a') + " HTTP/1.1\r\n\r\n"),
            HttpParserError::Kind::lineTooLong);
  EXPECT_EQ(parseError("GET / HTTP/1.1\r\nX: " + std::string(64 * 1024, 'a') + "\r\n\r\n"),
            HttpParserError::Kind::lineTooLong);

  std::string headers;
  for (int i = 0; i < 100; ++i) headers += "H" + std::to_string(i) + ": v\r\n";
  EXPECT_EQ(parse("GET / HTTP/1.1\r\n" + headers + "\r\n").headers.size(), 100u);
  EXPECT_EQ(parseError("GET / HTTP/1.1\r\n" + headers + "One: more\r\n\r\n"),
            HttpParserError::Kind::tooManyHeaders);

  EXPECT_EQ(parseError("POST / HTTP/1.1\r\nContent-Length: 67108865\r\n\r\n"),
            HttpParserError::Kind::bodyTooLarge);
}

TEST(HttpParser, KeepAliveAndTokens) {
  EXPECT_TRUE(HttpParser::wantsKeepAlive({{"connection", " keep-alive "}}));
  EXPECT_FALSE(HttpParser::wantsKeepAlive({{"connection", "Keep-Alive"}}));
  EXPECT_FALSE(HttpParser::wantsKeepAlive({{"connection", "close"}}));
  EXPECT_FALSE(HttpParser::wantsKeepAlive({}));

  HttpRequest request;
  request.headers["connection"] = "keep-alive, Upgrade";
  EXPECT_TRUE(request.headerHasToken("connection", "upgrade"));
  EXPECT_TRUE(request.headerHasToken("connection", "keep-alive"));
  EXPECT_FALSE(request.headerHasToken("connection", "close"));
  EXPECT_FALSE(request.headerHasToken("upgrade", "websocket"));
}

TEST(HttpRequest, FormFields) {
  auto form = "application/x-www-form-urlencoded; charset=utf-8";
  EXPECT_EQ(withBody(form, "a=1&b=2%2B3&c").parseFormFields(),
            (StringPairs{{"a", "1"}, {"b", "2+3"}, {"", ""}}));
  EXPECT_EQ(withBody(form, "name=John+Smith&bad=%zz").parseFormFields(),
            (StringPairs{{"name", "John Smith"}, {"", ""}}));
  EXPECT_TRUE(withBody("text/plain", "a=1").parseFormFields().empty());
  EXPECT_TRUE(withBody(form, "a=\xff").parseFormFields().empty()) << "a body that is not UTF-8";
}

TEST(HttpRequest, MultipartParts) {
  auto type = "multipart/form-data; boundary=X";
  std::string body =
      "--X\r\n"
      "Content-Disposition: form-data; name=\"field\"\r\n"
      "\r\n"
      "value\r\n"
      "--X\r\n"
      "Content-Disposition: form-data; name=\"upload\"; filename=\"a=b.png\"\r\n"
      "Content-Type: image/png\r\n"
      "\r\n"
      "\x89PNG\r\n\x00\x01--\r\n"
      "--X--\r\n"s;
  auto parts = withBody(type, body).parseMultipartParts();
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_EQ(parts[0].partName(), "field");
  EXPECT_EQ(parts[0].partFileName(), std::nullopt);
  EXPECT_EQ(std::string(parts[0].body.begin(), parts[0].body.end()), "value");
  EXPECT_EQ(parts[1].partName(), "upload");
  EXPECT_EQ(parts[1].partFileName(), "a=b.png");
  EXPECT_EQ(parts[1].headers.at("content-type"), "image/png");
  EXPECT_EQ(std::string(parts[1].body.begin(), parts[1].body.end()),
            std::string("\x89PNG\r\n\x00\x01--", 10))
      << "binary bytes kept, only the CR LF before the delimiter removed";

  EXPECT_TRUE(withBody(type, "preamble\r\n--X\r\n\r\nv\r\n--X--").parseMultipartParts().empty());
  EXPECT_TRUE(withBody("multipart/form-data", body).parseMultipartParts().empty()) << "no boundary";
  EXPECT_TRUE(withBody(type, "--X\r\n\r\nunterminated").parseMultipartParts().empty());
}
