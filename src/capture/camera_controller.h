#pragma once

#include <gst/gst.h>

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QVideoFrame>
#include <QVideoSink>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "camera_controller_error.h"
#include "camera_tuning.h"
#include "capture_device.h"
#include "device_discovery.h"
#include "format_choice.h"
#include "preview_geometry.h"
#include "recording_controller.h"
#include "serial_queue.h"
#include "snapshot_composer.h"
#include "tarvo_camera.h"

namespace dravin {

namespace gst {
class CameraSession;
}  // namespace gst

// Owns the main capture session: discovery, the chosen camera, microphone and resolution, the
// preview with its digital zoom and pan, snapshots and freezing; its recordings controller records
// the camera or the screen.
// Lives on the main thread; the session is prepared and switched on the "camera_controller"
// queue, and frames arrive on GStreamer's streaming thread ("video_data_output").
class CameraController : public QObject {
  Q_OBJECT
  Q_PROPERTY(QVideoSink* videoSink READ videoSink WRITE setVideoSink NOTIFY videoSinkChanged)
  Q_PROPERTY(QRectF previewFrame READ previewFrame NOTIFY previewFrameChanged)
  Q_PROPERTY(double currentZoom READ currentZoom NOTIFY previewFrameChanged)
  Q_PROPERTY(bool isRunning READ isRunning NOTIFY runningChanged)
  Q_PROPERTY(bool isRecording READ isRecording NOTIFY recordingChanged)
  Q_PROPERTY(QString recordingSource READ recordingSource NOTIFY recordingChanged)
  Q_PROPERTY(bool isFrozen READ isFrozen NOTIFY frozenChanged)
  Q_PROPERTY(double rotation READ rotation WRITE setRotation NOTIFY rotationChanged)
  Q_PROPERTY(bool mirrorHorizontal READ mirrorHorizontal WRITE setMirrorHorizontal NOTIFY
                 mirrorHorizontalChanged)
  // "1920 x 1080, MJPEG, 30 fps"; empty while no camera runs.
  Q_PROPERTY(QString cameraMode READ cameraMode NOTIFY modeChanged)
  // The running camera was unplugged; it comes back by itself when plugged in again.
  Q_PROPERTY(bool cameraDisconnected READ cameraDisconnected NOTIFY cameraDisconnectedChanged)
  // The resolution label the running camera was started with.
  Q_PROPERTY(QString activeResolution READ activeResolution NOTIFY modeChanged)

 public:
  using Completion = std::function<void(std::optional<CameraControllerError>)>;
  static constexpr int kHidStartDelayMs = 1000;
  static constexpr int kMainCameraLogDelayMs = 10000;
  static inline const QString kDisconnectedText = QStringLiteral("Camera disconnected");

  // `memory` null: picture controls and formats are kept with the application's settings.
  explicit CameraController(std::unique_ptr<DeviceSource> devices,
                            std::unique_ptr<CameraMemory> memory = nullptr,
                            QObject* parent = nullptr);
  ~CameraController() override;

  // Discovers the devices, applies the first camera and microphone and starts the session, on
  // the "camera_controller" queue; `completion` runs on the main thread.
  void prepare(Completion completion = {});
  // The control bar stores its choice first, then asks for it to be applied.
  void setSelection(std::optional<TarvoCamera> camera, std::optional<TarvoMic> mic, bool useFullHD,
                    bool useUltraHD);
  Q_INVOKABLE void applySelection();
  // The resolution for the running camera, kept for it, and the camera restarted in it.
  Q_INVOKABLE void setResolution(const QString& label);
  // Starts the camera of that name (the first of it); false when there is none.
  Q_INVOKABLE bool selectCamera(const QString& name);
  QString cameraMode() const;
  bool cameraDisconnected() const { return disconnected_; }
  QString activeResolution() const;
  // The running camera's picture controls.
  CameraTuning& tuning() { return tuning_; }

  std::vector<TarvoCamera> tarvoCameras() const;
  std::vector<TarvoMic> tarvoMics() const;
  std::optional<TarvoCamera> curTarvoCamera() const;
  std::optional<TarvoMic> curTarvoMic() const;
  std::optional<TarvoCamera> curPipCamera;
  std::optional<TarvoCamera> curDocCamera;

  // Preview: the view's size, the digital zoom, a pan.
  Q_INVOKABLE void updatePreviewFrame(QSizeF viewSize);
  Q_INVOKABLE void setZoom(double factor);
  Q_INVOKABLE void dragPreview(bool ended, double dx, double dy, double rotationDegrees);
  // Where the picture sits in the window, for snapshots to match the screen.
  Q_INVOKABLE void setWindowGeometry(QSizeF windowSize, QPointF pictureCentre);

  Q_INVOKABLE void takeSnapshot();
  // The picture as the window shows it (zoom, pan, turn, mirror; the frozen one when frozen),
  // the window's size, without the board; null while no frame has come.
  QImage pictureAsSeen() const;
  Q_INVOKABLE void startRecording();
  Q_INVOKABLE void startScreenRecording() { recordings_.startScreen(); }
  Q_INVOKABLE void stopRecording() { recordings_.stop(); }
  Q_INVOKABLE void toggleFreeze();
  Q_INVOKABLE QString recordingTimeString() const { return recordings_.timeString(); }
  RecordingController& recordings() { return recordings_; }

  QVideoSink* videoSink() const { return sink_; }
  void setVideoSink(QVideoSink* sink);
  QRectF previewFrame() const { return geometry_.frame(); }
  double currentZoom() const { return geometry_.currentZoom(); }
  double fitZoomFactor() const { return geometry_.fitZoomFactor(); }
  bool isRunning() const;
  bool isRecording() const { return recordings_.isRecording(); }
  QString recordingSource() const { return recordings_.source(); }
  bool isFrozen() const { return frozen_; }
  double rotation() const { return rotation_; }
  void setRotation(double degrees);
  bool mirrorHorizontal() const { return mirrorHorizontal_; }
  void setMirrorHorizontal(bool mirror);

  // Seams: the HID link starts with a maker's camera; the board is drawn over snapshots.
  std::function<void(const TarvoCamera&)> startHid;
  // Called on the main thread; hands `done` (on the main thread, once) a picture the size of the
  // window holding the board where it shows, transparent elsewhere, or a null image.
  std::function<void(QSize windowSize, std::function<void(const QImage&)> done)> grabBoard;

 signals:
  void videoSinkChanged();
  void previewFrameChanged();
  void runningChanged();
  void recordingChanged();
  void frozenChanged();
  void rotationChanged();
  void mirrorHorizontalChanged();
  void modeChanged();
  void cameraDisconnectedChanged();
  void alertRequested(const QString& text);
  // An alert that offers to choose another storage folder.
  void storageAlertRequested(const QString& text);

 private:
  // On the queue.
  void switchDevices(const TarvoCamera& camera, const std::optional<TarvoMic>& mic, bool useFullHD,
                     bool useUltraHD);
  void startSession();
  // After a device was plugged in or out: new lists, and the session follows them.
  void rescanDevices();
  void watchDevices();
  // From any thread.
  static void scheduleRescan(QPointer<CameraController> self);
  void onVideoSample(GstSample* sample);
  void onAudioSample(GstSample* sample);
  // On the main thread.
  void sessionStarted(const TarvoCamera& camera);
  void cameraLost();
  void setDisconnected(bool disconnected);
  // The folder a capture is saved in, or nullopt once the user was told why there is none.
  std::optional<QString> captureFolder(bool videos);
  void snapshotFailed(const QString& text);

  std::unique_ptr<DeviceSource> devices_;
  CameraTuning tuning_;
  // Ended first when the controller goes: work under way must not find its state gone.
  std::unique_ptr<SerialQueue> queue_ =
      std::make_unique<SerialQueue>(QStringLiteral("camera_controller"));

  mutable std::mutex stateMutex_;  // the lists, the selection and the session
  DiscoveredDevices discovered_;
  std::optional<TarvoCamera> curTarvoCamera_;
  std::optional<TarvoMic> curTarvoMic_;
  bool useFullHD_ = true;
  bool useUltraHD_ = false;
  std::shared_ptr<gst::CameraSession> session_;
  FormatChoice activeChoice_;
  QString activeResolution_;
  std::string lostCamera_;
  bool watching_ = false;  // on the queue
  std::atomic<bool> disconnected_{false};
  std::atomic<bool> rescanPending_{false};

  SnapshotLayout snapshotLayout(QSize frameSize) const;
  mutable std::mutex frameMutex_;  // what the streaming thread shares with the main thread
  QPointer<QVideoSink> sink_;
  QVideoFrame latestFrame_;
  bool frozen_ = false;
  RecordingController recordings_;

  PreviewGeometry geometry_;
  QSizeF pictureSize_;
  QSizeF windowSize_;
  std::optional<QPointF> pictureCentre_;
  double rotation_ = 0;
  bool mirrorHorizontal_ = false;
};

}  // namespace dravin
