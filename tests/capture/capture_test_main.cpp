// Capture tests run inside a Qt application (queued calls reach the main thread) with GStreamer
// initialised and settings in a folder of their own.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  qputenv("QT_QPA_PLATFORM", "offscreen");
  gst_init(&argc, &argv);
  QGuiApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
