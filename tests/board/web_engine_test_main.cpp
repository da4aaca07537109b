// The main of the tests that drive a page in QtWebEngine's widgets.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // QtWebEngine refuses to start its sandbox as root.
  qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
