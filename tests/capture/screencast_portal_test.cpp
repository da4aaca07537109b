// The screen-cast portal client against a scripted portal on a private bus, and the capture
// controller's screen recording through it where no PipeWire can run.
#include "screencast_portal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "camera_controller.h"
#include "fake_screencast_portal.h"
#include "screen_cast_request.h"
#include "storage_folders.h"
#include "test_devices.h"

namespace dravin {
namespace {

using test::FakeScreenCastPortal;

class ScreenCastPortalTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!bus.running()) GTEST_SKIP() << "dbus-daemon is not installed";
    portal.emplace(bus.connect("portal-side"));
    ASSERT_TRUE(portal->publish());
  }

  // Asks once and waits for the answer, or for `wait` ms when none comes.
  std::optional<ScreenCastResult> ask(ScreenCastPortal& cast, const QString& token = {},
                                      ScreenCastSource source = ScreenCastSource::monitor,
                                      int wait = 5000) {
    std::optional<ScreenCastResult> result;
    int answers = 0;
    cast.start(source, token, [&](ScreenCastResult r) {
      result = std::move(r);
      ++answers;
    });
    (void)QTest::qWaitFor([&] { return answers > 0; }, wait);
    QTest::qWait(50);  // a second answer would come now
    EXPECT_LE(answers, 1);
    return result;
  }
  static const ScreenCastFailure* failure(const std::optional<ScreenCastResult>& result) {
    return result ? std::get_if<ScreenCastFailure>(&*result) : nullptr;
  }

  test::PrivateBus bus;
  std::optional<FakeScreenCastPortal> portal;
  QDBusConnection client = bus.connect("client-side");
};

TEST_F(ScreenCastPortalTest, GrantsAStreamStepByStepAndPassesTheTokenOn) {
  QString sessionPath;
  {
    ScreenCastPortal cast(client);
    const auto result = ask(cast);
    ASSERT_TRUE(result && std::holds_alternative<ScreenCastStream>(*result))
        << (failure(result) ? failure(result)->text.toStdString() : "no answer");
    const auto& stream = std::get<ScreenCastStream>(*result);
    EXPECT_EQ(stream.nodeId, 42u);
    EXPECT_EQ(stream.size, QSize(1280, 800));
    EXPECT_EQ(stream.restoreToken, "token-1");
    // The descriptor is the portal's own connection: what goes in comes out at its other end.
    ASSERT_TRUE(stream.fd.isValid());
    ASSERT_EQ(write(stream.fd.fileDescriptor(), "pw", 2), 2);
    char seen[2] = {};
    ASSERT_EQ(read(portal->readEnd(), seen, 2), 2);
    EXPECT_EQ(std::string(seen, 2), "pw");

    // Each request on the object the unique name gives, answered before its reply came.
    ASSERT_EQ(portal->calls.size(), 4);
    const QString requests = "/org/freedesktop/portal/desktop/request/" +
                             client.baseService().mid(1).replace('.', '_') + "/";
    EXPECT_TRUE(portal->calls[0].startsWith("CreateSession " + requests))
        << portal->calls[0].toStdString();
    EXPECT_TRUE(portal->calls[1].startsWith("SelectSources " + requests));
    EXPECT_TRUE(portal->calls[2].startsWith("Start " + requests));
    EXPECT_EQ(portal->calls[3], "OpenPipeWireRemote");
    // One monitor, the cursor drawn in, kept until revoked, no token offered the first time.
    const QVariantMap& options = portal->selectOptions;
    EXPECT_EQ(options.value("types").toUInt(), 1u);
    EXPECT_EQ(options.value("multiple").toBool(), false);
    EXPECT_EQ(options.value("cursor_mode").toUInt(), 2u);
    EXPECT_EQ(options.value("persist_mode").toUInt(), 2u);
    EXPECT_FALSE(options.contains("restore_token"));
    EXPECT_EQ(portal->startParent, "");
    EXPECT_TRUE(portal->sessions.calls.isEmpty()) << "the session stays open while streaming";
  }  // the session ends with the client
  (void)QTest::qWaitFor([&] { return !portal->sessions.calls.isEmpty(); }, 2000);
  ASSERT_EQ(portal->sessions.calls.size(), 1);
  EXPECT_TRUE(
      portal->sessions.calls[0].startsWith("Close /org/freedesktop/portal/desktop/session/"));

  // The token is offered back; a window is asked for by its kind; answers may follow the replies.
  portal->calls.clear();
  portal->answerLate = true;
  portal->tokenToGive = "token-2";
  ScreenCastPortal again(client);
  const auto second = ask(again, "token-1", ScreenCastSource::window);
  ASSERT_TRUE(second && std::holds_alternative<ScreenCastStream>(*second));
  EXPECT_EQ(std::get<ScreenCastStream>(*second).restoreToken, "token-2");
  EXPECT_EQ(portal->selectOptions.value("restore_token").toString(), "token-1");
  EXPECT_EQ(portal->selectOptions.value("types").toUInt(), 2u);
  again.close();
  (void)QTest::qWaitFor([&] { return portal->sessions.calls.size() == 2; }, 2000);
  EXPECT_EQ(portal->sessions.calls.size(), 2);
  // One object asks once.
  const auto third = ask(again);
  ASSERT_TRUE(failure(third));
  EXPECT_EQ(portal->calls.size(), 4);

  // An older portal knows neither persistence nor tokens, nor an embedded cursor: none is sent.
  portal->version = 3;
  portal->cursorModes = 1;
  ScreenCastPortal old(client);
  ASSERT_TRUE(ask(old, "token-2"));
  EXPECT_FALSE(portal->selectOptions.contains("persist_mode"));
  EXPECT_FALSE(portal->selectOptions.contains("restore_token"));
  EXPECT_FALSE(portal->selectOptions.contains("cursor_mode"));
}

TEST_F(ScreenCastPortalTest, DeclinedRefusedAndBrokenAnswersFailAndCloseTheSession) {
  using Kind = ScreenCastFailure::Kind;
  struct Case {
    const char* what;
    QString method;
    int answer;
    Kind kind;
    bool sessionMade;
  };
  const Case cases[] = {
      {"dialog closed", "Start", 1, Kind::cancelled, true},
      {"choice closed", "SelectSources", 1, Kind::cancelled, true},
      {"portal failed", "SelectSources", 2, Kind::failed, true},
      {"no session", "CreateSession", 2, Kind::failed, false},
      {"bus error", "Start", FakeScreenCastPortal::kBusError, Kind::failed, true},
      {"no remote", "OpenPipeWireRemote", FakeScreenCastPortal::kBusError, Kind::failed, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    portal->answers.clear();
    portal->answers[c.method] = c.answer;
    portal->sessions.calls.clear();
    ScreenCastPortal cast(client);
    const auto result = ask(cast);
    ASSERT_TRUE(failure(result));
    EXPECT_EQ(failure(result)->kind, c.kind);
    EXPECT_FALSE(failure(result)->text.isEmpty());
    (void)QTest::qWaitFor([&] { return !portal->sessions.calls.isEmpty(); },
                          c.sessionMade ? 2000 : 100);
    EXPECT_EQ(portal->sessions.calls.size(), c.sessionMade ? 1 : 0);
  }

  // A grant without a stream is no grant.
  portal->answers.clear();
  portal->withStreams = false;
  ScreenCastPortal empty(client);
  const auto none = ask(empty);
  ASSERT_TRUE(failure(none));
  EXPECT_EQ(failure(none)->kind, Kind::failed);
  portal->withStreams = true;

  // Windows are not offered by this portal: refused before any session.
  portal->sourceTypes = 1;
  portal->calls.clear();
  ScreenCastPortal windows(client);
  const auto refused = ask(windows, {}, ScreenCastSource::window);
  ASSERT_TRUE(failure(refused));
  EXPECT_TRUE(portal->calls.isEmpty());

  // A portal without screen casting (here: none at all on the bus).
  portal.reset();
  ScreenCastPortal nobody(client);
  const auto missing = ask(nobody);
  ASSERT_TRUE(failure(missing));
  EXPECT_EQ(failure(missing)->kind, Kind::failed);
  EXPECT_TRUE(failure(missing)->text.contains("no screen-cast portal"))
      << failure(missing)->text.toStdString();
}

TEST_F(ScreenCastPortalTest, AWithdrawnRequestClosesItsDialogAndNeverAnswers) {
  portal->answers["Start"] = FakeScreenCastPortal::kNever;  // the dialog stays open
  ScreenCastPortal cast(client);
  int answers = 0;
  cast.start(ScreenCastSource::monitor, {}, [&](ScreenCastResult) { ++answers; });
  ASSERT_TRUE(QTest::qWaitFor([&] { return portal->calls.size() == 3; }, 5000));
  EXPECT_TRUE(cast.isAsking());
  cast.cancel();
  EXPECT_FALSE(cast.isAsking());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return !portal->objects.calls.isEmpty() && !portal->sessions.calls.isEmpty(); }, 2000));
  // The open request (Start's) is closed, then the session.
  EXPECT_EQ(portal->objects.calls, QStringList{"Close " + portal->calls[2].section(' ', 1)});
  EXPECT_EQ(portal->sessions.calls.size(), 1);
  QTest::qWait(100);
  EXPECT_EQ(answers, 0);
}

// The controller asks the portal first and claims a file only for a granted screen.
class PortalScreenRecordingTest : public ScreenCastPortalTest {
 protected:
  void SetUp() override {
    ScreenCastPortalTest::SetUp();
    if (IsSkipped()) return;
    ASSERT_TRUE(storage.isValid());
    storageFolders() = StorageFolders::under(storage.path());
    QDir().mkpath(storageFolders()->videos);
    QSettings().remove(kScreenCastTokenKey);
    controller.recordings().screenRecordingAllowed = [] { return true; };
    controller.recordings().makeScreenCastPortal = [this] {
      return std::make_unique<ScreenCastPortal>(client);
    };
  }
  void TearDown() override { storageFolders().reset(); }
  int videoFiles() const {
    return static_cast<int>(QDir(storageFolders()->videos).entryList(QDir::Files).size());
  }

  QTemporaryDir storage;
  CameraController controller{std::make_unique<test::TestDevices>()};
};

TEST_F(PortalScreenRecordingTest, DeclinedWithdrawnOrFailedLeaveNoFile) {
  // Declined: nothing recorded, no file, and a new attempt asks again.
  portal->answers["Start"] = 1;
  controller.startScreenRecording();
  ASSERT_TRUE(QTest::qWaitFor([&] { return portal->sessions.calls.size() == 1; }, 5000));
  QTest::qWait(50);
  EXPECT_FALSE(controller.isRecording());
  EXPECT_EQ(videoFiles(), 0);

  // Stopped while the dialog is open: the dialog closes, nothing is recorded.
  portal->answers["Start"] = FakeScreenCastPortal::kNever;
  portal->calls.clear();
  controller.startScreenRecording();
  ASSERT_TRUE(QTest::qWaitFor([&] { return portal->calls.size() == 3; }, 5000));
  controller.startScreenRecording();      // a second press while asking asks nothing more
  controller.recordings().startCamera();  // nor does the camera start a recording the grant ends
  QTest::qWait(100);
  EXPECT_EQ(portal->calls.size(), 3);
  EXPECT_FALSE(controller.isRecording());
  controller.stopRecording();
  ASSERT_TRUE(QTest::qWaitFor([&] { return portal->objects.calls.size() == 1; }, 2000));
  EXPECT_EQ(portal->objects.calls[0], "Close " + portal->calls[2].section(' ', 1));
  ASSERT_TRUE(QTest::qWaitFor([&] { return portal->sessions.calls.size() == 2; }, 2000));
  EXPECT_EQ(videoFiles(), 0);

  // Granted, but no PipeWire connection comes with it: reported, nothing recorded, session closed.
  portal->answers.clear();
  portal->answers["OpenPipeWireRemote"] = FakeScreenCastPortal::kBusError;
  portal->sessions.calls.clear();
  controller.startScreenRecording();
  ASSERT_TRUE(QTest::qWaitFor([&] { return portal->sessions.calls.size() == 1; }, 5000));
  EXPECT_FALSE(controller.isRecording());
  EXPECT_EQ(videoFiles(), 0);
  EXPECT_FALSE(QSettings().contains(kScreenCastTokenKey)) << "a failed grant keeps no token";
}

TEST_F(PortalScreenRecordingTest, TheTokenOfEachGrantIsKeptAndOfferedNext) {
  auto askOnce = [&] {
    ScreenCastPortal cast(client);
    std::optional<ScreenCastAnswer> answer;
    askForScreenCast(cast, ScreenCastSource::monitor,
                     [&](ScreenCastAnswer a) { answer = std::move(a); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 5000));
    return answer;
  };
  portal->tokenToGive = "kept-token";
  auto first = askOnce();
  ASSERT_TRUE(first && std::holds_alternative<ScreenCastStream>(*first));
  EXPECT_FALSE(portal->selectOptions.contains("restore_token"));
  EXPECT_EQ(QSettings().value(kScreenCastTokenKey).toString(), "kept-token");

  // Offered next time and replaced by the new one.
  portal->tokenToGive = "newer-token";
  ASSERT_TRUE(askOnce());
  EXPECT_EQ(portal->selectOptions.value("restore_token").toString(), "kept-token");
  EXPECT_EQ(QSettings().value(kScreenCastTokenKey).toString(), "newer-token");

  // Declined: the token stays for the next try. A grant without a token forgets it.
  portal->answers["Start"] = 1;
  auto declined = askOnce();
  ASSERT_TRUE(declined && std::holds_alternative<ScreenRecorder::Error>(*declined));
  EXPECT_EQ(std::get<ScreenRecorder::Error>(*declined).code(),
            ScreenRecorder::Error::Code::notAllowed);
  EXPECT_EQ(QSettings().value(kScreenCastTokenKey).toString(), "newer-token");
  portal->answers.clear();
  portal->tokenToGive.clear();
  ASSERT_TRUE(askOnce());
  EXPECT_EQ(portal->selectOptions.value("restore_token").toString(), "newer-token");
  EXPECT_FALSE(QSettings().contains(kScreenCastTokenKey));
}

}  // namespace
}  // namespace dravin

#include "moc_fake_screencast_portal.cpp"
