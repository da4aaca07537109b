#include "camera_memory.h"

#include <QSettings>
#include <algorithm>

#include "app_log.h"

namespace dravin {

namespace {

const QString kGroup = QStringLiteral("cameras");
const QString kResolution = QStringLiteral("resolution");
const QString kControls = QStringLiteral("controls");

QString hex4(std::int64_t value) {
  return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

// A settings group per camera; "/" would open a sub-group and "\" is the file's escape.
QString groupOf(const std::string& key) {
  QString text = QString::fromStdString(key);
  text.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
  return kGroup + QLatin1Char('/') + text;
}

}  // namespace

std::string cameraMemoryKey(const TarvoCamera& camera) {
  if (camera.vendorID == 0 && camera.productID == 0) return camera.uniqueID;
  const QString ids = hex4(camera.vendorID) + hex4(camera.productID);
  const auto& device = camera.camera;
  if (!device.usbSerial.empty()) {
    return ("usb-" + ids + "-" + QString::fromStdString(device.usbSerial)).toStdString();
  }
  if (!device.usbPort.empty()) {
    return ("usb-" + ids + "-port-" + QString::fromStdString(device.usbPort)).toStdString();
  }
  return camera.uniqueID;
}

RestorePlan planRestore(const RememberedCamera& remembered, const QString& defaultResolution,
                        const std::vector<PictureControl>& offered) {
  RestorePlan plan;
  plan.resolution = remembered.resolution.isEmpty() ? defaultResolution : remembered.resolution;
  std::vector<ControlWrite> manual;
  // In the camera's order: a camera lists a mode before the values it holds.
  for (const auto& control : offered) {
    auto write = std::find_if(remembered.controls.begin(), remembered.controls.end(),
                              [&](const ControlWrite& w) { return w.name == control.name; });
    if (write == remembered.controls.end()) continue;
    (control.autoMode ? plan.writes : manual).push_back(*write);
  }
  plan.writes.insert(plan.writes.end(), manual.begin(), manual.end());
  return plan;
}

CameraMemory::CameraMemory(const QString& settingsFile)
    : settings_(settingsFile.isEmpty()
                    ? std::make_unique<QSettings>()
                    : std::make_unique<QSettings>(settingsFile, QSettings::IniFormat)) {}

CameraMemory::~CameraMemory() = default;

RememberedCamera CameraMemory::recall(const std::string& key) const {
  std::lock_guard lock(mutex_);
  RememberedCamera remembered;
  settings_->beginGroup(groupOf(key));
  remembered.resolution = settings_->value(kResolution).toString();
  settings_->beginGroup(kControls);
  for (const QString& name : settings_->childKeys()) {
    bool number = false;
    const int value = settings_->value(name).toInt(&number);
    // A value edited by hand into something that is not a number is left alone.
    if (number) remembered.controls.push_back({name.toStdString(), value});
  }
  settings_->endGroup();
  settings_->endGroup();
  return remembered;
}

void CameraMemory::rememberControl(const std::string& key, const std::string& name, int value) {
  std::lock_guard lock(mutex_);
  settings_->setValue(groupOf(key) + "/" + kControls + "/" + QString::fromStdString(name), value);
  save();
}

void CameraMemory::rememberResolution(const std::string& key, const QString& label) {
  std::lock_guard lock(mutex_);
  settings_->setValue(groupOf(key) + "/" + kResolution, label);
  save();
}

void CameraMemory::forgetControls(const std::string& key) {
  std::lock_guard lock(mutex_);
  settings_->remove(groupOf(key) + "/" + kControls);
  save();
}

void CameraMemory::save() {
  // QSettings writes a new file beside the old one and renames it over.
  settings_->sync();
  if (settings_->status() != QSettings::NoError) {
    logLine(QStringLiteral("Camera settings not saved: cannot write ") + settings_->fileName());
  }
}

}  // namespace dravin
