#include "preview_geometry.h"

#include <algorithm>

namespace dravin {

namespace {
int wholeDegrees(double rotation) {
  const auto whole = static_cast<long long>(rotation);
  return static_cast<int>(((whole % 360) + 360) % 360);
}
}  // namespace

double PreviewGeometry::zoomOf(QSizeF size) {
  return std::min(size.height() / kReferenceHeight, size.width() / kReferenceWidth);
}

void PreviewGeometry::fitView(QSizeF viewSize) {
  frame_ = QRectF(QPointF(0, 0), viewSize);
  currentZoom_ = zoomOf(viewSize);
  // Panning is for a picture larger than the view; the fit is where it stops being larger.
  fitZoomFactor_ = currentZoom_;
}

void PreviewGeometry::setZoom(double factor) {
  const QSizeF size(factor * kReferenceWidth, factor * kReferenceHeight);
  const QPointF centre = frame_.center();
  frame_ = QRectF(centre.x() - size.width() / 2, centre.y() - size.height() / 2, size.width(),
                  size.height());
  currentZoom_ = zoomOf(size);
}

bool PreviewGeometry::drag(bool ended, double dx, double dy, double rotationDegrees,
                           bool mirrored) {
  if (ended) {
    draggingStartRect_.reset();
    return false;
  }
  if (currentZoom_ - fitZoomFactor_ < kMinPanZoom) return false;
  if (!draggingStartRect_) draggingStartRect_ = frame_;
  // Back from the viewer's axes into the turned picture's: undo the flip, then the turn. Upright
  // pictures swap the axes; one of them also changes sign, or the picture would move against
  // the pointer.
  const double x = mirrored ? -dx : dx;
  const double y = dy;
  QPointF offset;
  switch (wholeDegrees(rotationDegrees)) {
    case 90: offset = QPointF(y, -x); break;
    case 180: offset = QPointF(-x, -y); break;
    case 270: offset = QPointF(-y, x); break;
    default: offset = QPointF(x, y); break;
  }
  frame_ = draggingStartRect_->translated(offset);
  return true;
}

}  // namespace dravin
