#include <gtest/gtest.h>

#include <QtQml/qqmlextensionplugin.h>
#include <QColor>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QImage>
#include <QPointer>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <memory>

#include "annotation_layer_model.h"
#include "nb_shape.h"

Q_IMPORT_QML_PLUGIN(PeloraDravinPlugin)

using namespace dravin;

TEST(NBShapeRectangle, SpansItsFirstAndLatestPoint) {
  {  // dragged up-left of its start: the size stays positive, the centre sits between
    NBShapeRectangle r;
    r.addPoint({10, 10});
    r.addPoint({4, 30});
    EXPECT_TRUE(r.bInit());
    EXPECT_EQ(r.startPoint(), QPointF(10, 10));
    EXPECT_EQ(r.endPoint(), QPointF(4, 30));
    EXPECT_DOUBLE_EQ(r.width(), 6);
    EXPECT_DOUBLE_EQ(r.height(), 20);
    EXPECT_DOUBLE_EQ(r.x(), 7);
    EXPECT_DOUBLE_EQ(r.y(), 20);
    // later points move only the end
    r.addPoint({20, 0});
    EXPECT_EQ(r.startPoint(), QPointF(10, 10));
    EXPECT_DOUBLE_EQ(r.width(), 10);
    EXPECT_DOUBLE_EQ(r.height(), 10);
    EXPECT_DOUBLE_EQ(r.x(), 15);
    EXPECT_DOUBLE_EQ(r.y(), 5);
  }
  {  // a single point: zero size centred on it
    NBShapeRectangle r;
    r.addPoint({5.5, -8});
    EXPECT_EQ(r.startPoint(), QPointF(5.5, -8));
    EXPECT_EQ(r.endPoint(), QPointF(5.5, -8));
    EXPECT_EQ(r.width(), 0.0);
    EXPECT_EQ(r.height(), 0.0);
    EXPECT_DOUBLE_EQ(r.x(), 5.5);
    EXPECT_DOUBLE_EQ(r.y(), -8);
  }
}

TEST(NBShape, ObserversHearBeforeEachChange) {
  {  // a stroke's points
    NBShapeFreehand s;
    QList<qsizetype> sizesSeen;
    QObject::connect(&s, &NBShape::objectWillChange, [&] { sizesSeen.append(s.points().size()); });
    QSignalSpy after(&s, &NBShapeFreehand::pointsChanged);
    s.addPoint({1, 1});
    s.addPoint({2, 3});
    EXPECT_EQ(sizesSeen, (QList<qsizetype>{0, 1}));
    EXPECT_EQ(after.count(), 2);
    EXPECT_EQ(s.points(), (QList<QPointF>{{1, 1}, {2, 3}}));
  }
  {  // colour and thickness; setting the same value again is no change
    NBShapeFreehand s;
    QList<QColor> colorsSeen;
    QList<double> thicknessesSeen;
    QObject::connect(&s, &NBShape::objectWillChange, [&] {
      colorsSeen.append(s.color());
      thicknessesSeen.append(s.thickness());
    });
    QSignalSpy colorAfter(&s, &NBShape::colorChanged);
    s.setColor(Qt::red);
    s.setColor(Qt::red);
    s.setThickness(7.5);
    EXPECT_EQ(colorsSeen, (QList<QColor>{Qt::green, Qt::red}));
    EXPECT_EQ(thicknessesSeen, (QList<double>{2.0, 2.0}));
    EXPECT_EQ(colorAfter.count(), 1);
    EXPECT_EQ(s.thickness(), 7.5);
  }
  {  // a rectangle's box: the observer still sees the previous one
    NBShapeRectangle r;
    r.addPoint({0, 0});
    QList<double> widthsSeen;
    QObject::connect(&r, &NBShape::objectWillChange, [&] { widthsSeen.append(r.width()); });
    QSignalSpy after(&r, &NBShapeRectangle::geometryChanged);
    r.addPoint({8, 4});
    r.addPoint({3, 4});
    EXPECT_EQ(widthsSeen, (QList<double>{0, 8}));
    EXPECT_EQ(after.count(), 2);
  }
  {  // a tap turns the rectangle green, says so, and tells observers first
    NBShapeRectangle r;
    r.setColor(Qt::blue);
    QList<QColor> colorsSeen;
    QObject::connect(&r, &NBShape::objectWillChange, [&] { colorsSeen.append(r.color()); });
    testing::internal::CaptureStdout();
    r.tapped();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Clicked in Rectangle\n");
    EXPECT_EQ(r.color(), QColor(Qt::green));
    ASSERT_FALSE(colorsSeen.isEmpty());
    EXPECT_EQ(colorsSeen.first(), QColor(Qt::blue));
  }
}

TEST(AnnotationLayerModel, EachDragIsOneStrokeInThePenOfItsStart) {
  AnnotationLayerModel m;
  EXPECT_EQ(m.drawingNBShape(), nullptr);
  QSignalSpy inserted(m.nbShapes(), &QAbstractItemModel::rowsInserted);

  m.setStrokeColor(Qt::red);
  m.setStrokeThickness(5);
  m.dragChanged({1, 1});
  // the pen changes while the stroke is drawn: the stroke keeps the pen it started with
  m.setStrokeColor(Qt::blue);
  m.setStrokeThickness(9);
  m.dragChanged({2, 4});
  m.dragChanged({3, 9});
  ASSERT_EQ(m.shapes().size(), 1);
  auto* first = qobject_cast<NBShapeFreehand*>(m.shapes().at(0));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(m.drawingNBShape(), first);
  EXPECT_EQ(first->points(), (QList<QPointF>{{1, 1}, {2, 4}, {3, 9}}));
  EXPECT_EQ(first->color(), QColor(Qt::red));
  EXPECT_EQ(first->thickness(), 5.0);

  m.dragEnded();
  EXPECT_EQ(m.drawingNBShape(), nullptr);
  m.setStrokeColor(Qt::yellow);
  EXPECT_EQ(first->color(), QColor(Qt::red));

  m.dragChanged({50, 50});
  m.dragEnded();
  m.dragEnded();
  ASSERT_EQ(m.shapes().size(), 2);
  EXPECT_EQ(m.shapes().at(0), first);
  EXPECT_EQ(first->points().size(), 3);
  auto* second = qobject_cast<NBShapeFreehand*>(m.shapes().at(1));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->points(), (QList<QPointF>{{50, 50}}));
  EXPECT_EQ(second->color(), QColor(Qt::yellow));
  EXPECT_EQ(second->thickness(), 9.0);
  EXPECT_NE(first->id(), second->id());

  // the list model the view repeats over, one insertion per stroke
  EXPECT_EQ(inserted.count(), 2);
  EXPECT_EQ(m.nbShapes()->rowCount(), 2);
  const QModelIndex row1 = m.nbShapes()->index(1);
  EXPECT_EQ(row1.data(NBShapeList::ShapeRole).value<QObject*>(), second);
  EXPECT_EQ(m.nbShapes()->at(2), nullptr);
}

TEST(AnnotationLayerModel, ClearRemovesStrokesEvenWhileOneIsDrawn) {
  AnnotationLayerModel m;
  m.dragChanged({1, 1});
  m.dragEnded();
  m.dragChanged({2, 2});
  QPointer<NBShape> drawn = m.drawingNBShape();
  m.clear();
  EXPECT_TRUE(m.shapes().isEmpty());
  EXPECT_EQ(m.drawingNBShape(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(drawn.isNull());
  // the same drag goes on: a fresh stroke, not a write into the removed one
  m.dragChanged({3, 3});
  ASSERT_EQ(m.shapes().size(), 1);
  auto* fresh = qobject_cast<NBShapeFreehand*>(m.shapes().at(0));
  ASSERT_NE(fresh, nullptr);
  EXPECT_EQ(fresh->points(), (QList<QPointF>{{3, 3}}));
}

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;
const QColor kPicture("#203040");

// The layer over a stand-in for the picture, whose own drag handler records whether it ran.
const char* kScene = R"(
import QtQuick
import PeloraDravin

Rectangle {
    id: root
    anchors.fill: parent
    color: "#203040"
    property alias annotation: annotation
    property bool pictureDragged: false

    DragHandler {
        target: null
        onActiveChanged: if (active) root.pictureDragged = true
    }

    AnnotationView {
        id: annotation
    }
}
)";

bool near(const QColor& a, const QColor& b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

class AnnotationViewTest : public testing::Test {
 protected:
  void SetUp() override {
    // The module's files are compiled into resources under its URI.
    engine_.addImportPath(QStringLiteral("qrc:/"));
    window_.resize(kWidth, kHeight);
    QQmlComponent component(&engine_);
    component.setData(kScene, QUrl(QStringLiteral("annotation_scene.qml")));
    ASSERT_TRUE(component.isReady()) << component.errorString().toStdString();
    root_.reset(qobject_cast<QQuickItem*>(component.create()));
    ASSERT_NE(root_, nullptr) << component.errorString().toStdString();
    root_->setParentItem(window_.contentItem());
    annotation_ = root_->property("annotation").value<QQuickItem*>();
    ASSERT_NE(annotation_, nullptr);
    model_ = annotation_->property("model").value<AnnotationLayerModel*>();
    ASSERT_NE(model_, nullptr);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  QImage grab() {
    QCoreApplication::processEvents();
    return window_.grabWindow();
  }

  // Waits for a pixel to match, because a grab may come before the scene took the last change.
  bool waitForPixel(QPoint p, const QColor& want, int tolerance = 40) {
    QDeadlineTimer deadline(5000);
    QColor got;
    do {
      got = grab().pixelColor(p);
      if (near(got, want, tolerance)) return true;
      QTest::qWait(20);
    } while (!deadline.hasExpired());
    ADD_FAILURE() << "pixel " << p.x() << "," << p.y() << " is " << got.name().toStdString()
                  << ", wanted " << want.name().toStdString();
    return false;
  }

  QQmlEngine engine_;
  QQuickWindow window_;
  std::unique_ptr<QQuickItem> root_;
  QQuickItem* annotation_ = nullptr;
  AnnotationLayerModel* model_ = nullptr;
};

}  // namespace

TEST_F(AnnotationViewTest, StrokesAndRectanglesAreDrawnInTheirPen) {
  model_->setStrokeColor(Qt::red);
  model_->setStrokeThickness(8);
  for (int x = 20; x <= 380; x += 4) model_->dragChanged(QPointF(x, 150 + (x % 8 == 0 ? 1 : -1)));
  model_->dragEnded();
  // A few hundred points in one curve, as a hand writes.
  model_->setStrokeColor(QColor("#ffd000"));
  model_->setStrokeThickness(4);
  for (int i = 0; i <= 400; ++i) {
    const double t = i / 400.0;
    model_->dragChanged(QPointF(30 + 340 * t, 230 + 40 * std::sin(t * 6 * M_PI)));
  }
  model_->dragEnded();

  // A tap-sized stroke of one point is a dot.
  model_->setStrokeColor(Qt::red);
  model_->setStrokeThickness(8);
  model_->dragChanged({100, 60});
  model_->dragEnded();

  auto* box = new NBShapeRectangle;
  box->setColor(Qt::blue);
  box->setThickness(4);
  box->addPoint({320, 40});
  box->addPoint({220, 100});
  model_->nbShapes()->append(box);

  for (int x : {40, 200, 360}) EXPECT_TRUE(waitForPixel({x, 150}, Qt::red, 30)) << x;
  EXPECT_TRUE(waitForPixel({30, 230}, QColor("#ffd000"), 60));
  EXPECT_TRUE(waitForPixel({100, 60}, Qt::red, 30));
  EXPECT_TRUE(waitForPixel({220, 70}, Qt::blue, 60));
  EXPECT_TRUE(waitForPixel({270, 40}, Qt::blue, 60));

  const QImage image = grab();
  if (const QByteArray path = qgetenv("DRAVIN_ANNOTATION_PNG"); !path.isEmpty())
    image.save(QString::fromLocal8Bit(path));
  // Away from the strokes: the picture under a faint white wash, and inside the box no fill.
  const QColor washed = image.pixelColor(200, 20);
  EXPECT_FALSE(near(washed, kPicture, 5)) << washed.name().toStdString();
  const auto wash = [](int c) { return static_cast<int>(c * 0.9 + 255 * 0.1); };
  const QColor expected(wash(kPicture.red()), wash(kPicture.green()), wash(kPicture.blue()));
  EXPECT_TRUE(near(washed, expected, 3)) << washed.name().toStdString();
  EXPECT_TRUE(near(image.pixelColor(270, 70), washed, 2));

  // Disabled: strokes stay, the wash goes.
  annotation_->setEnabled(false);
  EXPECT_TRUE(waitForPixel({200, 20}, kPicture, 0));
  EXPECT_TRUE(waitForPixel({200, 150}, Qt::red, 30));
}

TEST_F(AnnotationViewTest, DragsDrawWhileEnabledAndReachThePictureWhenNot) {
  {  // a mouse drag draws one stroke and leaves the picture alone
    QTest::mousePress(&window_, Qt::LeftButton, {}, QPoint(30, 30));
    QTest::mouseMove(&window_, QPoint(40, 30));
    QTest::mouseMove(&window_, QPoint(60, 40));
    QTest::mouseMove(&window_, QPoint(90, 60));
    EXPECT_NE(model_->drawingNBShape(), nullptr);
    QTest::mouseRelease(&window_, Qt::LeftButton, {}, QPoint(90, 60));
    EXPECT_EQ(model_->drawingNBShape(), nullptr);
    ASSERT_EQ(model_->shapes().size(), 1);
    auto* stroke = qobject_cast<NBShapeFreehand*>(model_->shapes().at(0));
    ASSERT_NE(stroke, nullptr);
    // from the first location after the drag began, not the press; each location once
    EXPECT_EQ(stroke->points(), (QList<QPointF>{{40, 30}, {60, 40}, {90, 60}}));
    EXPECT_FALSE(root_->property("pictureDragged").toBool());
  }
  {  // a click on a rectangle is a tap on it, not a stroke
    auto* box = new NBShapeRectangle;
    box->setColor(Qt::blue);
    box->addPoint({200, 100});
    box->addPoint({300, 200});
    model_->nbShapes()->append(box);
    QCoreApplication::processEvents();
    QTest::mouseClick(&window_, Qt::LeftButton, {}, QPoint(250, 150));
    EXPECT_EQ(box->color(), QColor(Qt::green));
    EXPECT_EQ(model_->shapes().size(), 2);
  }
  {  // disabled, the same drag pans the picture and draws nothing
    annotation_->setEnabled(false);
    QTest::mousePress(&window_, Qt::LeftButton, {}, QPoint(30, 200));
    for (int x = 40; x <= 150; x += 10) QTest::mouseMove(&window_, QPoint(x, 200));
    QTest::mouseRelease(&window_, Qt::LeftButton, {}, QPoint(150, 200));
    EXPECT_TRUE(root_->property("pictureDragged").toBool());
    EXPECT_EQ(model_->shapes().size(), 2);
  }
}
