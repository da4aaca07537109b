#include "pip_controller.h"

#include "app_log.h"
#include "camera_session.h"

namespace dravin {

PIPController::PIPController(QObject* parent)
    : SecondCameraController(QStringLiteral("pip_controller"), parent) {}

PIPController::~PIPController() {
  shutdown();
}

std::string PIPController::capsFor(const TarvoCamera&) const {
  // Even a maker's camera keeps the format it starts in.
  return {};
}

void PIPController::sessionCreated(const std::weak_ptr<gst::CameraSession>& session) {
  onMainThreadAfter(kFormatLogDelayMs, [session] {
    // A session closed or replaced since, or one that never ran, has nothing to report.
    auto running = session.lock();
    if (!running) return;
    const std::string format = running->negotiatedFormat();
    if (!format.empty()) logLine(QStringLiteral("PIP Camera: ") + QString::fromStdString(format));
  });
}

}  // namespace dravin
