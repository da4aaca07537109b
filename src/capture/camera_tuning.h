#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "camera_memory.h"
#include "picture_controls.h"
#include "tarvo_camera.h"

namespace dravin {

// The picture controls of the running camera, and what is remembered of every camera: a change
// the camera accepts is kept; a camera that starts gets back what was kept for it. Used from the
// main thread and the "camera_controller" queue.
class CameraTuning : public QObject {
  Q_OBJECT

 public:
  explicit CameraTuning(std::unique_ptr<CameraMemory> memory, QObject* parent = nullptr);

  // The resolution remembered for a camera, empty when none is.
  QString rememberedResolution(const TarvoCamera& camera) const;
  void rememberResolution(const TarvoCamera& camera, const QString& label);

  // The camera now running and how its controls are reached (null: it has none). What was kept
  // for it is written: automatic modes, then manual values. The refusals, for the log.
  QStringList attach(const TarvoCamera& camera, std::unique_ptr<PictureControls> controls);
  // The camera is gone or being replaced.
  void detach();

  std::vector<PictureControl> controls() const;
  // Empty once the camera took it (and it is kept), else why not; the camera keeps its value.
  QString set(const std::string& name, int value);
  // Every control to its default, and nothing kept for this camera any more. The refusals.
  QStringList reset();

 signals:
  // The list or a value changed; emitted on whichever thread made the change.
  void controlsChanged();

 private:
  std::unique_ptr<CameraMemory> memory_;
  mutable std::mutex mutex_;
  std::unique_ptr<PictureControls> controls_;
  std::string key_;
};

}  // namespace dravin
