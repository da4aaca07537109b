#include "notification_center.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <QtTest/QTest>
#include <atomic>

#include "frame_timer.h"

using namespace dravin;

TEST(NotificationCenter, DeliversOnTheMainThreadWithUserInfo) {
  QObject receiver;
  QVariantMap seen;
  QThread* deliveredOn = nullptr;
  int other = 0;
  NotificationCenter::instance().observe("Sample_Event", &receiver, [&](const QVariantMap& info) {
    seen = info;
    deliveredOn = QThread::currentThread();
  });
  NotificationCenter::instance().observe("Other_Event", &receiver, [&](const QVariantMap&) { ++other; });

  std::unique_ptr<QThread> poster(QThread::create(
      [] { NotificationCenter::instance().post("Sample_Event", {{"direction", "left"}}); }));
  poster->start();
  poster->wait();
  EXPECT_TRUE(QTest::qWaitFor([&] { return deliveredOn != nullptr; }, 5000));
  EXPECT_EQ(deliveredOn, QCoreApplication::instance()->thread());
  EXPECT_EQ(seen.value("direction").toString(), "left");
  EXPECT_EQ(other, 0) << "observers see only their own name";

  {  // an observer ends with its receiver
    auto* shortLived = new QObject;
    int calls = 0;
    NotificationCenter::instance().observe("Sample_Event", shortLived, [&](const QVariantMap&) { ++calls; });
    delete shortLived;
    NotificationCenter::instance().post("Sample_Event");
    EXPECT_EQ(calls, 0);
  }
}

TEST(FrameTimer, TicksOnItsOwnThreadUntilCancelled) {
  std::atomic<int> ticks{0};
  std::atomic<bool> offMain{true};
  QThread* main = QThread::currentThread();
  QString threadName;
  FrameTimer timer([&] {
    if (QThread::currentThread() == main) offMain = false;
    if (ticks++ == 0) threadName = QThread::currentThread()->objectName();
  });
  timer.start();
  EXPECT_TRUE(QTest::qWaitFor([&] { return ticks.load() >= 5; }, 5000));
  timer.cancel();
  EXPECT_FALSE(timer.isRunning());
  int afterCancel = ticks.load();
  QTest::qWait(100);
  EXPECT_EQ(ticks.load(), afterCancel) << "no tick after cancel";
  EXPECT_TRUE(offMain.load());
  EXPECT_EQ(threadName, "timerQueueAppCam");
  timer.cancel();  // twice is fine
}
