#include "hot_plug.h"

#include <algorithm>

namespace dravin {

namespace {

template <class List, class Id>
auto findId(const List& list, const std::string& id, Id idOf) {
  return std::find_if(list.begin(), list.end(), [&](const auto& item) { return idOf(item) == id; });
}

const std::string& cameraId(const TarvoCamera& camera) {
  return camera.uniqueID;
}
const std::string& micId(const TarvoMic& mic) {
  return mic.mic.uniqueID;
}

}  // namespace

PlugAction decidePlug(const std::vector<TarvoCamera>& camerasBefore, const DiscoveredDevices& now,
                      const PlugState& state) {
  PlugAction action;
  // The microphone to run with: the current one while it is there, else the first.
  std::optional<TarvoMic> mic;
  if (state.runningMic) {
    auto kept = findId(now.mics, *state.runningMic, micId);
    if (kept != now.mics.end()) mic = *kept;
  }
  if (!mic && !now.mics.empty()) mic = now.mics.front();

  if (state.runningCamera) {
    auto running = findId(now.cameras, *state.runningCamera, cameraId);
    if (running == now.cameras.end()) {
      action.kind = PlugAction::Kind::loseCamera;
      return action;
    }
    if (state.runningMic && findId(now.mics, *state.runningMic, micId) == now.mics.end()) {
      action.kind = PlugAction::Kind::replaceMic;
      action.camera = *running;
      action.mic = mic;
    }
    return action;
  }

  // Nothing runs: the lost camera when it is back, else one just plugged in.
  std::optional<TarvoCamera> start;
  if (!state.lostCamera.empty()) {
    auto back = findId(now.cameras, state.lostCamera, cameraId);
    if (back != now.cameras.end()) start = *back;
  }
  if (!start) {
    for (const auto& camera : now.cameras) {
      if (findId(camerasBefore, camera.uniqueID, cameraId) == camerasBefore.end()) {
        start = camera;
        break;
      }
    }
  }
  if (start) {
    action.kind = PlugAction::Kind::startCamera;
    action.camera = start;
    action.mic = mic;
  }
  return action;
}

}  // namespace dravin
