#pragma once

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include "nb_shape.h"

namespace dravin {

// The shapes of the layer in creation order, as a list model so a view adds one delegate per new
// stroke instead of rebuilding them all. Owns its shapes.
class NBShapeList : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("Held by the annotation layer")

  Q_PROPERTY(int count READ count NOTIFY countChanged)

 public:
  enum Roles { ShapeRole = Qt::UserRole + 1 };

  explicit NBShapeList(QObject* parent = nullptr) : QAbstractListModel(parent) {}

  int count() const { return static_cast<int>(shapes_.size()); }
  const QList<NBShape*>& shapes() const { return shapes_; }
  Q_INVOKABLE dravin::NBShape* at(int row) const;

  // Takes ownership.
  void append(NBShape* shape);
  void clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

 signals:
  void countChanged();

 private:
  QList<NBShape*> shapes_;
};

// State of the drawing layer over the live picture: its shapes and the pen for new strokes.
class AnnotationLayerModel : public QObject {
  Q_OBJECT
  QML_ELEMENT

  Q_PROPERTY(dravin::NBShapeList* nbShapes READ nbShapes CONSTANT)
  Q_PROPERTY(QColor strokeColor READ strokeColor WRITE setStrokeColor NOTIFY strokeColorChanged)
  Q_PROPERTY(double strokeThickness READ strokeThickness WRITE setStrokeThickness NOTIFY
                 strokeThicknessChanged)
  Q_PROPERTY(dravin::NBShape* drawingNBShape READ drawingNBShape NOTIFY drawingNBShapeChanged)

 public:
  explicit AnnotationLayerModel(QObject* parent = nullptr);

  NBShapeList* nbShapes() { return &nbShapes_; }
  const QList<NBShape*>& shapes() const { return nbShapes_.shapes(); }
  QColor strokeColor() const { return strokeColor_; }
  void setStrokeColor(const QColor& color);
  double strokeThickness() const { return strokeThickness_; }
  void setStrokeThickness(double thickness);
  NBShape* drawingNBShape() const { return drawingNBShape_; }

  // The drag's current location, in the layer's coordinates, on every change of the drag.
  Q_INVOKABLE void dragChanged(QPointF location);
  Q_INVOKABLE void dragEnded();
  // Removes every shape and ends a stroke in progress.
  Q_INVOKABLE void clear();

 signals:
  void strokeColorChanged();
  void strokeThicknessChanged();
  void drawingNBShapeChanged();

 private:
  NBShapeList nbShapes_;
  QColor strokeColor_ = QColor(Qt::black);
  double strokeThickness_ = 2.0;
  // Guarded: a stroke removed while drawn must not be written to afterwards.
  QPointer<NBShape> drawingNBShape_;
};

}  // namespace dravin
