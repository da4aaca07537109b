#include "control_bar_model.h"

#include <QBuffer>
#include <algorithm>

#include "app_identity.h"
#include "app_log.h"
#include "hid_commands.h"
#include "notification_center.h"
#include "notification_names.h"
#include "picture_controls_model.h"
#include "storage_folders.h"

#ifndef DRAVIN_BUILD_VERSION
#define DRAVIN_BUILD_VERSION "1"
#endif

namespace dravin {

namespace n = notifications;

namespace {

QString deviceName(const std::optional<std::string>& name) {
  return name ? QString::fromStdString(*name) : QStringLiteral("Unnamed device");
}

const std::string& deviceId(const TarvoCamera& camera) {
  return camera.uniqueID;
}
const std::string& deviceId(const TarvoMic& mic) {
  return mic.mic.uniqueID;
}

template <class Device>
int indexOf(const std::vector<Device>& devices, const std::optional<Device>& device) {
  if (!device) return 0;
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (deviceId(devices[i]) == deviceId(*device)) return static_cast<int>(i);
  }
  return 0;
}

// A PNG data URL of the picture scaled to `width`, so a QML Image shows it without a provider.
QString pngDataUrl(const QImage& image, int width) {
  if (image.isNull()) return {};
  const QImage small =
      image.width() > width ? image.scaledToWidth(width, Qt::SmoothTransformation) : image;
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!small.save(&buffer, "PNG")) return {};
  return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(bytes.toBase64());
}

}  // namespace

ControlBarModel::ControlBarModel(QObject* parent)
    : QObject(parent),
      isPelora_(productIsPelora()),
      appVersion_(runningVersion()),
      buildVersion_(QStringLiteral(DRAVIN_BUILD_VERSION)) {
  recordingTimer_.setInterval(kRecordingTickMs);
  connect(&recordingTimer_, &QTimer::timeout, this, [this] {
    if (!camera_) return;
    const QString text = camera_->recordingTimeString();
    if (text == recordingTimerStr_) return;
    recordingTimerStr_ = text;
    emit recordingTimerStrChanged();
  });

  auto& center = NotificationCenter::instance();
  center.observe(n::kHidConnected, this, [this](const QVariantMap& info) {
    setAllowHIDControl(info.value(QStringLiteral("allowHIDControl")).toBool());
  });
  center.observe(n::kHidDisconnected, this,
                 [this](const QVariantMap&) { setAllowHIDControl(false); });
  center.observe(n::kHidButtonClicked, this,
                 [this](const QVariantMap& info) { cameraButtonClicked(info); });
  center.observe(n::kImageCaptured, this, [this](const QVariantMap& info) { captured(info); });
  center.observe(n::kVideoRecorded, this, [this](const QVariantMap& info) { captured(info); });
  center.observe(n::kCameraListReady, this, [this](const QVariantMap&) { refreshDeviceLists(); });
  center.observe(n::kZoomedCamera, this, [this](const QVariantMap&) { syncZoom(); });
  refreshSaveLocation();
  // Demonstrations and screenshots of the picture controls on a machine without the maker's
  // camera.
  if (qEnvironmentVariableIntValue("DRAVIN_HID_CONTROL") == 1) allowHIDControl_ = true;
}

// Inputs.

void ControlBarModel::setCamera(CameraController* camera) {
  if (camera_ == camera) return;
  if (camera_) camera_->disconnect(this);
  camera_ = camera;
  if (camera_) {
    // Recording and freezing may also change from the D-Bus remote: the bar follows.
    connect(camera_, &CameraController::recordingChanged, this, &ControlBarModel::syncRecording);
    connect(camera_, &CameraController::frozenChanged, this, &ControlBarModel::syncFreezing);
    connect(camera_, &CameraController::previewFrameChanged, this, &ControlBarModel::syncZoom);
    connect(camera_, &CameraController::modeChanged, this, &ControlBarModel::syncResolution);
    syncRecording();
    syncFreezing();
    syncZoom();
    refreshDeviceLists();
  }
  emit cameraChanged();
}

void ControlBarModel::setSettings(SettingsStore* settings) {
  if (settings_ == settings) return;
  if (settings_) settings_->disconnect(this);
  settings_ = settings;
  if (settings_) {
    auto follow = [this] {
      if (offlineMode_ != settings_->offlineMode()) {
        offlineMode_ = settings_->offlineMode();
        emit offlineModeChanged();
      }
      if (selectedResolution_ != settings_->resolution()) {
        selectedResolution_ = settings_->resolution();
        emit selectedResolutionChanged();
      }
    };
    connect(settings_, &SettingsStore::offlineModeChanged, this, follow);
    connect(settings_, &SettingsStore::resolutionChanged, this, follow);
    connect(settings_, &SettingsStore::folderGranted, this, &ControlBarModel::refreshSaveLocation);
    follow();
  }
  emit settingsChanged();
}

void ControlBarModel::setUpdates(UpdateChecker* updates) {
  if (updates_ == updates) return;
  if (updates_) updates_->disconnect(this);
  updates_ = updates;
  if (updates_) {
    connect(updates_, &UpdateChecker::updateAvailableChanged, this,
            &ControlBarModel::updateStatusChanged);
    connect(updates_, &UpdateChecker::statusChanged, this, &ControlBarModel::updateStatusChanged);
  }
  emit updatesChanged();
  emit updateStatusChanged();
}

// Bar and popovers.

void ControlBarModel::setHideControlBar(bool hide) {
  if (hideControlBar_ == hide) return;
  hideControlBar_ = hide;
  if (hide) closePopover();
  emit hideControlBarChanged();
}

void ControlBarModel::togglePopover(Popover popover) {
  if ((popover == Focus || popover == Adjust) && !allowHIDControl_ &&
      !hasCameraControls(popover == Focus ? PictureControlsModel::Focus
                                          : PictureControlsModel::Adjust)) {
    return;
  }
  if (popover == Settings) refreshSaveLocation();
  setPopover(popover_ == popover ? NoPopover : popover);
}

void ControlBarModel::closePopover() {
  setPopover(NoPopover);
}

void ControlBarModel::setPopover(Popover popover) {
  if (popover_ == popover) return;
  popover_ = popover;
  emit popoverChanged();
}

void ControlBarModel::post(const char* name, const QVariantMap& userInfo) {
  NotificationCenter::instance().post(QString::fromLatin1(name), userInfo);
}

// Zoom and view.

void ControlBarModel::zoomIn() {
  const double current = camera_ ? camera_->currentZoom() : zoomFactor_;
  setZoom(std::min(current * kZoomStep, kMaxZoom));
}

void ControlBarModel::zoomOut() {
  const double current = camera_ ? camera_->currentZoom() : zoomFactor_;
  setZoom(std::max(current / kZoomStep, kMinZoom));
}

void ControlBarModel::setZoom(double factor) {
  factor = std::clamp(factor, kMinZoom, kMaxZoom);
  if (camera_) {
    camera_->setZoom(factor);
  } else if (zoomFactor_ != factor) {
    zoomFactor_ = factor;
    emit zoomFactorChanged();
  }
}

void ControlBarModel::syncZoom() {
  if (!camera_ || zoomFactor_ == camera_->currentZoom()) return;
  zoomFactor_ = camera_->currentZoom();
  emit zoomFactorChanged();
}

void ControlBarModel::rotate(const QString& direction) {
  post(n::kRotateCamera, {{QStringLiteral("direction"), direction}});
}

void ControlBarModel::mirror() {
  post(n::kMirrorCamera);
}

// Freeze, recording, snapshot.

void ControlBarModel::toggleFreeze() {
  if (camera_) {
    camera_->toggleFreeze();
    syncFreezing();
    return;
  }
  isFreezing_ = !isFreezing_;
  emit isFreezingChanged();
}

void ControlBarModel::syncFreezing() {
  if (!camera_ || isFreezing_ == camera_->isFrozen()) return;
  isFreezing_ = camera_->isFrozen();
  emit isFreezingChanged();
}

void ControlBarModel::recordButton() {
  if (isRecording_) {
    stopRecording();
  } else {
    togglePopover(Record);
  }
}

void ControlBarModel::recordCamera() {
  closePopover();
  if (!camera_) return;
  camera_->startRecording();
  syncRecording();
}

void ControlBarModel::recordScreen() {
  closePopover();
  if (!camera_) return;
  camera_->startScreenRecording();
  syncRecording();
}

void ControlBarModel::stopRecording() {
  if (camera_) camera_->stopRecording();
  recordingTimer_.stop();
  if (isRecording_) {
    isRecording_ = false;
    emit isRecordingChanged();
  }
  if (recordingTimerStr_ != kIdleTimerText) {
    recordingTimerStr_ = kIdleTimerText;
    emit recordingTimerStrChanged();
  }
}

// A start the controller refused (no folder, no camera) leaves the bar idle rather than showing
// a recording that does not run.
void ControlBarModel::syncRecording() {
  const bool recording = camera_ && camera_->isRecording();
  if (recording) {
    if (!recordingTimer_.isActive()) recordingTimer_.start();
  } else {
    recordingTimer_.stop();
    if (recordingTimerStr_ != kIdleTimerText) {
      recordingTimerStr_ = kIdleTimerText;
      emit recordingTimerStrChanged();
    }
  }
  if (isRecording_ == recording) return;
  isRecording_ = recording;
  emit isRecordingChanged();
}

void ControlBarModel::snapshot() {
  if (camera_) camera_->takeSnapshot();
}

void ControlBarModel::toggleAnnotation() {
  enableAnnotation_ = !enableAnnotation_;
  emit enableAnnotationChanged();
  emit annotationChanged(enableAnnotation_);
  if (enableAnnotation_) {
    emit boardScriptRequested(QStringLiteral("allowAnnotation(true)"));
    post(n::kHideArchiveList);
  } else {
    emit boardScriptRequested(QStringLiteral("allowAnnotation(false)"));
  }
}

void ControlBarModel::captured(const QVariantMap& userInfo) {
  const QUrl url = userInfo.value(QStringLiteral("url")).toUrl();
  if (!url.isValid()) return;
  thumbnailURL_ = url;
  thumbnailImage_ = userInfo.value(QStringLiteral("image")).value<QImage>();
  thumbnailSource_ = pngDataUrl(thumbnailImage_, kThumbnailWidth);
  emit thumbnailChanged();
}

void ControlBarModel::openThumbnail() {
  if (!thumbnailURL_.isValid()) return;
  post(n::kOpenSideBySide,
       {{QStringLiteral("image"), thumbnailImage_}, {QStringLiteral("url"), thumbnailURL_}});
}

// Viewers.

void ControlBarModel::openFiles() {
  post(n::kOpenFiles);
}

void ControlBarModel::openBrowser() {
  closePopover();
  post(n::kOpenBrowser, {{QStringLiteral("pdfMode"), false}});
}

void ControlBarModel::openPdf(const QUrl& file) {
  closePopover();
  if (!file.isLocalFile()) return;
  post(n::kOpenBrowser,
       {{QStringLiteral("pdfMode"), true}, {QStringLiteral("pdfPath"), file.toLocalFile()}});
}

void ControlBarModel::openLessons() {
  closePopover();
  post(n::kOpenBrowser,
       {{QStringLiteral("pdfMode"), false}, {QStringLiteral("lessonsMode"), true}});
}

void ControlBarModel::openTunnelList() {
  closePopover();
  post(n::kOpenTunnelList);
}

void ControlBarModel::openDocCamera() {
  closePopover();
  post(n::kOpenDocCamera);
}

void ControlBarModel::openPipCamera() {
  closePopover();
  post(n::kOpenPipCamera);
}

// Picture controls: only with HID control, each change leaves for the camera at once.

void ControlBarModel::sendControl(double& field, double value, const Control& range, int code) {
  if (!allowHIDControl_) return;
  value = std::clamp(value, range.min, range.max);
  if (field != value) {
    field = value;
    emit pictureControlsChanged();
  }
  emit hidCommandRequested(code, value);
}

void ControlBarModel::setBrightnessFactor(double value) {
  sendControl(brightness_, value, kBrightness, hid::kBrightness);
}
void ControlBarModel::setContrastFactor(double value) {
  sendControl(contrast_, value, kContrast, hid::kContrast);
}
void ControlBarModel::setSaturationFactor(double value) {
  sendControl(saturation_, value, kSaturation, hid::kSaturation);
}
void ControlBarModel::setSharpnessFactor(double value) {
  sendControl(sharpness_, value, kSharpness, hid::kSharpness);
}
void ControlBarModel::setExposureFactor(double value) {
  sendControl(exposure_, value, kExposure, hid::kExposure);
}
void ControlBarModel::setWhitebalanceFactor(double value) {
  sendControl(whitebalance_, value, kWhitebalance, hid::kWhiteBalance);
}
void ControlBarModel::setFocusFactor(double value) {
  sendControl(focus_, value, kFocus, hid::kFocusPosition);
}

void ControlBarModel::focusAuto() {
  if (allowHIDControl_) emit hidCommandRequested(hid::kFocusAuto, 0);
}

void ControlBarModel::focusLock() {
  if (allowHIDControl_) emit hidCommandRequested(hid::kFocusLock, 0);
}

// The camera goes back to its defaults, so the sliders do too.
void ControlBarModel::resetPictureControls() {
  if (!allowHIDControl_) return;
  brightness_ = kBrightness.defaultValue;
  contrast_ = kContrast.defaultValue;
  saturation_ = kSaturation.defaultValue;
  sharpness_ = kSharpness.defaultValue;
  exposure_ = kExposure.defaultValue;
  whitebalance_ = kWhitebalance.defaultValue;
  focus_ = kFocus.defaultValue;
  emit pictureControlsChanged();
  emit hidCommandRequested(hid::kResetAll, 0);
}

bool ControlBarModel::hasCameraControls(int group) const {
  if (!camera_) return false;
  const auto controls = camera_->tuning().controls();
  return std::any_of(controls.begin(), controls.end(), [group](const PictureControl& control) {
    return PictureControlsModel::groupOf(control.name) == group;
  });
}

void ControlBarModel::setAllowHIDControl(bool allow) {
  if (allowHIDControl_ == allow) return;
  allowHIDControl_ = allow;
  if (!allow && (popover_ == Focus || popover_ == Adjust)) closePopover();
  emit allowHIDControlChanged();
}

void ControlBarModel::cameraButtonClicked(const QVariantMap& userInfo) {
  bool isInt = false;
  const int code = userInfo.value(QStringLiteral("button")).toInt(&isInt);
  if (!isInt) return;
  logLine(QStringLiteral("Button Clicked: ") + QString::number(code));
  switch (code) {
    case 3:
      if (camera_ && !camera_->isRecording()) {
        camera_->startScreenRecording();
        syncRecording();
      }
      break;
    case 4: toggleFreeze(); break;
    case 5: snapshot(); break;
    case 6: stopRecording(); break;
    default: break;
  }
}

// Settings.

void ControlBarModel::refreshSaveLocation() {
  const auto& folders = storageFolders();
  const QString location = folders ? folders->root : QString();
  if (location == saveLocation_) return;
  saveLocation_ = location;
  emit saveLocationChanged();
}

void ControlBarModel::refreshDeviceLists() {
  if (!camera_) return;
  const auto cameras = camera_->tarvoCameras();
  const auto mics = camera_->tarvoMics();
  QStringList cameraNames, micNames;
  for (const auto& camera : cameras) cameraNames << deviceName(camera.name);
  for (const auto& mic : mics) micNames << deviceName(mic.name);
  if (cameraNames != cameraNames_ || micNames != micNames_) {
    cameraNames_ = cameraNames;
    micNames_ = micNames;
    emit deviceListsChanged();
  }
  selectedCameraIndex_ = indexOf(cameras, camera_->curTarvoCamera());
  selectedMicIndex_ = indexOf(mics, camera_->curTarvoMic());
  selectedPipCameraIndex_ = indexOf(cameras, camera_->curPipCamera);
  emit selectionChanged();
  setAllowSecondCameras(camera_->curPipCamera.has_value());
}

void ControlBarModel::applySelection(std::optional<TarvoCamera> camera,
                                     std::optional<TarvoMic> mic) {
  const ResolutionFlags flags = resolutionFlagsFor(selectedResolution_);
  camera_->setSelection(std::move(camera), std::move(mic), flags.useFullHD, flags.useUltraHD);
  camera_->applySelection();
}

void ControlBarModel::setSelectedCameraIndex(int index) {
  if (index == selectedCameraIndex_ || !camera_) return;
  const auto cameras = camera_->tarvoCameras();
  if (index < 0 || index >= static_cast<int>(cameras.size())) return;
  selectedCameraIndex_ = index;
  emit selectionChanged();
  logLine(QStringLiteral("Camera changed ") + QString::number(index));
  applySelection(cameras[static_cast<std::size_t>(index)], camera_->curTarvoMic());
}

void ControlBarModel::setSelectedMicIndex(int index) {
  if (index == selectedMicIndex_ || !camera_) return;
  const auto mics = camera_->tarvoMics();
  if (index < 0 || index >= static_cast<int>(mics.size())) return;
  selectedMicIndex_ = index;
  emit selectionChanged();
  logLine(QStringLiteral("Mic changed ") + QString::number(index));
  applySelection(camera_->curTarvoCamera(), mics[static_cast<std::size_t>(index)]);
}

// The aux camera serves both second views: picture-in-picture and the document camera.
void ControlBarModel::setSelectedPipCameraIndex(int index) {
  if (!camera_) return;
  const auto cameras = camera_->tarvoCameras();
  if (index < 0 || index >= static_cast<int>(cameras.size())) return;
  const auto& chosen = cameras[static_cast<std::size_t>(index)];
  camera_->curPipCamera = chosen;
  camera_->curDocCamera = chosen;
  if (selectedPipCameraIndex_ != index) {
    selectedPipCameraIndex_ = index;
    emit selectionChanged();
  }
  setAllowSecondCameras(true);
}

void ControlBarModel::setAllowSecondCameras(bool allow) {
  if (allowPIP_ != allow) {
    allowPIP_ = allow;
    emit allowPIPChanged();
  }
  if (allowDocCam_ != allow) {
    allowDocCam_ = allow;
    emit allowDocCamChanged();
  }
}

void ControlBarModel::setSelectedResolution(const QString& label) {
  if (label == selectedResolution_ || !resolutions_.contains(label)) return;
  selectedResolution_ = label;
  emit selectedResolutionChanged();
  if (settings_) settings_->setResolution(label);
  if (camera_) camera_->setResolution(label);
}

// A camera that comes back in the resolution kept for it shows that one in the picker.
void ControlBarModel::syncResolution() {
  if (!camera_) return;
  const QString active = camera_->activeResolution();
  if (active.isEmpty() || active == selectedResolution_) return;
  selectedResolution_ = active;
  emit selectedResolutionChanged();
}

void ControlBarModel::setOfflineMode(bool offline) {
  if (settings_) {
    settings_->setOfflineMode(offline);  // logs and persists
  } else {
    logLine(QStringLiteral("OfflineMode: ") + (offline ? "true" : "false"));
  }
  if (offlineMode_ == offline) return;
  offlineMode_ = offline;
  emit offlineModeChanged();
}

void ControlBarModel::changeArchive() {
  closePopover();
  post(n::kChangeArchive);
}

void ControlBarModel::update() {
  const auto& folders = storageFolders();
  if (!updates_ || !folders) return;
  closePopover();
  updates_->installUpdate(folders->root);
}

void ControlBarModel::openWirelessConfig() {
  closePopover();
  post(n::kOpenVeltroConfig);
}

}  // namespace dravin
