#include "update_checker.h"

#include <unistd.h>

#include <QAbstractNetworkCache>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMetaObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryFile>
#include <QXmlStreamReader>
#include <chrono>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app_log.h"

namespace dravin {

namespace {

constexpr const char* kFeedOverrideVariable = "DRAVIN_UPDATE_FEED";
constexpr const char* kFallbackFileName = "update.bin";
// Transfer timeouts count time without progress, so a slow but moving installer download
// still completes; a silent server does not hold a check open for ever.
constexpr std::chrono::seconds kFeedStallTimeout{30};
constexpr std::chrono::seconds kDownloadStallTimeout{60};

bool isPlainNumber(QStringView text) {
  if (text.isEmpty()) return false;
  for (QChar c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

// Compares decimal digit strings of any length without converting, so no component overflows.
int compareNumbers(QStringView a, QStringView b) {
  while (a.size() > 1 && a.front() == u'0') a = a.mid(1);
  while (b.size() > 1 && b.front() == u'0') b = b.mid(1);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return a.compare(b);
}

int sign(int value) {
  return (value > 0) - (value < 0);
}

QString randomNumberText() {
  return QString::number(QRandomGenerator::global()->generate());
}

// One line, however the feed writes its attribute values.
QString describeAttributes(const QXmlStreamAttributes& attributes) {
  QStringList parts;
  for (const auto& attribute : attributes) {
    parts << attribute.qualifiedName().toString() + "=\"" + attribute.value().toString() + "\"";
  }
  QString text = parts.join(' ');
  text.replace(u'\n', u' ').replace(u'\r', u' ');
  return text;
}

}  // namespace

int compareVersions(const QString& a, const QString& b) {
  const QStringList left = a.trimmed().split(u'.');
  const QStringList right = b.trimmed().split(u'.');
  const qsizetype count = std::max(left.size(), right.size());
  const QString zero = QStringLiteral("0");
  for (qsizetype i = 0; i < count; ++i) {
    const QString& x = i < left.size() ? left[i] : zero;
    const QString& y = i < right.size() ? right[i] : zero;
    const int order =
        isPlainNumber(x) && isPlainNumber(y) ? compareNumbers(x, y) : QString::compare(x, y);
    if (order != 0) return sign(order);
  }
  return 0;
}

QString builtInUpdateFeed() {
  return QStringLiteral(DRAVIN_UPDATE_FEED_URL);
}

QString updateFeedAddress(const QString& configured) {
  static const QString number = randomNumberText();
  const QString address = qEnvironmentVariableIsSet(kFeedOverrideVariable)
                              ? qEnvironmentVariable(kFeedOverrideVariable)
                              : configured;
  if (address.trimmed().isEmpty()) return {};
  // An address with a query of its own keeps it.
  return address + (address.contains(u'?') ? u'&' : u'?') + number;
}

QString downloadFileName(const QString& address) {
  // Decoded first, so "%2e%2e" and "%2F" are judged as the file system would see them.
  const QString name = QUrl(address).fileName(QUrl::FullyDecoded);
  if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') ||
      name.contains(QChar(0))) {
    return kFallbackFileName;
  }
  return name;
}

UpdateChecker::UpdateChecker(QString feedAddress, QString runningVersion, QObject* parent)
    : QObject(parent),
      openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      quitApplication([] { QCoreApplication::quit(); }),
      feedAddress_(std::move(feedAddress)),
      runningVersion_(std::move(runningVersion)),
      network_(new QNetworkAccessManager(this)) {}

// Replies are children of network_; QObject drops this object's connections before deleting
// children, so no completion runs on a half-destroyed checker.
UpdateChecker::~UpdateChecker() = default;

UpdateChecker::Status UpdateChecker::status() const {
  if (feedAddress_.isEmpty()) return Status::Off;
  if (outcome_ != Status::NotChecked) return outcome_;
  return checksRunning_ > 0 ? Status::Checking : Status::NotChecked;
}

QString UpdateChecker::statusText() const {
  switch (status()) {
    case Status::Off:
    case Status::NotChecked: return {};
    case Status::Checking: return QStringLiteral("Checking for updates\u2026");
    case Status::UpToDate: return QStringLiteral("Up to date.");
    case Status::UpdateAvailable: return QStringLiteral("New version available.");
    case Status::Failed: return QStringLiteral("Could not check for updates.");
  }
  return {};
}

void UpdateChecker::checkForUpdate() {
  if (feedAddress_.isEmpty()) {
    logLine(QStringLiteral("Update check off: this build has no update feed"));
    return;
  }
  logLine("Checking for update: " + feedAddress_);
  QNetworkRequest request{QUrl(feedAddress_)};
  request.setTransferTimeout(std::chrono::milliseconds(kFeedStallTimeout).count());
  QNetworkReply* reply = network_->get(request);
  const Status before = status();
  ++checksRunning_;
  if (status() != before) emit statusChanged();
  connect(reply, &QNetworkReply::finished, this, [this, reply] {
    reply->deleteLater();
    bool succeeded = false;
    if (reply->error() != QNetworkReply::NoError) {
      logLine("Update check failed: " + reply->errorString());
    } else if (const QByteArray body = reply->readAll(); body.isEmpty()) {
      logLine(QStringLiteral("Update check failed: the feed is empty"));
    } else {
      succeeded = handleFeed(body);
    }
    finishCheck(succeeded);
  });
}

bool UpdateChecker::handleFeed(const QByteArray& body) {
  QXmlStreamReader xml(body);
  while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) {
  }
  if (!xml.isStartElement()) {
    logLine("Update feed unreadable: " + xml.errorString());
    return false;
  }
  const QXmlStreamAttributes attributes = xml.attributes();
  logLine("Update feed: " + describeAttributes(attributes));
  if (!attributes.hasAttribute(QLatin1StringView("version")) ||
      !attributes.hasAttribute(QLatin1StringView("downloadLocation"))) {
    logLine(QStringLiteral("Update feed unreadable: no version or no downloadLocation"));
    return false;
  }
  const QString version = attributes.value(QLatin1StringView("version")).toString();
  if (compareVersions(runningVersion_, version) >= 0) {
    setUpdateAvailable(false);
    return true;
  }
  setUpdateDownloadUrl(attributes.value(QLatin1StringView("downloadLocation")).toString());
  setUpdateAvailable(true);
  return true;
}

// The last check to end decides; a failed one does not withdraw an update already found, whose
// installer is still there to download.
void UpdateChecker::finishCheck(bool succeeded) {
  const Status before = status();
  --checksRunning_;
  if (succeeded) {
    outcome_ = updateAvailable_ ? Status::UpdateAvailable : Status::UpToDate;
  } else {
    outcome_ = updateAvailable_ ? Status::UpdateAvailable : Status::Failed;
  }
  if (status() != before) emit statusChanged();
  emit checkFinished();
}

void UpdateChecker::downloadUpdate(const QString& address, const QString& rootFolder,
                                   Completion completion) {
  struct Download {
    QNetworkReply* reply = nullptr;
    std::unique_ptr<QTemporaryFile> file;
    QString finalPath;
    Completion completion;
    bool writeFailed = false;
  };
  auto download = std::make_shared<Download>();
  download->completion = std::move(completion);

  // The caller always hears back later, never from inside this call.
  auto failLater = [this, download](const QString& reason) {
    logLine("Update download failed: " + reason);
    QMetaObject::invokeMethod(
        this,
        [this, download] {
          download->completion(QString());
          emit downloadFinished(QString());
        },
        Qt::QueuedConnection);
  };

  if (QAbstractNetworkCache* cache = network_->cache()) cache->clear();

  const QDir root(rootFolder);
  if (rootFolder.isEmpty() || !root.exists()) {
    failLater("no folder " + rootFolder);
    return;
  }
  const QString name = downloadFileName(address);
  download->finalPath = root.absoluteFilePath(name);
  // Written beside the target and renamed over it, so the installer appears whole or not at all.
  download->file = std::make_unique<QTemporaryFile>(root.absoluteFilePath("." + name + ".XXXXXX"));
  if (!download->file->open()) {
    failLater(download->file->errorString());
    return;
  }

  QUrl url(address);
  url.setFragment(QString());
  const QString query = url.query(QUrl::FullyEncoded);
  url.setQuery(query.isEmpty() ? randomNumberText() : query + "&" + randomNumberText());
  QNetworkRequest request(url);
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
  request.setTransferTimeout(std::chrono::milliseconds(kDownloadStallTimeout).count());
  download->reply = network_->get(request);

  connect(download->reply, &QNetworkReply::readyRead, this, [download] {
    if (download->writeFailed) return;
    const QByteArray chunk = download->reply->readAll();
    if (download->file->write(chunk) != chunk.size()) {
      download->writeFailed = true;
      download->reply->abort();
    }
  });
  connect(download->reply, &QNetworkReply::finished, this, [this, download] {
    QNetworkReply* reply = download->reply;
    reply->deleteLater();
    QTemporaryFile& file = *download->file;
    if (!download->writeFailed) {
      const QByteArray rest = reply->readAll();
      download->writeFailed = file.write(rest) != rest.size();
    }
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);

    QString failure;
    if (download->writeFailed) {
      failure = "cannot write " + file.fileName() + ": " + file.errorString();
    } else if (reply->error() != QNetworkReply::NoError) {
      failure = reply->errorString();
    } else if (status.isValid() && (status.toInt() < 200 || status.toInt() > 299)) {
      failure = "HTTP status " + status.toString();
    } else if (!file.flush() || ::fsync(file.handle()) != 0) {
      failure = "cannot write " + file.fileName() + ": " + file.errorString();
    } else {
      file.close();
      // rename(2) replaces a symbolic link at the target rather than writing through it.
      std::error_code error;
      std::filesystem::rename(QFile::encodeName(file.fileName()).toStdString(),
                              QFile::encodeName(download->finalPath).toStdString(), error);
      if (error) {
        failure = "cannot move into " + download->finalPath + ": " +
                  QString::fromStdString(error.message());
      } else {
        file.setAutoRemove(false);
      }
    }

    if (!failure.isEmpty()) {
      logLine("Update download failed: " + failure);
      download->completion(QString());
      emit downloadFinished(QString());
      return;
    }
    logLine("Downloaded update to: " + download->finalPath);
    download->completion(download->finalPath);
    emit downloadFinished(download->finalPath);
  });
}

void UpdateChecker::installUpdate(const QString& rootFolder) {
  if (updateDownloadUrl_.isEmpty()) {
    logLine("No update to install");
    return;
  }
  downloadUpdate(updateDownloadUrl_, rootFolder, [this](const QString& localPath) {
    if (localPath.isEmpty()) return;
    if (!openUrl(QUrl::fromLocalFile(localPath))) {
      logLine("Cannot open the update: " + localPath);
      return;
    }
    quitApplication();
  });
}

void UpdateChecker::setUpdateAvailable(bool value) {
  if (updateAvailable_ == value) return;
  updateAvailable_ = value;
  emit updateAvailableChanged();
}

void UpdateChecker::setUpdateDownloadUrl(const QString& value) {
  if (updateDownloadUrl_ == value) return;
  updateDownloadUrl_ = value;
  emit updateDownloadUrlChanged();
}

}  // namespace dravin
