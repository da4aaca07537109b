#include "camera_view_model.h"

#include <QVariantMap>

#include "notification_center.h"
#include "notification_names.h"

namespace dravin {

int normalizedDegrees(double rotation) {
  const auto whole = static_cast<long long>(rotation);
  return static_cast<int>(((whole % 360) + 360) % 360);
}

CameraViewModel::CameraViewModel(QObject* parent) : QObject(parent) {
  splashTimer_.setSingleShot(true);
  splashTimer_.setInterval(kSplashDurationMs);
  connect(&splashTimer_, &QTimer::timeout, this, [this] {
    if (!showSplash_) return;
    showSplash_ = false;
    emit showSplashChanged();
  });

  auto& center = NotificationCenter::instance();
  center.observe(notifications::kRotateCamera, this,
                 [this](const QVariantMap& info) { rotate(info); });
  center.observe(notifications::kMirrorCamera, this,
                 [this](const QVariantMap&) { toggleMirror(); });
}

void CameraViewModel::viewAppeared() {
  splashTimer_.start();
}

void CameraViewModel::dragPreview(bool ended, double dx, double dy) {
  emit dragPreviewRequested(ended, QPointF(dx, dy), rotation_);
}

void CameraViewModel::setDigitalZoomFactor(double factor) {
  if (digitalZoomFactor_ == factor) return;
  digitalZoomFactor_ = factor;
  emit digitalZoomFactorChanged();
}

void CameraViewModel::rotate(const QVariantMap& info) {
  const QString direction = info.value(QStringLiteral("direction")).toString();
  // Mirrored, the picture's left is the viewer's right.
  const double step = mirrorHorizontal_ ? 90.0 : -90.0;
  if (direction == QLatin1String("left")) {
    rotation_ += step;
    emit rotationChanged(rotation_);
  } else if (direction == QLatin1String("right")) {
    rotation_ -= step;
    emit rotationChanged(rotation_);
  }
  const int r = normalizedDegrees(rotation_);
  const bool vertical = r == 90 || r == 270;
  if (vertical != isVertical_) {
    isVertical_ = vertical;
    emit isVerticalChanged();
  }
}

void CameraViewModel::toggleMirror() {
  mirrorHorizontal_ = !mirrorHorizontal_;
  emit mirrorChanged(mirrorHorizontal_);
}

}  // namespace dravin
