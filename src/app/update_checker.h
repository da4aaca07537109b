#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <functional>

class QNetworkAccessManager;

namespace dravin {

// Dotted versions, numerically per component; missing components count as 0. A component that
// is not a plain decimal number is compared as text. Returns <0, 0 or >0 like strcmp.
int compareVersions(const QString& a, const QString& b);

// The edition's update feed, with a cache-busting "?number" drawn once per process.
// DRAVIN_UPDATE_FEED, when set and not empty, replaces the address (tests point it at loopback).
QString updateFeedAddress(bool productIsPelora);

// Reads the update feed (an XML document whose first element carries "version" and
// "downloadLocation") and downloads the installer it names. Lives on the main thread; every
// reply is handled there.
class UpdateChecker : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateAvailableChanged)
  Q_PROPERTY(QString updateDownloadUrl READ updateDownloadUrl NOTIFY updateDownloadUrlChanged)

 public:
  using Completion = std::function<void(const QString& localPath)>;

  UpdateChecker(QString feedAddress, QString runningVersion, QObject* parent = nullptr);
  ~UpdateChecker() override;

  bool updateAvailable() const { return updateAvailable_; }
  QString updateDownloadUrl() const { return updateDownloadUrl_; }

  // Failures (network, empty body, feed without the two attributes) leave both flags as they
  // were. Emits checkFinished() whichever way the check ends.
  Q_INVOKABLE void checkForUpdate();

  // Stores address's last path component (made safe: always a plain name inside rootFolder,
  // "update.bin" when nothing usable is left) via a temporary file renamed into place.
  // `completion` runs on the main thread with the file's path, or with an empty string when
  // the download or the write failed; a failure also writes one log line. downloadFinished
  // follows with the same value.
  void downloadUpdate(const QString& address, const QString& rootFolder, Completion completion);

  // Downloads updateDownloadUrl into rootFolder, opens it and quits. A failed download or a
  // file that cannot be opened keeps the application running.
  Q_INVOKABLE void installUpdate(const QString& rootFolder);

  // Replaceable so tests can watch the hand-over without leaving the process.
  std::function<bool(const QUrl&)> openUrl;
  std::function<void()> quitApplication;

 signals:
  void updateAvailableChanged();
  void updateDownloadUrlChanged();
  void checkFinished();
  void downloadFinished(const QString& localPath);  // empty when the download failed

 private:
  void handleFeed(const QByteArray& body);
  void setUpdateAvailable(bool value);
  void setUpdateDownloadUrl(const QString& value);

  const QString feedAddress_;
  const QString runningVersion_;
  QNetworkAccessManager* network_;
  bool updateAvailable_ = false;
  QString updateDownloadUrl_;
};

// The file name a download from `address` is stored under: its last path component, decoded,
// or "update.bin" when that could leave the folder or is empty.
QString downloadFileName(const QString& address);

}  // namespace dravin
