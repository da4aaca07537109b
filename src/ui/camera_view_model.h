#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QPointF>
#include <QTimer>

namespace dravin {

// State of the live picture: its rotation and mirroring as the control bar asks for them, and
// the splash shown while the camera starts.
class CameraViewModel : public QObject {
  Q_OBJECT
  QML_ELEMENT

  Q_PROPERTY(double rotation READ rotation NOTIFY rotationChanged)
  Q_PROPERTY(bool mirrorHorizontal READ mirrorHorizontal NOTIFY mirrorChanged)
  Q_PROPERTY(bool isVertical READ isVertical NOTIFY isVerticalChanged)
  Q_PROPERTY(bool showSplash READ showSplash NOTIFY showSplashChanged)
  // Kept current by the capture controller once it exists.
  Q_PROPERTY(double digitalZoomFactor READ digitalZoomFactor WRITE setDigitalZoomFactor NOTIFY
                 digitalZoomFactorChanged)

 public:
  static constexpr int kSplashDurationMs = 2000;

  explicit CameraViewModel(QObject* parent = nullptr);

  double rotation() const { return rotation_; }
  bool mirrorHorizontal() const { return mirrorHorizontal_; }
  bool isVertical() const { return isVertical_; }
  bool showSplash() const { return showSplash_; }
  double digitalZoomFactor() const { return digitalZoomFactor_; }
  void setDigitalZoomFactor(double factor);

  // The view calls this once it is on screen; the splash ends a fixed time later.
  Q_INVOKABLE void viewAppeared();
  // A drag on the picture, translation since it began; `ended` closes the drag.
  Q_INVOKABLE void dragPreview(bool ended, double dx, double dy);

 signals:
  // The capture controller copies these, for snapshots and recordings to match the view.
  void rotationChanged(double rotation);
  void mirrorChanged(bool mirrorHorizontal);
  void isVerticalChanged();
  void showSplashChanged();
  void digitalZoomFactorChanged();
  // For the capture controller's preview pan.
  void dragPreviewRequested(bool ended, QPointF translation, double rotation);

 private:
  void rotate(const QVariantMap& info);
  void toggleMirror();

  double rotation_ = 0;
  bool mirrorHorizontal_ = false;
  bool isVertical_ = false;
  bool showSplash_ = true;
  double digitalZoomFactor_ = 1.0;
  QTimer splashTimer_;
};

// Rotation in whole degrees, reduced into 0 ... 359 whatever its sign.
int normalizedDegrees(double rotation);

}  // namespace dravin
