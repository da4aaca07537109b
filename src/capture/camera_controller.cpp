#include "camera_controller.h"

#include "app_log.h"
#include "balance_controls.h"
#include "camera_session.h"
#include "devices.h"
#include "file_naming.h"
#include "hot_plug.h"
#include "notification_center.h"
#include "notification_names.h"
#include "sample_frame.h"
#include "snapshot_saving.h"
#include "storage_folders.h"
#include "user_texts.h"
#include "v4l2_controls.h"

namespace dravin {

CameraController::CameraController(std::unique_ptr<DeviceSource> devices,
                                   std::unique_ptr<CameraMemory> memory, QObject* parent)
    : QObject(parent),
      devices_(std::move(devices)),
      tuning_(memory ? std::move(memory) : std::make_unique<CameraMemory>()) {
  recordings_.videoFolder = [this] { return captureFolder(true); };
  recordings_.microphone = [this]() -> std::optional<CaptureDevice> {
    if (auto mic = curTarvoMic()) return mic->mic;
    return std::nullopt;
  };
  connect(&recordings_, &RecordingController::recordingChanged, this,
          &CameraController::recordingChanged);
  connect(&recordings_, &RecordingController::alertRequested, this,
          &CameraController::alertRequested);
}

CameraController::~CameraController() {
  // A preparation or rescan under way finishes first, so that none starts a session after this.
  queue_.reset();
  std::shared_ptr<gst::CameraSession> session;
  {
    std::lock_guard lock(stateMutex_);
    session = std::move(session_);
  }
  if (session) session->stop();
}

// Preparation and device switching, on the queue.

void CameraController::prepare(Completion completion) {
  queue_->dispatch([this, completion = std::move(completion)] {
    std::optional<CameraControllerError> failure;
    try {
      DiscoveredDevices found;
      found.cameras = discoverCameras(*devices_);
      try {
        found.mics = discoverMics(*devices_);
      } catch (const CameraControllerError& error) {
        // A camera shows without a microphone; its recordings are silent.
        logLine(QStringLiteral("No microphone: ") + error.what());
      }
      logDevices(found);
      std::optional<TarvoCamera> camera;
      std::optional<TarvoMic> mic;
      bool fullHD, ultraHD;
      {
        std::lock_guard lock(stateMutex_);
        discovered_ = found;
        if (!found.cameras.empty()) camera = found.cameras.front();
        if (!found.mics.empty()) mic = found.mics.front();
        fullHD = useFullHD_;
        ultraHD = useUltraHD_;
      }
      if (camera) switchDevices(*camera, mic, fullHD, ultraHD);
      startSession();
      watchDevices();
    } catch (const CameraControllerError& error) {
      // A camera plugged in later still starts.
      watchDevices();
      failure = error;
    } catch (const std::exception& error) {
      failure = CameraControllerError(CameraControllerError::Code::unknown, error.what());
    }
    if (completion) onMainThread([completion, failure] { completion(failure); });
  });
}

void CameraController::setSelection(std::optional<TarvoCamera> camera, std::optional<TarvoMic> mic,
                                    bool useFullHD, bool useUltraHD) {
  std::lock_guard lock(stateMutex_);
  curTarvoCamera_ = std::move(camera);
  curTarvoMic_ = std::move(mic);
  useFullHD_ = useFullHD;
  useUltraHD_ = useUltraHD;
}

void CameraController::applySelection() {
  queue_->dispatch([this] {
    std::optional<TarvoCamera> camera;
    std::optional<TarvoMic> mic;
    bool fullHD, ultraHD;
    {
      std::lock_guard lock(stateMutex_);
      logDevices(discovered_);
      if (discovered_.cameras.empty()) return;
      camera = curTarvoCamera_ ? curTarvoCamera_ : discovered_.cameras.front();
      mic = curTarvoMic_;
      fullHD = useFullHD_;
      ultraHD = useUltraHD_;
    }
    try {
      switchDevices(*camera, mic, fullHD, ultraHD);
      startSession();
    } catch (const std::exception& error) {
      logLine(QStringLiteral("Failed switching devices: ") + error.what());
    }
  });
}

void CameraController::watchDevices() {
  if (watching_) return;
  watching_ = true;
  QPointer<CameraController> self(this);
  devices_->watch([self] { scheduleRescan(self); });
}

void CameraController::scheduleRescan(QPointer<CameraController> self) {
  // Through the main thread, where the controller's life is known.
  onMainThread([self] {
    // A burst of messages (a monitor starting, a camera with several nodes) takes one look.
    if (!self || self->rescanPending_.exchange(true)) return;
    self->queue_->dispatch([self] {
      if (!self) return;
      self->rescanPending_ = false;
      self->rescanDevices();
    });
  });
}

void CameraController::rescanDevices() {
  DiscoveredDevices found;
  try {
    found.cameras = discoverCameras(*devices_);
  } catch (const CameraControllerError&) {
    // No camera left: an empty list, the running one is lost.
  }
  try {
    found.mics = discoverMics(*devices_);
  } catch (const CameraControllerError&) {
  }
  std::vector<TarvoCamera> before;
  PlugState state;
  bool fullHD, ultraHD;
  {
    std::lock_guard lock(stateMutex_);
    before = std::move(discovered_.cameras);
    discovered_ = found;
    if (session_ && curTarvoCamera_) state.runningCamera = curTarvoCamera_->uniqueID;
    if (session_ && curTarvoMic_) state.runningMic = curTarvoMic_->mic.uniqueID;
    state.lostCamera = lostCamera_;
    fullHD = useFullHD_;
    ultraHD = useUltraHD_;
  }
  logDevices(found);
  const PlugAction action = decidePlug(before, found, state);
  switch (action.kind) {
    case PlugAction::Kind::none: break;
    case PlugAction::Kind::loseCamera: {
      std::shared_ptr<gst::CameraSession> lost;
      {
        std::lock_guard lock(stateMutex_);
        lost = std::move(session_);
        lostCamera_ = *state.runningCamera;
      }
      tuning_.detach();
      if (lost) lost->stop();
      logLine(QStringLiteral("Camera unplugged: ") + QString::fromStdString(lostCamera_));
      QPointer<CameraController> self(this);
      onMainThread([self] {
        if (self) self->cameraLost();
      });
      break;
    }
    case PlugAction::Kind::startCamera:
    case PlugAction::Kind::replaceMic:
      try {
        switchDevices(*action.camera, action.mic, fullHD, ultraHD);
        startSession();
      } catch (const std::exception& error) {
        logLine(QStringLiteral("Failed switching devices: ") + error.what());
      }
      break;
  }
  // The pickers follow the lists.
  NotificationCenter::instance().post(notifications::kCameraListReady);
}

void CameraController::cameraLost() {
  // Plugged in again before this ran: it already runs again.
  if (isRunning()) return;
  // What was recorded up to the unplug is kept as a finished file.
  if (isRecording() && recordingSource() == QLatin1String("camera")) stopRecording();
  QPointer<QVideoSink> sink;
  {
    std::lock_guard lock(frameMutex_);
    latestFrame_ = QVideoFrame();
    sink = sink_;
  }
  // No frozen last frame: the view shows why the picture is gone.
  if (sink) sink->setVideoFrame(QVideoFrame());
  setDisconnected(true);
  emit runningChanged();
  emit modeChanged();
}

void CameraController::setDisconnected(bool disconnected) {
  if (disconnected_.exchange(disconnected) == disconnected) return;
  QMetaObject::invokeMethod(this, &CameraController::cameraDisconnectedChanged,
                            Qt::QueuedConnection);
}

bool CameraController::selectCamera(const QString& name) {
  std::optional<TarvoCamera> chosen;
  {
    std::lock_guard lock(stateMutex_);
    for (const auto& camera : discovered_.cameras) {
      if (camera.name && QString::fromStdString(*camera.name) == name) {
        chosen = camera;
        break;
      }
    }
    if (!chosen) return false;
    curTarvoCamera_ = chosen;
  }
  applySelection();
  return true;
}

void CameraController::setResolution(const QString& label) {
  const ResolutionFlags flags = resolutionFlagsFor(label);
  std::optional<TarvoCamera> camera;
  {
    std::lock_guard lock(stateMutex_);
    useFullHD_ = flags.useFullHD;
    useUltraHD_ = flags.useUltraHD;
    camera = curTarvoCamera_;
  }
  if (camera) tuning_.rememberResolution(*camera, label);
  applySelection();
}

QString CameraController::cameraMode() const {
  if (disconnected_) return kDisconnectedText;
  std::lock_guard lock(stateMutex_);
  if (!session_) return {};
  return QString::fromStdString(describeMode(activeChoice_));
}

QString CameraController::activeResolution() const {
  std::lock_guard lock(stateMutex_);
  return activeResolution_;
}

void CameraController::switchDevices(const TarvoCamera& camera, const std::optional<TarvoMic>& mic,
                                     bool useFullHD, bool useUltraHD) {
  tuning_.detach();
  // A camera comes back in the resolution chosen while it ran.
  if (const QString remembered = tuning_.rememberedResolution(camera); !remembered.isEmpty()) {
    const ResolutionFlags flags = resolutionFlagsFor(remembered);
    useFullHD = flags.useFullHD;
    useUltraHD = flags.useUltraHD;
  }
  std::shared_ptr<gst::CameraSession> old;
  {
    std::lock_guard lock(stateMutex_);
    old = std::move(session_);
  }
  if (old) {
    old->stop();
    QMetaObject::invokeMethod(this, &CameraController::runningChanged, Qt::QueuedConnection);
  }

  const FormatChoice choice = chooseFormat(camera, useFullHD, useUltraHD);
  gst::SessionInputs inputs{camera.camera.sourceLaunch, choice.caps, std::nullopt};
  if (mic) inputs.audioSource = mic->mic.sourceLaunch;
  std::shared_ptr<gst::CameraSession> session;
  try {
    session = std::make_shared<gst::CameraSession>(inputs);
  } catch (const gst::GstError& error) {
    throw CameraControllerError(CameraControllerError::Code::inputsAreInvalid, error.what());
  }
  session->onVideoSample = [this](GstSample* sample) { onVideoSample(sample); };
  session->onAudioSample = [this](GstSample* sample) { onAudioSample(sample); };
  QPointer<CameraController> self(this);
  session->onError = [self](const std::string& text) {
    logLine(QStringLiteral("Capture session error: ") + QString::fromStdString(text));
    // An unplugged camera fails its session before the monitor may have told: look again.
    scheduleRescan(self);
  };
  {
    std::lock_guard lock(stateMutex_);
    session_ = session;
    curTarvoCamera_ = camera;
    curTarvoMic_ = mic;
    activeChoice_ = choice;
    activeResolution_ = resolutionLabelFor(useFullHD, useUltraHD);
  }

  NotificationCenter::instance().post(notifications::kCameraListReady);
  std::weak_ptr<gst::CameraSession> watched = session;
  onMainThreadAfter(kMainCameraLogDelayMs, [watched, choice] {
    auto running = watched.lock();
    if (!running) return;
    QString format = choice.format ? QString::fromStdString(choice.format->mediaSubtype) + " " +
                                         QString::number(choice.format->width) + "x" +
                                         QString::number(choice.format->height)
                                   : QString::fromStdString(running->negotiatedFormat());
    logLine(QStringLiteral("Main Camera: ") + format);
  });
}

void CameraController::startSession() {
  std::shared_ptr<gst::CameraSession> session;
  std::optional<TarvoCamera> camera;
  {
    std::lock_guard lock(stateMutex_);
    session = session_;
    camera = curTarvoCamera_;
  }
  if (!session) throw CameraControllerError(CameraControllerError::Code::captureSessionIsMissing);
  try {
    session->start();
  } catch (const gst::GstError& error) {
    throw CameraControllerError(CameraControllerError::Code::unknown, error.what());
  }
  {
    std::lock_guard lock(stateMutex_);
    lostCamera_.clear();
  }
  setDisconnected(false);
  QMetaObject::invokeMethod(this, &CameraController::runningChanged, Qt::QueuedConnection);
  QMetaObject::invokeMethod(this, &CameraController::modeChanged, Qt::QueuedConnection);
  if (camera) {
    // The format is set by now; the picture controls come after it.
    std::unique_ptr<PictureControls> controls;
    if (auto balance = session->element(gst::BalanceControls::kElementName)) {
      controls = std::make_unique<gst::BalanceControls>(std::move(balance));
    } else if (!camera->camera.devicePath.empty()) {
      controls =
          std::make_unique<V4l2Controls>(std::make_unique<V4l2DeviceIo>(camera->camera.devicePath));
    }
    tuning_.attach(*camera, std::move(controls));
    QVariantMap info{{QStringLiteral("tarvoCamera"), QVariant::fromValue(*camera)}};
    NotificationCenter::instance().post(notifications::kCameraStarted, info);
    if (camera->isNolbek) {
      QPointer<CameraController> self(this);
      onMainThreadAfter(kHidStartDelayMs, [self, camera = *camera] {
        if (self) self->sessionStarted(camera);
      });
    }
  }
}

void CameraController::sessionStarted(const TarvoCamera& camera) {
  if (startHid) startHid(camera);
}

std::vector<TarvoCamera> CameraController::tarvoCameras() const {
  std::lock_guard lock(stateMutex_);
  return discovered_.cameras;
}

std::vector<TarvoMic> CameraController::tarvoMics() const {
  std::lock_guard lock(stateMutex_);
  return discovered_.mics;
}

std::optional<TarvoCamera> CameraController::curTarvoCamera() const {
  std::lock_guard lock(stateMutex_);
  return curTarvoCamera_;
}

std::optional<TarvoMic> CameraController::curTarvoMic() const {
  std::lock_guard lock(stateMutex_);
  return curTarvoMic_;
}

bool CameraController::isRunning() const {
  std::lock_guard lock(stateMutex_);
  return session_ && session_->isRunning();
}

// Frames, on the streaming threads.

void CameraController::onVideoSample(GstSample* sample) {
  QVideoFrame frame = videoFrameFromSample(sample);
  if (!frame.isValid()) return;
  QPointer<QVideoSink> sink;
  {
    std::lock_guard lock(frameMutex_);
    // Frozen, the picture on screen is the one snapshots save.
    if (!frozen_) {
      latestFrame_ = frame;
      sink = sink_;
    }
  }
  if (sink) sink->setVideoFrame(frame);
  recordings_.pushVideo(sample);
}

void CameraController::onAudioSample(GstSample* sample) {
  recordings_.pushAudio(sample);
}

void CameraController::setVideoSink(QVideoSink* sink) {
  {
    std::lock_guard lock(frameMutex_);
    if (sink_ == sink) return;
    sink_ = sink;
  }
  emit videoSinkChanged();
}

// Preview geometry, on the main thread.

void CameraController::updatePreviewFrame(QSizeF viewSize) {
  pictureSize_ = viewSize;
  geometry_.fitView(viewSize);
  emit previewFrameChanged();
  NotificationCenter::instance().post(notifications::kZoomedCamera);
}

void CameraController::setZoom(double factor) {
  geometry_.setZoom(factor);
  emit previewFrameChanged();
  NotificationCenter::instance().post(notifications::kZoomedCamera);
}

void CameraController::dragPreview(bool ended, double dx, double dy, double rotationDegrees) {
  if (geometry_.drag(ended, dx, dy, rotationDegrees, mirrorHorizontal_)) {
    emit previewFrameChanged();
  }
}

void CameraController::setWindowGeometry(QSizeF windowSize, QPointF pictureCentre) {
  windowSize_ = windowSize;
  pictureCentre_ = pictureCentre;
}

void CameraController::setRotation(double degrees) {
  if (rotation_ == degrees) return;
  rotation_ = degrees;
  emit rotationChanged();
}

void CameraController::setMirrorHorizontal(bool mirror) {
  if (mirrorHorizontal_ == mirror) return;
  mirrorHorizontal_ = mirror;
  emit mirrorHorizontalChanged();
}

// Captures.

std::optional<QString> CameraController::captureFolder(bool videos) {
  const auto& folders = storageFolders();
  if (!folders) {
    emit alertRequested(texts::kSaveGuard);
    return std::nullopt;
  }
  const QString folder = videos ? folders->videos : folders->images;
  if (const auto problem = storageProblem(*folders, folder)) {
    logLine(problem->text);
    if (problem->folderMissing) {
      emit storageAlertRequested(problem->text);
    } else {
      emit alertRequested(problem->text);
    }
    return std::nullopt;
  }
  return folder;
}

void CameraController::snapshotFailed(const QString& text) {
  logLine(text);
  emit alertRequested(text);
}

SnapshotLayout CameraController::snapshotLayout(QSize frameSize) const {
  SnapshotLayout layout;
  if (geometry_.frame().isEmpty()) {
    // No view has reported its size: the snapshot is the picture as it comes.
    layout.pictureSize = QSizeF(frameSize);
    layout.previewFrame = QRectF(QPointF(0, 0), layout.pictureSize);
  } else {
    layout.pictureSize = pictureSize_;
    layout.previewFrame = geometry_.frame();
  }
  const QSizeF window = windowSize_.isEmpty() ? layout.pictureSize : windowSize_;
  layout.windowSize = window.toSize();
  layout.pictureCentre = pictureCentre_.value_or(
      QPointF(layout.pictureSize.width() / 2, layout.pictureSize.height() / 2));
  layout.rotation = rotation_;
  layout.mirrorHorizontal = mirrorHorizontal_;
  return layout;
}

QImage CameraController::pictureAsSeen() const {
  if (!isRunning()) return {};
  QVideoFrame frame;
  {
    std::lock_guard lock(frameMutex_);
    frame = latestFrame_;
  }
  if (!frame.isValid()) return {};
  return composeSnapshot(frameImage(frame), snapshotLayout(frame.size()));
}

void CameraController::takeSnapshot() {
  if (!isRunning()) return;
  QVideoFrame frame;
  {
    std::lock_guard lock(frameMutex_);
    frame = latestFrame_;
  }
  if (!frame.isValid()) return;
  const auto folder = captureFolder(false);
  if (!folder) return;

  const SnapshotLayout layout = snapshotLayout(frame.size());
  const QString path = claimCaptureFile(*folder, QStringLiteral(".png"));
  if (path.isEmpty()) {
    snapshotFailed(QStringLiteral("Snapshot not saved: cannot create a file in ") + *folder);
    return;
  }
  QPointer<CameraController> self(this);
  auto write = [self, frame, layout, path](const QImage& board) {
    saveSnapshot(frame, layout, board, path, [self](const QString& reason) {
      if (self) self->snapshotFailed(QStringLiteral("Snapshot not saved: ") + reason);
    });
  };
  if (grabBoard) {
    grabBoard(layout.windowSize, write);
  } else {
    write(QImage());
  }
}

void CameraController::startRecording() {
  if (isRunning()) recordings_.startCamera();
}

void CameraController::toggleFreeze() {
  bool frozen;
  {
    std::lock_guard lock(frameMutex_);
    frozen_ = !frozen_;
    frozen = frozen_;
  }
  recordings_.setFrozen(frozen);
  logLine(frozen ? QStringLiteral("Picture frozen") : QStringLiteral("Picture live"));
  emit frozenChanged();
}

}  // namespace dravin
