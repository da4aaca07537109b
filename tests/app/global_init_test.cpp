#include "global_init.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <filesystem>
#include <fstream>
#include <regex>

#include "http_server.h"
#include "socket.h"
#include "storage_folders.h"
#include "test_support.h"

using namespace dravin;
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs initGlobal on a port the system picks and returns what it logged.
std::string initOnFreePort(const test::TempDir& storage, const test::TempDir& resources) {
  qputenv("DRAVIN_HTTP_PORT", "0");
  testing::internal::CaptureStdout();
  initGlobal(QString::fromStdString(storage.path().string()),
             QString::fromStdString(resources.path().string()));
  return testing::internal::GetCapturedStdout();
}

std::uint16_t loggedPort(const std::string& log) {
  std::smatch match;
  if (!std::regex_search(
          log, match,
          std::regex(R"(Server has started \( port = (\d+) \)\. Try to connect now\.\.\.)"))) {
    return 0;
  }
  return static_cast<std::uint16_t>(std::stoi(match[1]));
}

void stopServer() {
  if (server()) server()->stop();
  server().reset();
}

}  // namespace

TEST(InitGlobal, CreatesTheTreeAndRefreshesTemplates) {
  test::TempDir storage, resources;
  resources.write("templates/templates.json", R"({"new":true})");
  resources.write("templates/grid.png", "new grid");
  resources.write("templates/math/axes.png", "new axes");
  resources.write("peloralessons/index.html", "lessons");
  storage.write("Nolbek/~templates/grid.png", "old grid");
  storage.write("Nolbek/~templates/math/stale.png", "stale");
  storage.write("Nolbek/~templates/mine.png", "mine");

  std::string log = initOnFreePort(storage, resources);
  EXPECT_TRUE(log.starts_with("Init Global: \n")) << log;
  ASSERT_NE(loggedPort(log), 0) << log;

  fs::path root = storage.path() / "Nolbek";
  for (auto folder : {"images", "videos", "~library", "~templates", "~bookmark"}) {
    EXPECT_TRUE(fs::is_directory(root / folder)) << folder;
  }
  EXPECT_EQ(slurp(root / "~templates/grid.png"), "new grid")
      << "a packaged template replaces the user's";
  EXPECT_EQ(slurp(root / "~templates/templates.json"), R"({"new":true})");
  EXPECT_EQ(slurp(root / "~templates/math/axes.png"), "new axes");
  EXPECT_FALSE(fs::exists(root / "~templates/math/stale.png"))
      << "a packaged folder replaces the user's whole";
  EXPECT_EQ(slurp(root / "~templates/mine.png"), "mine") << "the user's own template stays";

  ASSERT_TRUE(storageFolders());
  EXPECT_EQ(storageFolders()->images.toStdString(), (root / "images").string() + "/");
  stopServer();
}

TEST(InitGlobal, ServesNestedLessonsOverHttp) {
  test::TempDir storage, resources;
  resources.write("peloralessons/lesson1.html", "one");
  resources.write("peloralessons/a/page.html", "a page");
  resources.write("peloralessons/a/b/deep.html", "deep page");
  resources.write("templates/t.png", "t");
  auto port = std::to_string(loggedPort(initOnFreePort(storage, resources)));
  auto get = [&](const std::string& path) {
    return test::run("curl -s --max-time 10 http://127.0.0.1:" + port + path).output;
  };
  EXPECT_EQ(get("/lesson1.html"), "one");
  EXPECT_EQ(get("/a/page.html"), "a page");
  EXPECT_EQ(get("/a/b/deep.html"), "deep page");
  EXPECT_NE(get("/").find("<html><body><center><img"), std::string::npos);
  auto stored = storage.write("Nolbek/images/snap.png", "snapshot");
  const std::string file = "/files/" + test::atPath(stored);
  EXPECT_EQ(get(file + "?key=" + accessKey().toStdString()), "snapshot");
  // Only the application's pages have the key; any other program gets 403.
  EXPECT_EQ(test::run("curl -s -o /dev/null -w '%{http_code}' --max-time 10 http://127.0.0.1:" +
                      port + file)
                .output,
            "403");
  stopServer();
}

TEST(InitGlobal, TakenPortIsReportedAndLifeGoesOn) {
  test::TempDir storage, resources;
  auto taken = Socket::openListener(0, true, 8, std::nullopt);
  qputenv("DRAVIN_HTTP_PORT", QByteArray::number(taken->localPort()));
  testing::internal::CaptureStdout();
  initGlobal(QString::fromStdString(storage.path().string()),
             QString::fromStdString(resources.path().string()));
  std::string log = testing::internal::GetCapturedStdout();
  EXPECT_NE(log.find("Server start error: bindFailed(\"Address already in use\")\n"),
            std::string::npos)
      << log;
  EXPECT_TRUE(fs::is_directory(storage.path() / "Nolbek/images"))
      << "the folders are there all the same";
  EXPECT_NE(log.find("\nError\n"), std::string::npos) << "no packaged templates to copy";
  stopServer();
}
