#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QUrl>

#include "format_choice.h"

namespace dravin {

// The three persisted settings and the storage-folder grant. A granted folder is announced with
// folderGranted(); the caller runs the global initialisation and the update check.
class SettingsStore : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool offlineMode READ offlineMode WRITE setOfflineMode NOTIFY offlineModeChanged)
  Q_PROPERTY(QString resolution READ resolution WRITE setResolution NOTIFY resolutionChanged)

 public:
  static constexpr int kChooserDelayMs = 3000;
  static inline const QString kFolderKey = QStringLiteral("bookmark_folder");
  static inline const QString kOfflineKey = QStringLiteral("bookmark_offline");
  static inline const QString kResolutionKey = QStringLiteral("bookmark_resolution");

  explicit SettingsStore(QObject* parent = nullptr);

  // Reads offline mode, resolution and folder, in that order; grants the stored folder or asks
  // for one (3 s later when none is stored).
  void restoreSettings();
  Q_INVOKABLE void chooseSaveFolder();
  Q_INVOKABLE void storeFolderGrant(const QUrl& folder);

  bool offlineMode() const { return offlineMode_; }
  void setOfflineMode(bool offline);
  QString resolution() const { return resolution_; }
  void setResolution(const QString& label);
  ResolutionFlags resolutionFlags() const { return flags_; }

 signals:
  void offlineModeChanged();
  void resolutionChanged();
  void folderGranted(const QString& folder);
  void folderChooserRequested();

 private:
  void applyResolution(const QString& label);

  QSettings settings_{QStringLiteral("Pelora"), QStringLiteral("Dravin")};
  bool offlineMode_ = false;
  QString resolution_ = QStringLiteral("1080P@30fps");
  ResolutionFlags flags_;
};

}  // namespace dravin
