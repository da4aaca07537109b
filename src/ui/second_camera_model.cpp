#include "second_camera_model.h"

#include "app_log.h"
#include "board_bridge.h"
#include "camera_controller.h"
#include "doccam_controller.h"
#include "pip_controller.h"

namespace dravin {

SecondCameraModel::SecondCameraModel(QObject* parent) : QObject(parent) {}

// Out of line: the controller's type is complete here.
SecondCameraModel::~SecondCameraModel() = default;

void SecondCameraModel::setKind(Kind kind) {
  if (kind_ == kind) return;
  kind_ = kind;
  emit kindChanged();
}

void SecondCameraModel::setMainController(QObject* controller) {
  if (mainController_ == controller) return;
  mainController_ = controller;
  emit mainControllerChanged();
}

void SecondCameraModel::setVideoSink(QVideoSink* sink) {
  if (sink_ == sink) return;
  sink_ = sink;
  if (controller_) controller_->setVideoSink(sink);
  emit videoSinkChanged();
}

void SecondCameraModel::componentComplete() {
  const bool docCam = kind_ == Kind::DocumentCamera;
  std::optional<TarvoCamera> camera;
  if (auto* main = qobject_cast<CameraController*>(mainController_.data())) {
    camera = docCam ? main->curDocCamera : main->curPipCamera;
  }
  if (!camera) return;

  if (docCam) {
    auto controller = std::make_unique<DocCamController>();
    controller->showBoardTile = [] {
      BoardBridge& board = BoardBridge::instance();
      // The board asks for the tile's frames by itself from now on.
      board.latestDocCamFrame = &DocCamController::latestFrameImage;
      board.showTunnelWindow(BoardBridge::kDocumentCamera, QString(),
                             QStringLiteral("Document Camera"));
    };
    controller_ = std::move(controller);
  } else {
    controller_ = std::make_unique<PIPController>();
  }
  controller_->setCamera(*camera);
  controller_->setVideoSink(sink_);
  emit stateChanged();

  controller_->prepare([docCam](std::optional<CameraControllerError> error) {
    // The view stays empty; the reason goes to the log.
    if (error) {
      logLine((docCam ? QStringLiteral("Document camera: ") : QStringLiteral("PIP camera: ")) +
              QString::fromUtf8(error->what()));
    }
  });
}

}  // namespace dravin
