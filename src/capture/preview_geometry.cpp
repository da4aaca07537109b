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

bool PreviewGeometry::drag(bool ended, double dx, double dy, double rotationDegrees) {
  if (ended) {
    draggingStartRect_.reset();
    return false;
  }
  if (currentZoom_ - fitZoomFactor_ < kMinPanZoom) return false;
  if (!draggingStartRect_) draggingStartRect_ = frame_;
  const int r = wholeDegrees(rotationDegrees);
  const bool upright = r == 90 || r == 270;
  frame_ = draggingStartRect_->translated(upright ? dy : dx, upright ? dx : dy);
  return true;
}

}  // namespace dravin
