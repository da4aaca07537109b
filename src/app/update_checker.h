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

// The feed address this build was configured with (the DRAVIN_UPDATE_FEED_URL CMake option);
// empty when the build has no update check, as a package updated through apt.
QString builtInUpdateFeed();

// The feed to ask, with a cache-busting number drawn once per process added to its query; empty
// when the check is off. DRAVIN_UPDATE_FEED, when set, replaces `configured` (tests point it at
// loopback); set but empty, it turns the check off.
QString updateFeedAddress(const QString& configured = builtInUpdateFeed());

// Reads the update feed (an XML document whose first element carries "version" and
// "downloadLocation") and downloads the installer it names. Lives on the main thread; every
// reply is handled there. An empty feed address turns the check off: no request is ever sent.
class UpdateChecker : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateAvailableChanged)
  Q_PROPERTY(QString updateDownloadUrl READ updateDownloadUrl NOTIFY updateDownloadUrlChanged)
  Q_PROPERTY(Status status READ status NOTIFY statusChanged)
  Q_PROPERTY(QString statusText READ statusText NOTIFY statusChanged)

 public:
  using Completion = std::function<void(const QString& localPath)>;

  // What the settings may say about updates. Checking only until the first check ends; later
  // checks keep showing the last outcome until they end themselves.
  enum class Status { Off, NotChecked, Checking, UpToDate, UpdateAvailable, Failed };
  Q_ENUM(Status)

  UpdateChecker(QString feedAddress, QString runningVersion, QObject* parent = nullptr);
  ~UpdateChecker() override;

  bool updateAvailable() const { return updateAvailable_; }
  QString updateDownloadUrl() const { return updateDownloadUrl_; }
  Status status() const;
  // Empty when there is nothing to say (the check is off, or none has started).
  QString statusText() const;

  // A failure (network or HTTP error, empty body, feed without the two attributes) ends as
  // Failed, except that an update found earlier stays on offer. Emits checkFinished() whichever
  // way the check ends; does nothing when the check is off.
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
  void statusChanged();
  void checkFinished();
  void downloadFinished(const QString& localPath);  // empty when the download failed

 private:
  // False when the body is no usable feed.
  bool handleFeed(const QByteArray& body);
  void finishCheck(bool succeeded);
  void setUpdateAvailable(bool value);
  void setUpdateDownloadUrl(const QString& value);

  const QString feedAddress_;
  const QString runningVersion_;
  QNetworkAccessManager* network_;
  bool updateAvailable_ = false;
  QString updateDownloadUrl_;
  int checksRunning_ = 0;
  // Of the last check that ended; NotChecked until one has.
  Status outcome_ = Status::NotChecked;
};

// The file name a download from `address` is stored under: its last path component, decoded,
// or "update.bin" when that could leave the folder or is empty.
QString downloadFileName(const QString& address);

}  // namespace dravin
