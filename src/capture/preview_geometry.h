#pragma once

#include <QRectF>
#include <QSizeF>
#include <optional>

namespace dravin {

// The preview's frame inside the camera view, and the digital zoom and pan that move it. Zoom is
// measured against a 1280 x 720 box: a zoom of 1.5 shows the picture 1920 x 1080.
class PreviewGeometry {
 public:
  static constexpr double kReferenceWidth = 1280;
  static constexpr double kReferenceHeight = 720;
  // A pan needs at least this much zoom beyond the fit.
  static constexpr double kMinPanZoom = 0.1;

  // The view's size changed: the preview fills it again.
  void fitView(QSizeF viewSize);
  // The preview becomes factor x the reference box, around the same centre.
  void setZoom(double factor);
  // Translation since the drag began, as the viewer sees it; the picture is turned by
  // `rotationDegrees` and then, when `mirrored`, flipped as the viewer sees it. The preview
  // follows the pointer. Returns false when nothing moved.
  bool drag(bool ended, double dx, double dy, double rotationDegrees, bool mirrored = false);

  QRectF frame() const { return frame_; }
  double currentZoom() const { return currentZoom_; }
  double fitZoomFactor() const { return fitZoomFactor_; }

 private:
  static double zoomOf(QSizeF size);

  QRectF frame_;
  double currentZoom_ = 1.0;
  double fitZoomFactor_ = 1.0;
  std::optional<QRectF> draggingStartRect_;
};

}  // namespace dravin
