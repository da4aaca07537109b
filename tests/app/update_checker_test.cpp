#include "update_checker.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "http_server.h"

using namespace dravin;

namespace {

constexpr int kWaitMs = 10000;

// Serves fixed bytes per path over loopback; a request for any other path gets `fallback` when
// set, else 404. Remembers every request's path and query.
class FeedServer {
 public:
  FeedServer() : state_(std::make_shared<State>()) {
    server_->middleware.push_back([state = state_](HttpRequest& request) {
      std::lock_guard lock(state->mutex);
      state->requests.push_back({request.path, request.queryParams});
      auto found = state->files.find(request.path);
      const std::optional<std::string>& bytes =
          found != state->files.end() ? std::optional(found->second) : state->fallback;
      if (!bytes) return std::optional<HttpResponse>();
      return std::optional(HttpResponse::ok(HttpResponseBody::data(
          std::vector<std::uint8_t>(bytes->begin(), bytes->end()), "application/octet-stream")));
    });
    server_->start(0);
    port_ = server_->localPort();
  }
  ~FeedServer() { stop(); }

  void serve(const std::string& path, const std::string& bytes) {
    std::lock_guard lock(state_->mutex);
    state_->files[path] = bytes;
  }
  void forget(const std::string& path) {
    std::lock_guard lock(state_->mutex);
    state_->files.erase(path);
  }
  void serveAnyPath(const std::string& bytes) {
    std::lock_guard lock(state_->mutex);
    state_->fallback = bytes;
  }
  std::vector<std::pair<std::string, StringPairs>> requests() const {
    std::lock_guard lock(state_->mutex);
    return state_->requests;
  }
  QString url(const QString& path) const {
    return "http://127.0.0.1:" + QString::number(port_) + path;
  }
  void stop() {
    server_->stop();
    server_->waitForConnections(std::chrono::seconds(5));
  }

 private:
  struct State {
    mutable std::mutex mutex;
    std::map<std::string, std::string> files;
    std::optional<std::string> fallback;
    std::vector<std::pair<std::string, StringPairs>> requests;
  };
  std::shared_ptr<State> state_;
  std::shared_ptr<HttpServer> server_ = std::make_shared<HttpServer>();
  std::uint16_t port_ = 0;
};

std::string feed(const std::string& version, const std::string& location) {
  return R"(<?xml version="1.0" encoding="UTF-8"?><update version=")" + version +
         R"(" downloadLocation=")" + location + R"(" minimumSystem="12"/>)";
}

void runCheck(UpdateChecker& checker) {
  QSignalSpy finished(&checker, &UpdateChecker::checkFinished);
  checker.checkForUpdate();
  ASSERT_TRUE(finished.wait(kWaitMs)) << "checkFinished was not emitted";
  EXPECT_EQ(finished.count(), 1);
}

struct DownloadResult {
  bool called = false;
  bool calledBeforeReturn = false;
  QString path;
};

DownloadResult download(UpdateChecker& checker, const QString& address, const QString& root) {
  auto result = std::make_shared<DownloadResult>();
  checker.downloadUpdate(address, root, [result](const QString& path) {
    result->called = true;
    result->path = path;
  });
  result->calledBeforeReturn = result->called;
  EXPECT_TRUE(QTest::qWaitFor([&] { return result->called; }, kWaitMs));
  return *result;
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file and link below `base`, hidden ones included.
QStringList everythingBelow(const QString& base) {
  QStringList found;
  QDirIterator it(base, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) found << it.next();
  return found;
}

}  // namespace

TEST(UpdateVersion, ComparesComponentsNumericallyWithTextFallback) {
  struct Case {
    const char* a;
    const char* b;
    int order;
  };
  const Case cases[] = {
      {"1.10", "1.9", 1},   {"1.9", "1.10", -1},
      {"2.0", "2.0.0", 0},  {"2.0", "2.0.1", -1},
      {"2.0.1", "2", 1},    {"1.2", "1.2", 0},
      {"01.2", "1.02", 0},  {"10", "9", 1},
      {"1.2a", "1.2b", -1}, {"1.2b", "1.2a", 1},
      {"1.2", "1.2a", -1},  {"", "0.1", -1},
      {" 1.2 ", "1.2", 0},  {"99999999999999999999.1", "99999999999999999998.9", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(compareVersions(c.a, c.b), c.order) << c.a << " vs " << c.b;
  }
}

TEST(UpdateCheck, OffersOnlyANewerFeedVersion) {
  FeedServer server;
  struct Case {
    const char* running;
    const char* feedVersion;
    bool available;
  };
  const Case cases[] = {
      {"1.2.0", "1.2.0", false}, {"1.2.0", "1.3", true}, {"1.3", "1.2.9", false},
      {"1.9", "1.10", true},     {"1.10", "1.9", false}, {"2.0", "2.0.0", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.running) + " running, feed " + c.feedVersion);
    const std::string location = "https://downloads.example/Setup-" + std::string(c.feedVersion);
    server.serve("/feed.xml", feed(c.feedVersion, location));
    UpdateChecker checker(server.url("/feed.xml?4711"), c.running);
    QSignalSpy availableChanged(&checker, &UpdateChecker::updateAvailableChanged);
    runCheck(checker);
    EXPECT_EQ(checker.updateAvailable(), c.available);
    EXPECT_EQ(checker.updateDownloadUrl(), c.available ? QString::fromStdString(location) : "");
    EXPECT_EQ(availableChanged.count(), c.available ? 1 : 0);
  }
  const auto requests = server.requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().first, "/feed.xml");
  EXPECT_EQ(requests.back().second, (StringPairs{{"4711", ""}})) << "the address is sent as given";
}

TEST(UpdateCheck, UnusableAnswersKeepTheFlags) {
  FeedServer server;
  server.serve("/feed.xml", feed("3.0", "https://downloads.example/Setup-3.0"));
  UpdateChecker checker(server.url("/feed.xml"), "1.0");
  runCheck(checker);
  ASSERT_TRUE(checker.updateAvailable());
  const QString url = checker.updateDownloadUrl();

  // Each of these would turn the flag off if it were read as an up-to-date feed.
  const std::string answers[] = {
      R"(<update version="0.5"/>)",                           // no downloadLocation
      R"(<update downloadLocation="https://x.example/a"/>)",  // no version
      "",                                                     // no body
      "not xml at all",
      R"(<?xml version="1.0"?><!-- nothing but a comment -->)",
  };
  for (const std::string& answer : answers) {
    SCOPED_TRACE(answer);
    server.serve("/feed.xml", answer);
    runCheck(checker);
    EXPECT_TRUE(checker.updateAvailable());
    EXPECT_EQ(checker.updateDownloadUrl(), url);
  }

  {  // an HTTP error
    server.forget("/feed.xml");
    runCheck(checker);
    EXPECT_TRUE(checker.updateAvailable());
    EXPECT_EQ(checker.updateDownloadUrl(), url);
  }
  {  // a usable feed still counts afterwards
    server.serve("/feed.xml", feed("1.0", "https://downloads.example/Setup-1.0"));
    runCheck(checker);
    EXPECT_FALSE(checker.updateAvailable());
  }
  {  // nobody listening any more
    server.serve("/feed.xml", feed("3.0", "https://downloads.example/Setup-3.0"));
    runCheck(checker);
    server.stop();
    runCheck(checker);
    EXPECT_TRUE(checker.updateAvailable());
    EXPECT_EQ(checker.updateDownloadUrl(), url);
  }
}

TEST(UpdateFeed, AddressPerEditionWithOneRandomSuffix) {
  const QByteArray saved = qgetenv("DRAVIN_UPDATE_FEED");
  const bool wasSet = qEnvironmentVariableIsSet("DRAVIN_UPDATE_FEED");
  qunsetenv("DRAVIN_UPDATE_FEED");

  const QString pelora = updateFeedAddress(true);
  const QString tarvo = updateFeedAddress(false);
  EXPECT_TRUE(pelora.startsWith("https://updates.pelora-dravin.example/linux/pelora.xml?"));
  EXPECT_TRUE(tarvo.startsWith("https://updates.pelora-dravin.example/linux/tarvo.xml?"));
  const QString suffix = pelora.section('?', 1);
  bool isNumber = false;
  suffix.toUInt(&isNumber);
  EXPECT_TRUE(isNumber) << suffix.toStdString();
  EXPECT_EQ(tarvo.section('?', 1), suffix) << "one number per process";
  EXPECT_EQ(updateFeedAddress(true), pelora);

  qputenv("DRAVIN_UPDATE_FEED", "http://127.0.0.1:1/feed.xml");
  EXPECT_EQ(updateFeedAddress(true), "http://127.0.0.1:1/feed.xml?" + suffix);
  EXPECT_EQ(updateFeedAddress(false), "http://127.0.0.1:1/feed.xml?" + suffix);

  if (wasSet) {
    qputenv("DRAVIN_UPDATE_FEED", saved);
  } else {
    qunsetenv("DRAVIN_UPDATE_FEED");
  }
}

TEST(UpdateDownload, StoresTheFileAtomicallyInsideTheRoot) {
  FeedServer server;
  const std::string first("installer\0bytes\xff", 16);
  server.serve("/files/Setup%202.0.run", first);
  QTemporaryDir base;
  const QString root = base.path();
  UpdateChecker checker(server.url("/feed.xml"), "1.0");

  DownloadResult result = download(checker, server.url("/files/Setup%202.0.run"), root);
  EXPECT_FALSE(result.calledBeforeReturn);
  EXPECT_EQ(result.path, root + "/Setup 2.0.run");
  EXPECT_EQ(contents(result.path), QByteArray(first.data(), qsizetype(first.size())));
  EXPECT_EQ(everythingBelow(root), QStringList{result.path}) << "no temporary file is left";
  {  // a fresh random query on every download, after any query of its own
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    ASSERT_EQ(requests[0].second.size(), 1u);
    bool isNumber = false;
    QString::fromStdString(requests[0].second[0].first).toUInt(&isNumber);
    EXPECT_TRUE(isNumber);
    server.serve("/files/Setup.run", "x");
    download(checker, server.url("/files/Setup.run?token=abc#part"), root);
    const auto second = server.requests().back().second;
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0], (std::pair<std::string, std::string>{"token", "abc"}));
  }
  {  // a second download replaces the first
    server.serve("/files/Setup%202.0.run", "newer");
    result = download(checker, server.url("/files/Setup%202.0.run"), root);
    EXPECT_EQ(contents(result.path), "newer");
  }
}

TEST(UpdateDownload, NamesNeverLeaveTheRoot) {
  {  // names taken from addresses
    EXPECT_EQ(downloadFileName("https://h.example/a/Setup.run?x=1#y"), "Setup.run");
    EXPECT_EQ(downloadFileName("https://h.example/a/My%20Setup.run"), "My Setup.run");
    EXPECT_EQ(downloadFileName("https://h.example/a/%2E."), "update.bin");
    EXPECT_EQ(downloadFileName("https://h.example/a/."), "update.bin");
    EXPECT_EQ(downloadFileName("https://h.example/a/"), "update.bin");
    EXPECT_EQ(downloadFileName("https://h.example"), "update.bin");
    EXPECT_EQ(downloadFileName("https://h.example/a/x%00y"), "update.bin");
    EXPECT_EQ(downloadFileName("../../etc/x"), "x");
  }

  FeedServer server;
  server.serveAnyPath("payload");
  QTemporaryDir base;
  const QString root = base.path() + "/a/b/root";
  ASSERT_TRUE(QDir().mkpath(root));
  UpdateChecker checker(server.url("/feed.xml"), "1.0");

  const QString tricks[] = {"/files/..",          "/files/%2e%2e",
                            "/files/%2E%2e/",     "/files/../../etc/x",
                            "/files/..%2F..%2Fx", "/files/%2e%2e%2f%2e%2e%2fy"};
  for (const QString& trick : tricks) {
    SCOPED_TRACE(trick.toStdString());
    const DownloadResult result = download(checker, server.url(trick), root);
    EXPECT_EQ(QFileInfo(result.path).absolutePath(), root);
    EXPECT_EQ(contents(result.path), "payload");
    for (const QString& path : everythingBelow(base.path())) {
      EXPECT_TRUE(path.startsWith(root + "/")) << path.toStdString();
    }
  }
  EXPECT_TRUE(QFileInfo::exists(root + "/update.bin"));

  {  // a link planted under the target name is replaced, not written through
    const QString outside = base.path() + "/a/outside.txt";
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("untouched");
    file.close();
    ASSERT_TRUE(QFile::link(outside, root + "/Setup.run"));
    const DownloadResult result = download(checker, server.url("/files/Setup.run"), root);
    EXPECT_EQ(result.path, root + "/Setup.run");
    EXPECT_FALSE(QFileInfo(result.path).isSymLink());
    EXPECT_EQ(contents(result.path), "payload");
    EXPECT_EQ(contents(outside), "untouched");
  }
}

TEST(UpdateDownload, FailuresGiveAnEmptyPathAndNoFile) {
  FeedServer server;
  QTemporaryDir base;
  const QString root = base.path();
  UpdateChecker checker(server.url("/feed.xml"), "1.0");
  {  // HTTP 404
    const DownloadResult result = download(checker, server.url("/files/Setup.run"), root);
    EXPECT_TRUE(result.called);
    EXPECT_TRUE(result.path.isEmpty());
    EXPECT_TRUE(everythingBelow(root).isEmpty());
  }
  {  // a root folder that does not exist
    server.serve("/files/Setup.run", "bytes");
    const DownloadResult result = download(checker, server.url("/files/Setup.run"), root + "/gone");
    EXPECT_FALSE(result.calledBeforeReturn);
    EXPECT_TRUE(result.path.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(root + "/gone"));
  }
  {  // the name is taken by a folder
    ASSERT_TRUE(QDir(root).mkdir("Setup.run"));
    const DownloadResult result = download(checker, server.url("/files/Setup.run"), root);
    EXPECT_TRUE(result.path.isEmpty());
    EXPECT_TRUE(everythingBelow(root).isEmpty()) << "the temporary file is removed";
  }
  {  // nobody listening
    server.stop();
    const DownloadResult result = download(checker, server.url("/files/Other.run"), root);
    EXPECT_TRUE(result.path.isEmpty());
    EXPECT_TRUE(everythingBelow(root).isEmpty());
  }
}

TEST(UpdateInstall, OpensTheDownloadThenQuits) {
  FeedServer server;
  server.serve("/feed.xml", feed("9.0", server.url("/files/Setup-9.0.run").toStdString()));
  server.serve("/files/Setup-9.0.run", "installer");
  QTemporaryDir base;
  const QString root = base.path();

  struct Calls {
    QList<QUrl> opened;
    int quits = 0;
  };
  auto watch = [](UpdateChecker& checker, Calls& calls, bool opens) {
    checker.openUrl = [&calls, opens](const QUrl& url) {
      calls.opened << url;
      return opens;
    };
    checker.quitApplication = [&calls] { ++calls.quits; };
  };

  {  // nothing to install before a check found an update
    UpdateChecker checker(server.url("/feed.xml"), "1.0");
    Calls calls;
    watch(checker, calls, true);
    checker.installUpdate(root);
    EXPECT_TRUE(everythingBelow(root).isEmpty()) << "no download was started";
    EXPECT_TRUE(calls.opened.isEmpty());
  }
  {  // the file is opened, then the application quits
    UpdateChecker checker(server.url("/feed.xml"), "1.0");
    Calls calls;
    watch(checker, calls, true);
    runCheck(checker);
    ASSERT_TRUE(checker.updateAvailable());
    checker.installUpdate(root);
    ASSERT_TRUE(QTest::qWaitFor([&] { return calls.quits > 0; }, kWaitMs));
    EXPECT_EQ(calls.opened, QList<QUrl>{QUrl::fromLocalFile(root + "/Setup-9.0.run")});
    EXPECT_EQ(contents(root + "/Setup-9.0.run"), "installer");
    EXPECT_EQ(calls.quits, 1);
  }
  {  // a file that cannot be opened keeps the application running
    UpdateChecker checker(server.url("/feed.xml"), "1.0");
    Calls calls;
    watch(checker, calls, false);
    runCheck(checker);
    QSignalSpy finished(&checker, &UpdateChecker::downloadFinished);
    checker.installUpdate(root);
    ASSERT_TRUE(finished.wait(kWaitMs));
    EXPECT_EQ(calls.opened.size(), 1);
    EXPECT_EQ(calls.quits, 0);
  }
  {  // a failed download neither opens nor quits
    server.serve("/feed.xml", feed("9.0", server.url("/files/missing.run").toStdString()));
    UpdateChecker checker(server.url("/feed.xml"), "1.0");
    Calls calls;
    watch(checker, calls, true);
    runCheck(checker);
    ASSERT_TRUE(checker.updateAvailable());
    QSignalSpy finished(&checker, &UpdateChecker::downloadFinished);
    checker.installUpdate(root);
    ASSERT_TRUE(finished.wait(kWaitMs));
    EXPECT_EQ(finished.first().first().toString(), "");
    EXPECT_TRUE(calls.opened.isEmpty());
    EXPECT_EQ(calls.quits, 0);
  }
}
