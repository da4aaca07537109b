#include "update_checker.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QNetworkReply>
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

// Loopback server answering each path with the bytes last served for it ("*" for any other
// path), else 404. Routes are fixed once the server runs, so one handler looks the path up.
class FeedServer {
 public:
  FeedServer() {
    server_->notFoundHandler = [this](HttpRequest& request) {
      std::lock_guard lock(mutex_);
      lastQuery_ = request.queryParams;
      auto found = files_.find(request.path);
      if (found == files_.end()) found = files_.find("*");
      if (found == files_.end()) return HttpResponse::notFound();
      const std::string& bytes = found->second;
      return HttpResponse::ok(HttpResponseBody::data({bytes.begin(), bytes.end()}));
    };
    server_->start(0);
  }
  // Waiting for the workers keeps the handler from outliving this object.
  ~FeedServer() { stop(); }
  void stop() {
    server_->stop();
    server_->waitForConnections(std::chrono::seconds(5));
  }

  void serve(const std::string& path, const std::string& bytes) {
    std::lock_guard lock(mutex_);
    files_[path] = bytes;
  }
  StringPairs lastQuery() {
    std::lock_guard lock(mutex_);
    return lastQuery_;
  }
  QString url(const QString& path) const {
    return "http://127.0.0.1:" + QString::number(server_->localPort()) + path;
  }

 private:
  std::mutex mutex_;
  std::map<std::string, std::string> files_;
  StringPairs lastQuery_;
  std::shared_ptr<HttpServer> server_ = std::make_shared<HttpServer>();
};

std::string feed(const std::string& version, const std::string& location) {
  return R"(<?xml version="1.0"?><update version=")" + version + R"(" downloadLocation=")" +
         location + R"("/>)";
}

void runCheck(UpdateChecker& checker) {
  QSignalSpy finished(&checker, &UpdateChecker::checkFinished);
  checker.checkForUpdate();
  ASSERT_TRUE(finished.wait(kWaitMs)) << "checkFinished was not emitted";
  EXPECT_EQ(finished.count(), 1);
}

// The path the completion reported: empty for a failed download.
QString download(UpdateChecker& checker, const QString& address, const QString& root) {
  auto path = std::make_shared<std::optional<QString>>();
  checker.downloadUpdate(address, root, [path](const QString& stored) { *path = stored; });
  EXPECT_TRUE(QTest::qWaitFor([&] { return path->has_value(); }, kWaitMs));
  return path->value_or(QString());
}

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Hidden entries included, so a left-over temporary file shows.
QStringList everythingBelow(const QString& base) {
  QStringList found;
  QDirIterator it(base, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) found << it.next();
  return found;
}

}  // namespace

TEST(UpdateVersion, ComparesComponentsNumericallyWithTextFallback) {
  EXPECT_EQ(compareVersions("1.10", "1.9"), 1);
  EXPECT_EQ(compareVersions("1.9", "1.10"), -1);
  EXPECT_EQ(compareVersions("2.0", "2.0.0"), 0);
  EXPECT_EQ(compareVersions("2.0", "2.0.1"), -1);
  EXPECT_EQ(compareVersions("01.2", "1.02"), 0);
  EXPECT_EQ(compareVersions("1.2a", "1.2b"), -1);
  EXPECT_EQ(compareVersions(" 1.2 ", "1.2"), 0);
  EXPECT_EQ(compareVersions("99999999999999999999.1", "99999999999999999998.9"), 1);
}

TEST(UpdateCheck, OffersOnlyANewerFeedAndKeepsTheFlagsOnUnusableAnswers) {
  FeedServer server;
  UpdateChecker checker(server.url("/feed.xml?4711"), "1.10");
  QSignalSpy availableChanged(&checker, &UpdateChecker::updateAvailableChanged);
  auto check = [&](const std::string& answer) {
    SCOPED_TRACE(answer);
    server.serve("/feed.xml", answer);
    runCheck(checker);
  };

  for (const char* notNewer : {"1.9", "1.10.0"}) {
    check(feed(notNewer, "https://downloads.example/old"));
    EXPECT_FALSE(checker.updateAvailable());
    EXPECT_EQ(checker.updateDownloadUrl(), "");
    EXPECT_EQ(checker.status(), UpdateChecker::Status::UpToDate);
  }
  EXPECT_EQ(server.lastQuery(), (StringPairs{{"4711", ""}})) << "the address is sent as given";
  check(feed("1.11", "https://downloads.example/Setup-1.11"));
  EXPECT_TRUE(checker.updateAvailable());
  EXPECT_EQ(checker.updateDownloadUrl(), "https://downloads.example/Setup-1.11");
  EXPECT_EQ(checker.statusText(), "New version available.");

  // An older version read without its location would turn the flag off; failures keep offering
  // the update found before.
  check(R"(<update version="0.5"/>)");
  check("not xml at all");
  server.stop();
  runCheck(checker);
  EXPECT_TRUE(checker.updateAvailable());
  EXPECT_EQ(checker.updateDownloadUrl(), "https://downloads.example/Setup-1.11");
  EXPECT_EQ(checker.status(), UpdateChecker::Status::UpdateAvailable);
  EXPECT_EQ(availableChanged.count(), 1);
}

TEST(UpdateCheck, SaysUpToDateOnlyAfterASuccessfulCheck) {
  FeedServer server;
  server.serve("/current.xml", feed("2.0", "https://downloads.example/Setup-2.0"));
  UpdateChecker checker(server.url("/current.xml"), "2.0");
  EXPECT_EQ(checker.status(), UpdateChecker::Status::NotChecked);
  EXPECT_EQ(checker.statusText(), "") << "never checked: nothing to say";

  QSignalSpy statusChanged(&checker, &UpdateChecker::statusChanged);
  QSignalSpy finished(&checker, &UpdateChecker::checkFinished);
  checker.checkForUpdate();
  EXPECT_EQ(checker.status(), UpdateChecker::Status::Checking);
  EXPECT_EQ(checker.statusText(), "Checking for updates\u2026");
  ASSERT_TRUE(finished.wait(kWaitMs));
  EXPECT_EQ(checker.statusText(), "Up to date.");
  EXPECT_EQ(statusChanged.count(), 2);

  // A later check keeps the last outcome on show until it ends; failed, it no longer claims
  // the program is up to date.
  server.stop();
  checker.checkForUpdate();
  EXPECT_EQ(checker.statusText(), "Up to date.");
  ASSERT_TRUE(finished.wait(kWaitMs));
  EXPECT_EQ(checker.statusText(), "Could not check for updates.");
  EXPECT_EQ(statusChanged.count(), 3);
}

TEST(UpdateCheck, AFailedCheckSaysSoAndOffersNothing) {
  FeedServer server;
  server.serve("/newer.xml", feed("2.1", "https://downloads.example/Setup-2.1"));
  server.serve("/empty.xml", "");
  server.serve("/unreadable.xml", "<<<");
  server.serve("/incomplete.xml", R"(<update version="3.0"/>)");
  QString unreachable;
  {
    FeedServer gone;
    unreachable = gone.url("/feed.xml");
  }

  for (const QString& address : {unreachable, server.url("/missing.xml"), server.url("/empty.xml"),
                                 server.url("/unreadable.xml"), server.url("/incomplete.xml")}) {
    SCOPED_TRACE(address.toStdString());
    UpdateChecker checker(address, "2.0");
    runCheck(checker);
    EXPECT_EQ(checker.status(), UpdateChecker::Status::Failed);
    EXPECT_EQ(checker.statusText(), "Could not check for updates.");
    EXPECT_FALSE(checker.updateAvailable());
  }
  UpdateChecker checker(server.url("/newer.xml"), "2.0");
  runCheck(checker);
  EXPECT_EQ(checker.status(), UpdateChecker::Status::UpdateAvailable);
}

TEST(UpdateCheck, WithoutAFeedAddressNothingIsAsked) {
  UpdateChecker checker("", "2.0");
  QSignalSpy finished(&checker, &UpdateChecker::checkFinished);
  checker.checkForUpdate();
  EXPECT_TRUE(checker.findChildren<QNetworkReply*>().isEmpty()) << "no request was made";
  EXPECT_EQ(checker.status(), UpdateChecker::Status::Off);
  EXPECT_EQ(checker.statusText(), "");
  QCoreApplication::processEvents();
  EXPECT_EQ(finished.count(), 0);
}

TEST(UpdateFeed, ConfiguredOrOverriddenAddressWithOneRandomNumber) {
  const QByteArray saved = qgetenv("DRAVIN_UPDATE_FEED");
  const bool wasSet = qEnvironmentVariableIsSet("DRAVIN_UPDATE_FEED");
  qunsetenv("DRAVIN_UPDATE_FEED");
  const QString configured = "https://feeds.example/dravin.xml";
  const QString number = updateFeedAddress(configured).section('?', 1);
  EXPECT_EQ(QString::number(number.toUInt()), number) << "a plain number";
  EXPECT_EQ(updateFeedAddress(configured), configured + "?" + number);
  EXPECT_EQ(updateFeedAddress(configured + "?edition=tarvo"),
            configured + "?edition=tarvo&" + number);
  EXPECT_EQ(updateFeedAddress(""), "") << "no address: the check is off";
  qputenv("DRAVIN_UPDATE_FEED", "http://127.0.0.1:1/feed.xml");
  EXPECT_EQ(updateFeedAddress(""), "http://127.0.0.1:1/feed.xml?" + number);
  EXPECT_EQ(updateFeedAddress(configured), "http://127.0.0.1:1/feed.xml?" + number);
  qputenv("DRAVIN_UPDATE_FEED", "");
  EXPECT_EQ(updateFeedAddress(configured), "") << "set but empty turns the check off";
  wasSet ? qputenv("DRAVIN_UPDATE_FEED", saved) : qunsetenv("DRAVIN_UPDATE_FEED");
}

TEST(UpdateDownload, StoresTheWholeFileInsideTheRootOrNothing) {
  FeedServer server;
  server.serve("*", "payload");
  const std::string bytes("installer\0bytes\xff", 16);
  server.serve("/files/Setup%202.0.run", bytes);
  QTemporaryDir base;
  const QString root = base.path() + "/a/b/root";
  ASSERT_TRUE(QDir().mkpath(root));
  UpdateChecker checker(server.url("/feed.xml"), "1.0");

  QString path = download(checker, server.url("/files/Setup%202.0.run?token=abc#top"), root);
  EXPECT_EQ(path, root + "/Setup 2.0.run");
  EXPECT_EQ(contents(path), QByteArray(bytes.data(), qsizetype(bytes.size())));
  EXPECT_EQ(everythingBelow(base.path()), QStringList{path}) << "no temporary file is left";
  // A fresh number after the address's own query keeps caches from serving an old installer.
  const StringPairs query = server.lastQuery();
  ASSERT_EQ(query.size(), 2u);
  EXPECT_EQ(query[0], (std::pair<std::string, std::string>{"token", "abc"}));

  for (const QString trick : {"/files/..", "/files/%2e%2e", "/files/%2E%2e/", "/files/../../etc/x",
                              "/files/..%2F..%2Fx"}) {
    SCOPED_TRACE(trick.toStdString());
    path = download(checker, server.url(trick), root);
    EXPECT_EQ(QFileInfo(path).absolutePath(), root);
    EXPECT_EQ(contents(path), "payload");
    for (const QString& found : everythingBelow(base.path())) {
      EXPECT_TRUE(found.startsWith(root + "/")) << found.toStdString();
    }
  }
  EXPECT_TRUE(QFileInfo::exists(root + "/update.bin"));

  // A link planted under the target name is replaced, not written through.
  const QString outside = base.path() + "/a/outside.txt";
  QFile file(outside);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("untouched") == 9);
  file.close();
  ASSERT_TRUE(QFile::link(outside, root + "/Setup.run"));
  path = download(checker, server.url("/files/Setup.run"), root);
  EXPECT_EQ(path, root + "/Setup.run");
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  EXPECT_EQ(contents(path), "payload");
  EXPECT_EQ(contents(outside), "untouched");

  // Failures, a missing folder or a name taken by a folder, leave nothing behind.
  const QStringList before = everythingBelow(base.path());
  std::optional<QString> noRoot;
  checker.downloadUpdate(server.url("/files/Setup.run"), root + "/gone",
                         [&](const QString& stored) { noRoot = stored; });
  EXPECT_FALSE(noRoot) << "the caller hears back later, never from inside the call";
  ASSERT_TRUE(QTest::qWaitFor([&] { return noRoot.has_value(); }, kWaitMs));
  EXPECT_TRUE(noRoot->isEmpty());
  EXPECT_FALSE(QFileInfo::exists(root + "/gone"));
  ASSERT_TRUE(QDir(root).mkdir("Taken.run"));
  EXPECT_TRUE(download(checker, server.url("/files/Taken.run"), root).isEmpty());
  EXPECT_EQ(everythingBelow(base.path()), before) << "the temporary file is removed";
}

TEST(UpdateInstall, OpensTheDownloadThenQuitsUnlessThatFails) {
  FeedServer server;
  server.serve("/files/Setup-9.0.run", "installer");
  QTemporaryDir base;
  struct Calls {
    QList<QUrl> opened;
    int quits = 0;
  };
  // Finds an update at `location`, installs it and reports the hand-over.
  auto install = [&](const QString& location, bool opens) {
    server.serve("/feed.xml", feed("9.0", server.url(location).toStdString()));
    UpdateChecker checker(server.url("/feed.xml"), "1.0");
    auto calls = std::make_shared<Calls>();
    checker.openUrl = [calls, opens](const QUrl& url) {
      calls->opened << url;
      return opens;
    };
    checker.quitApplication = [calls] { ++calls->quits; };
    runCheck(checker);
    EXPECT_TRUE(checker.updateAvailable());
    QSignalSpy finished(&checker, &UpdateChecker::downloadFinished);
    checker.installUpdate(base.path());
    EXPECT_TRUE(finished.wait(kWaitMs));
    return *calls;
  };

  const QString installer = base.path() + "/Setup-9.0.run";
  Calls calls = install("/files/Setup-9.0.run", true);
  EXPECT_EQ(calls.opened, QList<QUrl>{QUrl::fromLocalFile(installer)});
  EXPECT_EQ(contents(installer), "installer");
  EXPECT_EQ(calls.quits, 1);

  calls = install("/files/Setup-9.0.run", false);
  EXPECT_EQ(calls.opened.size(), 1);
  EXPECT_EQ(calls.quits, 0) << "a file that cannot be opened keeps the application running";

  calls = install("/files/missing.run", true);
  EXPECT_TRUE(calls.opened.isEmpty()) << "a failed download neither opens nor quits";
  EXPECT_EQ(calls.quits, 0);
  EXPECT_EQ(everythingBelow(base.path()), QStringList{installer}) << "nothing is left of it";
}
