#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <QVariantMap>

#include "camera_controller.h"
#include "settings_store.h"
#include "update_checker.h"

namespace dravin {

// State of the control bar: which popover is open, the settings toggles, the recording label,
// the zoom and picture-control sliders, the last capture and the settings pickers. It drives the
// capture controller and posts notifications for everything other panels handle; picture
// controls leave as hidCommandRequested() and board calls as boardScriptRequested().
class ControlBarModel : public QObject {
  Q_OBJECT
  QML_ELEMENT

  Q_PROPERTY(dravin::CameraController* camera READ camera WRITE setCamera NOTIFY cameraChanged)
  Q_PROPERTY(dravin::SettingsStore* settings READ settings WRITE setSettings NOTIFY settingsChanged)
  Q_PROPERTY(dravin::UpdateChecker* updates READ updates WRITE setUpdates NOTIFY updatesChanged)

  Q_PROPERTY(
      bool hideControlBar READ hideControlBar WRITE setHideControlBar NOTIFY hideControlBarChanged)
  Q_PROPERTY(bool showPopoverZoom READ showPopoverZoom NOTIFY popoverChanged)
  Q_PROPERTY(bool showPopoverViewOption READ showPopoverViewOption NOTIFY popoverChanged)
  Q_PROPERTY(bool showPopoverFocus READ showPopoverFocus NOTIFY popoverChanged)
  Q_PROPERTY(bool showPopoverAdjust READ showPopoverAdjust NOTIFY popoverChanged)
  Q_PROPERTY(bool showPopoverSettings READ showPopoverSettings NOTIFY popoverChanged)
  Q_PROPERTY(bool showPopoverRecord READ showPopoverRecord NOTIFY popoverChanged)
  Q_PROPERTY(bool showPopoverViewer READ showPopoverViewer NOTIFY popoverChanged)

  Q_PROPERTY(bool offlineMode READ offlineMode WRITE setOfflineMode NOTIFY offlineModeChanged)
  Q_PROPERTY(bool allowPIP READ allowPIP NOTIFY allowPIPChanged)
  Q_PROPERTY(bool isPelora READ isPelora CONSTANT)
  Q_PROPERTY(bool allowHIDControl READ allowHIDControl NOTIFY allowHIDControlChanged)
  Q_PROPERTY(bool allowDocCam READ allowDocCam NOTIFY allowDocCamChanged)

  Q_PROPERTY(QString recordingTimerStr READ recordingTimerStr NOTIFY recordingTimerStrChanged)
  Q_PROPERTY(bool enableAnnotation READ enableAnnotation NOTIFY enableAnnotationChanged)
  Q_PROPERTY(double zoomFactor READ zoomFactor WRITE setZoom NOTIFY zoomFactorChanged)
  Q_PROPERTY(double brightnessFactor READ brightnessFactor WRITE setBrightnessFactor NOTIFY
                 pictureControlsChanged)
  Q_PROPERTY(double contrastFactor READ contrastFactor WRITE setContrastFactor NOTIFY
                 pictureControlsChanged)
  Q_PROPERTY(double saturationFactor READ saturationFactor WRITE setSaturationFactor NOTIFY
                 pictureControlsChanged)
  Q_PROPERTY(double sharpnessFactor READ sharpnessFactor WRITE setSharpnessFactor NOTIFY
                 pictureControlsChanged)
  Q_PROPERTY(double exposureFactor READ exposureFactor WRITE setExposureFactor NOTIFY
                 pictureControlsChanged)
  Q_PROPERTY(double whitebalanceFactor READ whitebalanceFactor WRITE setWhitebalanceFactor NOTIFY
                 pictureControlsChanged)
  Q_PROPERTY(double focusFactor READ focusFactor WRITE setFocusFactor NOTIFY pictureControlsChanged)

  Q_PROPERTY(bool hasThumbnail READ hasThumbnail NOTIFY thumbnailChanged)
  Q_PROPERTY(QString thumbnailSource READ thumbnailSource NOTIFY thumbnailChanged)
  Q_PROPERTY(QUrl thumbnailURL READ thumbnailURL NOTIFY thumbnailChanged)
  Q_PROPERTY(bool isRecording READ isRecording NOTIFY isRecordingChanged)
  Q_PROPERTY(bool isFreezing READ isFreezing NOTIFY isFreezingChanged)

  Q_PROPERTY(QStringList cameraNames READ cameraNames NOTIFY deviceListsChanged)
  Q_PROPERTY(QStringList micNames READ micNames NOTIFY deviceListsChanged)
  Q_PROPERTY(int selectedCameraIndex READ selectedCameraIndex WRITE setSelectedCameraIndex NOTIFY
                 selectionChanged)
  Q_PROPERTY(int selectedPipCameraIndex READ selectedPipCameraIndex WRITE setSelectedPipCameraIndex
                 NOTIFY selectionChanged)
  Q_PROPERTY(
      int selectedMicIndex READ selectedMicIndex WRITE setSelectedMicIndex NOTIFY selectionChanged)
  Q_PROPERTY(QString selectedResolution READ selectedResolution WRITE setSelectedResolution NOTIFY
                 selectedResolutionChanged)
  Q_PROPERTY(QStringList resolutions READ resolutions CONSTANT)
  Q_PROPERTY(QString appVersion READ appVersion CONSTANT)
  Q_PROPERTY(QString buildVersion READ buildVersion CONSTANT)
  Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateStatusChanged)
  // What the settings say about updates; empty when nothing (no check, or none started).
  Q_PROPERTY(QString updateStatusText READ updateStatusText NOTIFY updateStatusChanged)
  Q_PROPERTY(bool upToDate READ upToDate NOTIFY updateStatusChanged)
  Q_PROPERTY(QString saveLocation READ saveLocation NOTIFY saveLocationChanged)

 public:
  enum Popover { NoPopover, Zoom, ViewOption, Focus, Adjust, Settings, Record, Viewer };
  Q_ENUM(Popover)

  static constexpr double kMinZoom = 0.5;
  static constexpr double kMaxZoom = 10.0;
  static constexpr double kZoomStep = 1.1;
  static constexpr int kRecordingTickMs = 1000;
  static constexpr int kThumbnailWidth = 160;
  static inline const QString kIdleTimerText = QStringLiteral("Initializing");

  // Slider ranges and defaults of the camera's picture controls.
  struct Control {
    double min;
    double max;
    double defaultValue;
  };
  static constexpr Control kBrightness{-127, 128, 0};
  static constexpr Control kContrast{0, 255, 128};
  static constexpr Control kSaturation{0, 255, 128};
  static constexpr Control kSharpness{0, 255, 128};
  static constexpr Control kExposure{-512, 3072, 0};
  static constexpr Control kWhitebalance{2300, 8500, 5000};
  static constexpr Control kFocus{0, 255, 128};

  explicit ControlBarModel(QObject* parent = nullptr);

  CameraController* camera() const { return camera_; }
  void setCamera(CameraController* camera);
  SettingsStore* settings() const { return settings_; }
  void setSettings(SettingsStore* settings);
  UpdateChecker* updates() const { return updates_; }
  void setUpdates(UpdateChecker* updates);

  bool hideControlBar() const { return hideControlBar_; }
  void setHideControlBar(bool hide);
  Popover openPopover() const { return popover_; }
  bool showPopoverZoom() const { return popover_ == Zoom; }
  bool showPopoverViewOption() const { return popover_ == ViewOption; }
  bool showPopoverFocus() const { return popover_ == Focus; }
  bool showPopoverAdjust() const { return popover_ == Adjust; }
  bool showPopoverSettings() const { return popover_ == Settings; }
  bool showPopoverRecord() const { return popover_ == Record; }
  bool showPopoverViewer() const { return popover_ == Viewer; }

  bool offlineMode() const { return offlineMode_; }
  void setOfflineMode(bool offline);
  bool allowPIP() const { return allowPIP_; }
  bool isPelora() const { return isPelora_; }
  bool allowHIDControl() const { return allowHIDControl_; }
  bool allowDocCam() const { return allowDocCam_; }

  QString recordingTimerStr() const { return recordingTimerStr_; }
  bool enableAnnotation() const { return enableAnnotation_; }
  double zoomFactor() const { return zoomFactor_; }
  double brightnessFactor() const { return brightness_; }
  void setBrightnessFactor(double value);
  double contrastFactor() const { return contrast_; }
  void setContrastFactor(double value);
  double saturationFactor() const { return saturation_; }
  void setSaturationFactor(double value);
  double sharpnessFactor() const { return sharpness_; }
  void setSharpnessFactor(double value);
  double exposureFactor() const { return exposure_; }
  void setExposureFactor(double value);
  double whitebalanceFactor() const { return whitebalance_; }
  void setWhitebalanceFactor(double value);
  double focusFactor() const { return focus_; }
  void setFocusFactor(double value);

  bool hasThumbnail() const { return thumbnailURL_.isValid(); }
  QString thumbnailSource() const { return thumbnailSource_; }
  QUrl thumbnailURL() const { return thumbnailURL_; }
  QImage thumbnailImage() const { return thumbnailImage_; }
  bool isRecording() const { return isRecording_; }
  bool isFreezing() const { return isFreezing_; }

  QStringList cameraNames() const { return cameraNames_; }
  QStringList micNames() const { return micNames_; }
  int selectedCameraIndex() const { return selectedCameraIndex_; }
  void setSelectedCameraIndex(int index);
  int selectedPipCameraIndex() const { return selectedPipCameraIndex_; }
  void setSelectedPipCameraIndex(int index);
  int selectedMicIndex() const { return selectedMicIndex_; }
  void setSelectedMicIndex(int index);
  QString selectedResolution() const { return selectedResolution_; }
  void setSelectedResolution(const QString& label);
  QStringList resolutions() const { return resolutions_; }
  QString appVersion() const { return appVersion_; }
  QString buildVersion() const { return buildVersion_; }
  bool updateAvailable() const { return updates_ && updates_->updateAvailable(); }
  QString updateStatusText() const { return updates_ ? updates_->statusText() : QString(); }
  bool upToDate() const {
    return updates_ && updates_->status() == UpdateChecker::Status::UpToDate;
  }
  QString saveLocation() const { return saveLocation_; }

  // Opens that popover and closes any other; its own button closes it again. Focus and Adjust
  // stay shut without HID control and without controls of the camera's own.
  Q_INVOKABLE void togglePopover(dravin::ControlBarModel::Popover popover);
  Q_INVOKABLE void closePopover();

  Q_INVOKABLE void zoomIn();
  Q_INVOKABLE void zoomOut();
  Q_INVOKABLE void setZoom(double factor);
  Q_INVOKABLE void rotate(const QString& direction);
  Q_INVOKABLE void mirror();

  Q_INVOKABLE void toggleFreeze();
  // The "Record" button: the record popover while idle, a stop while recording.
  Q_INVOKABLE void recordButton();
  Q_INVOKABLE void recordCamera();
  Q_INVOKABLE void recordScreen();
  Q_INVOKABLE void stopRecording();
  Q_INVOKABLE void snapshot();
  Q_INVOKABLE void toggleAnnotation();
  Q_INVOKABLE void openThumbnail();

  Q_INVOKABLE void openFiles();
  Q_INVOKABLE void openBrowser();
  // A PDF chosen in a file dialog, in the browser panel's viewer.
  Q_INVOKABLE void openPdf(const QUrl& file);
  Q_INVOKABLE void openLessons();
  Q_INVOKABLE void openTunnelList();
  Q_INVOKABLE void openDocCamera();
  Q_INVOKABLE void openPipCamera();

  Q_INVOKABLE void focusAuto();
  Q_INVOKABLE void focusLock();
  Q_INVOKABLE void resetPictureControls();

  Q_INVOKABLE void changeArchive();
  // Downloads and opens the new version; the view asks the user first.
  Q_INVOKABLE void update();
  Q_INVOKABLE void openWirelessConfig();

 signals:
  void cameraChanged();
  void settingsChanged();
  void updatesChanged();
  void hideControlBarChanged();
  void popoverChanged();
  void offlineModeChanged();
  void allowPIPChanged();
  void allowHIDControlChanged();
  void allowDocCamChanged();
  void recordingTimerStrChanged();
  void enableAnnotationChanged();
  void zoomFactorChanged();
  void pictureControlsChanged();
  void thumbnailChanged();
  void isRecordingChanged();
  void isFreezingChanged();
  void deviceListsChanged();
  void selectionChanged();
  void selectedResolutionChanged();
  void updateStatusChanged();
  void saveLocationChanged();

  // For the HID device: a picture-control command and its value.
  void hidCommandRequested(int code, double value);
  // For the root view and the board page.
  void annotationChanged(bool enabled);
  void boardScriptRequested(const QString& script);

 private:
  void setPopover(Popover popover);
  void post(const char* name, const QVariantMap& userInfo = {});
  void sendControl(double& field, double value, const Control& range, int code);
  void cameraButtonClicked(const QVariantMap& userInfo);
  void captured(const QVariantMap& userInfo);
  void refreshDeviceLists();
  void refreshSaveLocation();
  void syncRecording();
  void syncFreezing();
  void syncZoom();
  void syncResolution();
  void setAllowHIDControl(bool allow);
  // Whether the running camera has controls of its own for that popover.
  bool hasCameraControls(int group) const;
  void setAllowSecondCameras(bool allow);
  void applySelection(std::optional<TarvoCamera> camera, std::optional<TarvoMic> mic);

  QPointer<CameraController> camera_;
  QPointer<SettingsStore> settings_;
  QPointer<UpdateChecker> updates_;

  bool hideControlBar_ = false;
  Popover popover_ = NoPopover;
  bool offlineMode_ = false;
  bool allowPIP_ = false;
  bool isPelora_;
  bool allowHIDControl_ = false;
  bool allowDocCam_ = false;
  QTimer recordingTimer_;
  QString recordingTimerStr_ = kIdleTimerText;
  bool enableAnnotation_ = false;
  double zoomFactor_ = 1.0;
  double brightness_ = kBrightness.defaultValue;
  double contrast_ = kContrast.defaultValue;
  double saturation_ = kSaturation.defaultValue;
  double sharpness_ = kSharpness.defaultValue;
  double exposure_ = kExposure.defaultValue;
  double whitebalance_ = kWhitebalance.defaultValue;
  double focus_ = kFocus.defaultValue;
  QImage thumbnailImage_;
  QUrl thumbnailURL_;
  QString thumbnailSource_;
  bool isRecording_ = false;
  bool isFreezing_ = false;
  QStringList cameraNames_;
  QStringList micNames_;
  int selectedCameraIndex_ = 0;
  int selectedPipCameraIndex_ = 0;
  int selectedMicIndex_ = 0;
  QString selectedResolution_ = QStringLiteral("1080P@30fps");
  const QStringList resolutions_{QStringLiteral("1080P@30fps"), QStringLiteral("4K@30fps"),
                                 QStringLiteral("720P@30fps")};
  QString appVersion_;
  QString buildVersion_;
  QString saveLocation_;
};

}  // namespace dravin
