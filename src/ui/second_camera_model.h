#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QVideoSink>
#include <memory>

namespace dravin {

class SecondCameraController;

// A second camera view's state: built with its view, it opens the camera the main capture
// controller has chosen for it and ends it when the view goes, releasing the device.
class SecondCameraModel : public QObject, public QQmlParserStatus {
  Q_OBJECT
  Q_INTERFACES(QQmlParserStatus)
  QML_ELEMENT

  Q_PROPERTY(Kind kind READ kind WRITE setKind NOTIFY kindChanged)
  // The main capture controller, which holds the chosen second cameras; may be null.
  Q_PROPERTY(QObject* mainController READ mainController WRITE setMainController NOTIFY
                 mainControllerChanged)
  Q_PROPERTY(QVideoSink* videoSink READ videoSink WRITE setVideoSink NOTIFY videoSinkChanged)
  Q_PROPERTY(bool hasCamera READ hasCamera NOTIFY stateChanged)
  // Why no picture shows: no camera chosen, or the chosen one cannot be opened.
  Q_PROPERTY(QString hint READ hint NOTIFY stateChanged)

 public:
  enum class Kind { PictureInPicture, DocumentCamera };
  Q_ENUM(Kind)

  explicit SecondCameraModel(QObject* parent = nullptr);
  ~SecondCameraModel() override;

  Kind kind() const { return kind_; }
  void setKind(Kind kind);
  QObject* mainController() const { return mainController_; }
  void setMainController(QObject* controller);
  QVideoSink* videoSink() const { return sink_; }
  void setVideoSink(QVideoSink* sink);
  bool hasCamera() const { return controller_ != nullptr && problem_.isEmpty(); }
  QString hint() const {
    return problem_.isEmpty() ? QStringLiteral("Choose an Aux Camera in Settings.") : problem_;
  }
  static inline const QString kBusyText = QStringLiteral(
      "The Aux Camera is the Main Camera: the device is busy with the main picture. Choose "
      "another Aux Camera in Settings.");

  void classBegin() override {}
  // The view's properties are set by now: the camera opens once, here.
  void componentComplete() override;

 signals:
  void kindChanged();
  void mainControllerChanged();
  void videoSinkChanged();
  void stateChanged();

 private:
  Kind kind_ = Kind::PictureInPicture;
  QPointer<QObject> mainController_;
  QPointer<QVideoSink> sink_;
  std::unique_ptr<SecondCameraController> controller_;
  QString problem_;
};

}  // namespace dravin
