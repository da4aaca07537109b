#include <gtest/gtest.h>

#include <QGuiApplication>

// The models decode pictures and run timers, so they need a GUI application but no screen.
int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
