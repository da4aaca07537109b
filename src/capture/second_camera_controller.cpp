#include "second_camera_controller.h"

#include "app_log.h"
#include "camera_session.h"
#include "sample_frame.h"

namespace dravin {

SecondCameraController::SecondCameraController(const QString& queueLabel, QObject* parent)
    : QObject(parent), queue_(std::make_unique<SerialQueue>(queueLabel)) {}

SecondCameraController::~SecondCameraController() {
  shutdown();
}

void SecondCameraController::shutdown() {
  // Work already under way finishes first; the session is then ended here, on the caller.
  queue_.reset();
  std::shared_ptr<gst::CameraSession> session;
  {
    std::lock_guard lock(mutex_);
    session = std::move(session_);
  }
  if (session) session->stop();
}

void SecondCameraController::setCamera(const TarvoCamera& camera) {
  std::lock_guard lock(mutex_);
  camera_ = camera;
}

std::optional<TarvoCamera> SecondCameraController::curTarvoCamera() const {
  std::lock_guard lock(mutex_);
  return camera_;
}

bool SecondCameraController::isRunning() const {
  std::lock_guard lock(mutex_);
  return session_ && session_->isRunning();
}

void SecondCameraController::prepare(Completion completion) {
  queue_->dispatch([this, completion = std::move(completion)] {
    std::optional<CameraControllerError> failure;
    try {
      std::optional<TarvoCamera> camera;
      {
        std::lock_guard lock(mutex_);
        prepared_ = true;
        camera = camera_;
      }
      if (!camera) throw CameraControllerError(CameraControllerError::Code::noCamerasAvailable);
      replaceSession(*camera);
      startSession();
    } catch (const CameraControllerError& error) {
      failure = error;
    } catch (const std::exception& error) {
      failure = CameraControllerError(CameraControllerError::Code::unknown, error.what());
    }
    complete(completion, failure);
  });
}

void SecondCameraController::changeCamera(const TarvoCamera& camera, Completion completion) {
  queue_->dispatch([this, camera, completion = std::move(completion)] {
    std::optional<CameraControllerError> failure;
    try {
      bool prepared;
      bool wasRunning;
      {
        std::lock_guard lock(mutex_);
        prepared = prepared_;
        wasRunning = session_ && session_->isRunning();
      }
      if (!prepared) {
        throw CameraControllerError(CameraControllerError::Code::captureSessionIsMissing);
      }
      replaceSession(camera);
      if (wasRunning) startSession();
    } catch (const CameraControllerError& error) {
      failure = error;
    } catch (const std::exception& error) {
      failure = CameraControllerError(CameraControllerError::Code::unknown, error.what());
    }
    complete(completion, failure);
  });
}

void SecondCameraController::close(Completion completion) {
  queue_->dispatch([this, completion = std::move(completion)] {
    stopSession();
    {
      std::lock_guard lock(mutex_);
      prepared_ = false;
    }
    complete(completion, std::nullopt);
  });
}

void SecondCameraController::replaceSession(const TarvoCamera& camera) {
  stopSession();
  const gst::SessionInputs inputs{camera.camera.sourceLaunch, capsFor(camera), std::nullopt};
  std::shared_ptr<gst::CameraSession> session;
  try {
    session = std::make_shared<gst::CameraSession>(inputs);
  } catch (const gst::GstError& error) {
    throw CameraControllerError(CameraControllerError::Code::inputsAreInvalid, error.what());
  }
  session->onVideoSample = [this](GstSample* sample) {
    QVideoFrame frame = videoFrameFromSample(sample);
    if (!frame.isValid()) return;
    bool post;
    {
      std::lock_guard lock(mutex_);
      pendingFrame_ = frame;
      post = !framePosted_;
      framePosted_ = true;
    }
    // One call in flight at most: a busy main thread skips frames instead of queueing them.
    if (post) {
      QMetaObject::invokeMethod(this, &SecondCameraController::showPendingFrame,
                                Qt::QueuedConnection);
    }
    frameArrived(frame);
  };
  session->onError = [](const std::string& text) {
    logLine(QStringLiteral("Capture session error: ") + QString::fromStdString(text));
  };
  {
    std::lock_guard lock(mutex_);
    session_ = session;
    camera_ = camera;
  }
  sessionCreated(session);
}

void SecondCameraController::startSession() {
  std::shared_ptr<gst::CameraSession> session;
  {
    std::lock_guard lock(mutex_);
    session = session_;
  }
  if (!session) throw CameraControllerError(CameraControllerError::Code::captureSessionIsMissing);
  try {
    session->start();
  } catch (const gst::GstError& error) {
    // The device would not deliver: busy, gone, or not in the asked format.
    session->stop();
    throw CameraControllerError(CameraControllerError::Code::inputsAreInvalid, error.what());
  }
  QMetaObject::invokeMethod(this, &SecondCameraController::runningChanged, Qt::QueuedConnection);
}

void SecondCameraController::stopSession() {
  std::shared_ptr<gst::CameraSession> session;
  {
    std::lock_guard lock(mutex_);
    session = std::move(session_);
  }
  if (!session) return;
  // Outside the lock: stopping waits for the streaming thread, which takes it.
  session->stop();
  QMetaObject::invokeMethod(this, &SecondCameraController::runningChanged, Qt::QueuedConnection);
}

void SecondCameraController::complete(const Completion& completion,
                                      std::optional<CameraControllerError> failure) {
  if (!completion) return;
  QPointer<SecondCameraController> self(this);
  onMainThread([self, completion, failure] {
    if (self) completion(failure);
  });
}

void SecondCameraController::showPendingFrame() {
  QVideoFrame frame;
  {
    std::lock_guard lock(mutex_);
    frame = std::exchange(pendingFrame_, QVideoFrame());
    framePosted_ = false;
  }
  if (sink_ && frame.isValid()) sink_->setVideoFrame(frame);
}

void SecondCameraController::setVideoSink(QVideoSink* sink) {
  if (sink_ == sink) return;
  sink_ = sink;
  emit videoSinkChanged();
}

void SecondCameraController::sessionCreated(const std::weak_ptr<gst::CameraSession>&) {}

void SecondCameraController::frameArrived(const QVideoFrame&) {}

}  // namespace dravin
