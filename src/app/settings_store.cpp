#include "settings_store.h"

#include <QFileInfo>
#include <QTimer>

#include "app_log.h"

namespace dravin {

namespace {

// QSettings keeps booleans as text in its file; either form counts as a boolean.
std::optional<bool> storedBool(const QVariant& value) {
  if (value.typeId() == QMetaType::Bool) return value.toBool();
  if (value.typeId() == QMetaType::QString) {
    if (value.toString() == "true") return true;
    if (value.toString() == "false") return false;
  }
  return std::nullopt;
}

QString boolText(bool value) {
  return value ? "true" : "false";
}

}  // namespace

SettingsStore::SettingsStore(QObject* parent) : QObject(parent) {}

void SettingsStore::restoreSettings() {
  if (auto offline = storedBool(settings_.value(kOfflineKey))) {
    offlineMode_ = *offline;
    logLine("offlineMode: " + boolText(offlineMode_));
  }
  QVariant resolution = settings_.value(kResolutionKey);
  if (resolution.typeId() == QMetaType::QString) {
    resolution_ = resolution.toString();
    logLine("Resolution: " + resolution_);
    applyResolution(resolution_);
  }

  // The chooser needs the window, which is built after this runs.
  auto askLater = [this](const QString& why) {
    logLine(why);
    QTimer::singleShot(kChooserDelayMs, this, &SettingsStore::chooseSaveFolder);
  };
  QVariant folder = settings_.value(kFolderKey);
  if (folder.typeId() != QMetaType::QString || folder.toString().isEmpty()) {
    return askLater("No Access yet");
  }
  QFileInfo info(folder.toString());
  if (!info.exists()) return askLater("Bookmark Access isSlate");  // moved or deleted since
  if (!info.isDir() || !info.isWritable()) {
    return askLater("Bookmark Access Fails: " + info.absoluteFilePath() +
                    " is not a writable folder");
  }
  logLine("Read Permission Root: " + info.absoluteFilePath());
  emit folderGranted(info.absoluteFilePath());
}

void SettingsStore::chooseSaveFolder() {
  emit folderChooserRequested();
}

void SettingsStore::storeFolderGrant(const QUrl& folder) {
  QString path = folder.isLocalFile() ? folder.toLocalFile() : folder.toString();
  if (path.isEmpty() || !QFileInfo(path).isDir()) {
    logLine("Error storing bookmarks");
    return;
  }
  settings_.setValue(kFolderKey, path);
  settings_.sync();
  if (settings_.status() != QSettings::NoError) {
    logLine("Error storing bookmarks");
    return;
  }
  logLine("Save Permission Root: " + path);
  emit folderGranted(path);
}

void SettingsStore::setOfflineMode(bool offline) {
  logLine("OfflineMode: " + boolText(offline));
  settings_.setValue(kOfflineKey, offline);
  settings_.sync();
  if (offline == offlineMode_) return;
  offlineMode_ = offline;
  emit offlineModeChanged();
}

void SettingsStore::setResolution(const QString& label) {
  if (label == resolution_) return;
  resolution_ = label;
  applyResolution(label);
  settings_.setValue(kResolutionKey, label);
  settings_.sync();
  emit resolutionChanged();
}

void SettingsStore::applyResolution(const QString& label) {
  flags_ = resolutionFlagsFor(label);
}

}  // namespace dravin
