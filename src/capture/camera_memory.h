#pragma once

#include <QString>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "picture_controls.h"
#include "tarvo_camera.h"

class QSettings;

namespace dravin {

// The key a camera is remembered by: USB vendor, product and serial number, or the port it sits
// on when it has no serial number ("usb-046d085e-SN123", "usb-046d085e-port-1-1.2"); a camera
// without USB ids goes by its unique identifier.
std::string cameraMemoryKey(const TarvoCamera& camera);

struct ControlWrite {
  std::string name;
  int value = 0;
  bool operator==(const ControlWrite&) const = default;
};

// What was chosen for one camera: the resolution label, and each control the user changed.
struct RememberedCamera {
  QString resolution;
  std::vector<ControlWrite> controls;
};

// How a camera is brought back as it was: its format first (the resolution label, its own or
// else the one for every camera), then automatic modes, then manual values. Only controls the
// user changed and the camera still offers are written.
struct RestorePlan {
  QString resolution;
  std::vector<ControlWrite> writes;
};
RestorePlan planRestore(const RememberedCamera& remembered, const QString& defaultResolution,
                        const std::vector<PictureControl>& offered);

// Picture controls and formats per camera, kept with the application's settings. Every change is
// written at once; the settings file is replaced whole, never left half written.
class CameraMemory {
 public:
  // `settingsFile` empty: the application's own settings.
  explicit CameraMemory(const QString& settingsFile = {});
  ~CameraMemory();

  RememberedCamera recall(const std::string& key) const;
  void rememberControl(const std::string& key, const std::string& name, int value);
  void rememberResolution(const std::string& key, const QString& label);
  // Back to the camera's defaults: nothing of its controls is written when it starts.
  void forgetControls(const std::string& key);

 private:
  void save();

  mutable std::mutex mutex_;
  std::unique_ptr<QSettings> settings_;
};

}  // namespace dravin
