#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QUuid>

#include <functional>
#include <utility>

namespace dravin {

// In a namespace of its own so QML reads it as `NBShapeType.FreeHand`.
namespace nb_shape_type {
Q_NAMESPACE
QML_NAMED_ELEMENT(NBShapeType)

enum class NBShapeType { FreeHand, Rectangle, unknown };
Q_ENUM_NS(NBShapeType)
}  // namespace nb_shape_type
using nb_shape_type::NBShapeType;

// A drawn shape with an identity. Observers hear `objectWillChange` before every mutation, so
// they can keep the old state; the per-property signals follow the mutation for QML bindings.
class NBShape : public QObject {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("Shapes are made by the annotation layer")

  Q_PROPERTY(QUuid id READ id CONSTANT)
  Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
  Q_PROPERTY(double thickness READ thickness WRITE setThickness NOTIFY thicknessChanged)
  Q_PROPERTY(dravin::nb_shape_type::NBShapeType type READ type CONSTANT)

 public:
  static QColor defaultColor() { return QColor(Qt::green); }
  static constexpr double kDefaultThickness = 2.0;

  explicit NBShape(QObject* parent = nullptr) : NBShape(NBShapeType::unknown, parent) {}

  QUuid id() const { return id_; }
  QColor color() const { return color_; }
  void setColor(const QColor& color);
  double thickness() const { return thickness_; }
  void setThickness(double thickness);
  NBShapeType type() const { return type_; }

  // A point in the layer's own coordinates; what it means is up to the shape.
  Q_INVOKABLE virtual void addPoint(QPointF point);

 signals:
  void objectWillChange();
  void colorChanged();
  void thicknessChanged();

 protected:
  NBShape(NBShapeType type, QObject* parent);

 private:
  const QUuid id_ = QUuid::createUuid();
  QColor color_ = defaultColor();
  double thickness_ = kDefaultThickness;
  const NBShapeType type_;
};

// A stroke through the points in the order they came.
// The base is named in full for the QML type tools, which do not look inside the namespace.
class NBShapeFreehand : public dravin::NBShape {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("Shapes are made by the annotation layer")

  // A QList<QPointF> is what a PathPolyline takes without converting each point.
  Q_PROPERTY(QList<QPointF> points READ points NOTIFY pointsChanged)

 public:
  explicit NBShapeFreehand(QObject* parent = nullptr) : NBShape(NBShapeType::FreeHand, parent) {}

  const QList<QPointF>& points() const { return points_; }
  void addPoint(QPointF point) override;

 signals:
  void pointsChanged();

 private:
  QList<QPointF> points_;
};

// A box spanned by its first point and its latest one, whichever way the drag goes.
class NBShapeRectangle : public dravin::NBShape {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("Shapes are made by the annotation layer")

  Q_PROPERTY(QPointF startPoint READ startPoint NOTIFY geometryChanged)
  Q_PROPERTY(QPointF endPoint READ endPoint NOTIFY geometryChanged)
  Q_PROPERTY(bool bInit READ bInit NOTIFY geometryChanged)
  // The centre of the box.
  Q_PROPERTY(double x READ x NOTIFY geometryChanged)
  Q_PROPERTY(double y READ y NOTIFY geometryChanged)
  Q_PROPERTY(double width READ width NOTIFY geometryChanged)
  Q_PROPERTY(double height READ height NOTIFY geometryChanged)

 public:
  using Callback = std::function<void(NBShapeRectangle*)>;

  explicit NBShapeRectangle(QObject* parent = nullptr) : NBShape(NBShapeType::Rectangle, parent) {}

  QPointF startPoint() const { return startPoint_; }
  QPointF endPoint() const { return endPoint_; }
  bool bInit() const { return bInit_; }
  double x() const { return x_; }
  double y() const { return y_; }
  double width() const { return width_; }
  double height() const { return height_; }
  // Kept for whoever sets it; nothing here calls it.
  const Callback& callback() const { return callback_; }
  void setCallback(Callback callback) { callback_ = std::move(callback); }

  void addPoint(QPointF point) override;
  // A single tap on the drawn rectangle.
  Q_INVOKABLE void tapped();

 signals:
  void geometryChanged();

 private:
  QPointF startPoint_;
  QPointF endPoint_;
  bool bInit_ = false;
  double x_ = 0;
  double y_ = 0;
  double width_ = 0;
  double height_ = 0;
  Callback callback_;
};

}  // namespace dravin
