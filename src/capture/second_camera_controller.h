#pragma once

#include <QObject>
#include <QPointer>
#include <QVideoFrame>
#include <QVideoSink>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "camera_controller_error.h"
#include "serial_queue.h"
#include "tarvo_camera.h"

namespace dravin {

namespace gst {
class CameraSession;
}

// A second camera beside the main session: its own device, pipeline and queue, and a preview
// for a view's sink. Lives on the main thread; the session is built on the controller's queue
// and frames arrive on GStreamer's streaming thread.
class SecondCameraController : public QObject {
  Q_OBJECT
  Q_PROPERTY(QVideoSink* videoSink READ videoSink WRITE setVideoSink NOTIFY videoSinkChanged)
  Q_PROPERTY(bool isRunning READ isRunning NOTIFY runningChanged)

 public:
  using Completion = std::function<void(std::optional<CameraControllerError>)>;

  ~SecondCameraController() override;

  // The camera prepare() opens.
  void setCamera(const TarvoCamera& camera);
  std::optional<TarvoCamera> curTarvoCamera() const;

  // Builds and starts the session on the queue; `completion` runs on the main thread, with
  // noCamerasAvailable when no camera is set.
  virtual void prepare(Completion completion = {});
  // Replaces the camera of a prepared session; a running session runs on the new camera.
  void changeCamera(const TarvoCamera& camera, Completion completion = {});
  // Stops the session and releases the device; prepare() may open it again.
  void close(Completion completion = {});

  QVideoSink* videoSink() const { return sink_; }
  void setVideoSink(QVideoSink* sink);
  bool isRunning() const;

 signals:
  void videoSinkChanged();
  void runningChanged();

 protected:
  SecondCameraController(const QString& queueLabel, QObject* parent);
  // Ends the queue and the session; subclasses call it first in their destructors, so no hook
  // runs on a half-destroyed object.
  void shutdown();

  // On the queue: the caps that pick the camera's format, "" for its default format.
  virtual std::string capsFor(const TarvoCamera& camera) const = 0;
  // On the queue, once a session is built for a camera.
  virtual void sessionCreated(const std::weak_ptr<gst::CameraSession>& session);
  // On the streaming thread, with each decoded frame.
  virtual void frameArrived(const QVideoFrame& frame);

 private:
  // On the queue; both throw CameraControllerError.
  void replaceSession(const TarvoCamera& camera);
  void startSession();
  void stopSession();
  void complete(const Completion& completion, std::optional<CameraControllerError> failure);
  // On the main thread: the newest frame to the view's sink.
  void showPendingFrame();

  std::unique_ptr<SerialQueue> queue_;

  mutable std::mutex mutex_;  // what the queue and the streaming thread share
  std::optional<TarvoCamera> camera_;
  std::shared_ptr<gst::CameraSession> session_;
  bool prepared_ = false;
  QVideoFrame pendingFrame_;
  bool framePosted_ = false;

  QPointer<QVideoSink> sink_;  // main thread only
};

}  // namespace dravin
