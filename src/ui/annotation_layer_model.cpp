#include "annotation_layer_model.h"

#include <utility>

namespace dravin {

NBShape* NBShapeList::at(int row) const {
  return row >= 0 && row < count() ? shapes_.at(row) : nullptr;
}

void NBShapeList::append(NBShape* shape) {
  shape->setParent(this);
  const int row = count();
  beginInsertRows({}, row, row);
  shapes_.append(shape);
  endInsertRows();
  emit countChanged();
}

void NBShapeList::clear() {
  if (shapes_.isEmpty()) return;
  beginResetModel();
  const QList<NBShape*> removed = std::exchange(shapes_, {});
  endResetModel();
  // Later: a view may still be inside a signal of one of them.
  for (NBShape* shape : removed) shape->deleteLater();
  emit countChanged();
}

int NBShapeList::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant NBShapeList::data(const QModelIndex& index, int role) const {
  if (role != ShapeRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  return QVariant::fromValue(static_cast<QObject*>(shapes_.at(index.row())));
}

QHash<int, QByteArray> NBShapeList::roleNames() const {
  return {{ShapeRole, "nbShape"}};
}

AnnotationLayerModel::AnnotationLayerModel(QObject* parent) : QObject(parent), nbShapes_(this) {}

void AnnotationLayerModel::setStrokeColor(const QColor& color) {
  if (strokeColor_ == color) return;
  strokeColor_ = color;
  emit strokeColorChanged();
}

void AnnotationLayerModel::setStrokeThickness(double thickness) {
  if (strokeThickness_ == thickness) return;
  strokeThickness_ = thickness;
  emit strokeThicknessChanged();
}

void AnnotationLayerModel::dragChanged(QPointF location) {
  if (!drawingNBShape_) {
    auto* shape = new NBShapeFreehand(&nbShapes_);
    drawingNBShape_ = shape;
    // The pen as it is now: later pen changes leave this stroke as drawn.
    shape->setColor(strokeColor_);
    shape->setThickness(strokeThickness_);
    nbShapes_.append(shape);
    emit drawingNBShapeChanged();
  }
  drawingNBShape_->addPoint(location);
}

void AnnotationLayerModel::dragEnded() {
  if (!drawingNBShape_) return;
  drawingNBShape_ = nullptr;
  emit drawingNBShapeChanged();
}

void AnnotationLayerModel::clear() {
  dragEnded();
  nbShapes_.clear();
}

}  // namespace dravin
