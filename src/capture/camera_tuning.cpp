#include "camera_tuning.h"

#include "app_log.h"

namespace dravin {

namespace {

QStringList toStrings(const std::vector<std::string>& texts) {
  QStringList list;
  for (const auto& text : texts) list << QString::fromStdString(text);
  return list;
}

}  // namespace

CameraTuning::CameraTuning(std::unique_ptr<CameraMemory> memory, QObject* parent)
    : QObject(parent), memory_(std::move(memory)) {}

QString CameraTuning::rememberedResolution(const TarvoCamera& camera) const {
  return memory_->recall(cameraMemoryKey(camera)).resolution;
}

void CameraTuning::rememberResolution(const TarvoCamera& camera, const QString& label) {
  memory_->rememberResolution(cameraMemoryKey(camera), label);
}

QStringList CameraTuning::attach(const TarvoCamera& camera,
                                 std::unique_ptr<PictureControls> controls) {
  QStringList refusals;
  {
    std::lock_guard lock(mutex_);
    controls_ = std::move(controls);
    key_ = cameraMemoryKey(camera);
    if (controls_) {
      const auto plan = planRestore(memory_->recall(key_), {}, controls_->list());
      for (const auto& write : plan.writes) {
        const std::string error = controls_->set(write.name, write.value);
        if (!error.empty()) refusals << QString::fromStdString(error);
      }
    }
  }
  for (const auto& refusal : refusals)
    logLine(QStringLiteral("Camera setting not restored: ") + refusal);
  emit controlsChanged();
  return refusals;
}

void CameraTuning::detach() {
  {
    std::lock_guard lock(mutex_);
    controls_.reset();
    key_.clear();
  }
  emit controlsChanged();
}

std::vector<PictureControl> CameraTuning::controls() const {
  std::lock_guard lock(mutex_);
  return controls_ ? controls_->list() : std::vector<PictureControl>{};
}

QString CameraTuning::set(const std::string& name, int value) {
  std::string error;
  {
    std::lock_guard lock(mutex_);
    if (!controls_) return QStringLiteral("No camera is running");
    error = controls_->set(name, value);
    if (error.empty()) memory_->rememberControl(key_, name, value);
  }
  // Also on a refusal: the view shows the value the camera kept.
  emit controlsChanged();
  return QString::fromStdString(error);
}

QStringList CameraTuning::reset() {
  QStringList refusals;
  {
    std::lock_guard lock(mutex_);
    if (!controls_) return {};
    refusals = toStrings(resetToDefaults(*controls_));
    memory_->forgetControls(key_);
  }
  emit controlsChanged();
  return refusals;
}

}  // namespace dravin
