#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device_discovery.h"

namespace dravin {

// What the main session runs when the device lists change.
struct PlugState {
  std::optional<std::string> runningCamera;  // unique ID of the camera feeding the session
  std::optional<std::string> runningMic;
  // The camera that was unplugged while it ran, waited for until it is back.
  std::string lostCamera;
};

struct PlugAction {
  enum class Kind {
    none,
    // The running camera is gone: stop its session, finish its recording.
    loseCamera,
    // Start `camera` with `mic`: the lost camera is back, or one was plugged in while none ran.
    startCamera,
    // The running camera stays; its microphone is gone, so the session takes `mic` instead.
    replaceMic,
  };
  Kind kind = Kind::none;
  std::optional<TarvoCamera> camera;
  std::optional<TarvoMic> mic;
};

// Decides from the cameras listed before, the lists now and what runs. Devices are told apart
// by their unique IDs, as a monitor reports them again after each plug.
PlugAction decidePlug(const std::vector<TarvoCamera>& camerasBefore, const DiscoveredDevices& now,
                      const PlugState& state);

}  // namespace dravin
