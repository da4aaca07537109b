#include "nb_shape.h"

#include <algorithm>
#include <cmath>

#include "app_log.h"

namespace dravin {

NBShape::NBShape(NBShapeType type, QObject* parent) : QObject(parent), type_(type) {}

void NBShape::setColor(const QColor& color) {
  if (color_ == color) return;
  emit objectWillChange();
  color_ = color;
  emit colorChanged();
}

void NBShape::setThickness(double thickness) {
  if (thickness_ == thickness) return;
  emit objectWillChange();
  thickness_ = thickness;
  emit thicknessChanged();
}

void NBShape::addPoint(QPointF) {}

void NBShapeFreehand::addPoint(QPointF point) {
  emit objectWillChange();
  points_.append(point);
  emit pointsChanged();
}

void NBShapeRectangle::addPoint(QPointF point) {
  // Told first like every other mutation, so an observer still sees the previous box.
  emit objectWillChange();
  if (!bInit_) {
    startPoint_ = point;
    bInit_ = true;
  }
  endPoint_ = point;
  width_ = std::abs(startPoint_.x() - endPoint_.x());
  height_ = std::abs(startPoint_.y() - endPoint_.y());
  x_ = std::min(startPoint_.x(), endPoint_.x()) + width_ * 0.5;
  y_ = std::min(startPoint_.y(), endPoint_.y()) + height_ * 0.5;
  emit geometryChanged();
}

void NBShapeRectangle::tapped() {
  logLine(QStringLiteral("Clicked in Rectangle"));
  emit objectWillChange();
  setColor(defaultColor());
}

}  // namespace dravin
