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
  auto* main = qobject_cast<CameraController*>(mainController_.data());
  if (main) camera = docCam ? main->curDocCamera : main->curPipCamera;
  if (!camera) return;
  // A camera's device serves one session: opened twice it would stay black.
  if (const auto running = main->curTarvoCamera();
      running && running->uniqueID == camera->uniqueID && main->isRunning()) {
    problem_ = kBusyText;
    logLine(QStringLiteral("Aux camera not opened: ") + kBusyText);
    emit stateChanged();
    return;
  }

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

  QPointer<SecondCameraModel> self(this);
  controller_->prepare([docCam, self](std::optional<CameraControllerError> error) {
    // The view says why it stays empty.
    if (error) {
      logLine((docCam ? QStringLiteral("Document camera: ") : QStringLiteral("PIP camera: ")) +
              QString::fromUtf8(error->what()));
      if (self) {
        self->problem_ =
            QStringLiteral("The Aux Camera cannot be opened: ") + QString::fromUtf8(error->what());
        emit self->stateChanged();
      }
    }
  });
}

}  // namespace dravin
