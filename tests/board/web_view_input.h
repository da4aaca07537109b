#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

// Mouse input to a web view's widget as a window system delivers it, for the tests that use the
// board page with a real pointer.
namespace test {

inline void sendMouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
                      Qt::MouseButton button = Qt::LeftButton) {
  QMouseEvent event(type, QPointF(at), target->mapToGlobal(QPointF(at)),
                    type == QEvent::MouseMove ? Qt::NoButton : button, buttons, Qt::NoModifier);
  QApplication::sendEvent(target, &event);
}

// Presses at `from`, moves to `to` in `steps` steps and lets go there.
inline void dragMouse(QWidget* target, QPoint from, QPoint to, int steps) {
  sendMouse(target, QEvent::MouseMove, from, Qt::NoButton);
  sendMouse(target, QEvent::MouseButtonPress, from, Qt::LeftButton);
  for (int i = 1; i <= steps; ++i) {
    sendMouse(target, QEvent::MouseMove, from + (to - from) * i / steps, Qt::LeftButton);
  }
  sendMouse(target, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

}  // namespace test
