#pragma once

#include "second_camera_controller.h"

namespace dravin {

// The picture-in-picture camera: a second camera in its default format, prepared on the
// "pip_controller" queue.
class PIPController : public SecondCameraController {
  Q_OBJECT

 public:
  static constexpr int kFormatLogDelayMs = 10000;

  explicit PIPController(QObject* parent = nullptr);
  ~PIPController() override;

 protected:
  std::string capsFor(const TarvoCamera& camera) const override;
  void sessionCreated(const std::weak_ptr<gst::CameraSession>& session) override;
};

}  // namespace dravin
