#include "global_init.h"

#include <QDir>
#include <QFileInfo>

#include "access_guard.h"
#include "app_log.h"
#include "board_asset_routes.h"
#include "board_assets.h"
#include "http_server.h"
#include "lesson_routes.h"
#include "storage_folders.h"

namespace dravin {

namespace {

bool ensureFolder(const QString& path) {
  if (QFileInfo::exists(path)) return true;
  if (QDir().mkpath(path)) return true;
  logLine("The folder " + path + " could not be created.");
  return false;
}

bool copyEntry(const QString& source, const QString& destination) {
  QFileInfo info(source);
  if (!info.isDir()) return QFile::copy(source, destination);
  if (!QDir().mkpath(destination)) return false;
  bool copied = true;
  for (const QString& name :
       QDir(source).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
    copied = copyEntry(source + "/" + name, destination + "/" + name) && copied;
  }
  return copied;
}

}  // namespace

std::shared_ptr<HttpServer>& server() {
  static std::shared_ptr<HttpServer> instance;
  return instance;
}

std::uint16_t httpPort() {
  bool ok = false;
  uint port = qEnvironmentVariable("DRAVIN_HTTP_PORT").toUInt(&ok);
  return ok && port <= 65535 ? static_cast<std::uint16_t>(port) : std::uint16_t{9080};
}

QString accessKey() {
  // One key for the whole run: a later folder grant builds a new server, and the pages already
  // loaded keep the key they were given.
  static const QString key = QString::fromStdString(newAccessKey());
  return key;
}

void copyFolderContents(const QString& source, const QString& destination) {
  QDir folder(source);
  if (!folder.exists() || !folder.isReadable()) {
    logLine("\nError\n");
    return;
  }
  for (const QString& name :
       folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
    QString target = destination + "/" + name;
    if (QFileInfo(target).isDir() && !QFileInfo(target).isSymLink()) {
      QDir(target).removeRecursively();
    } else {
      QFile::remove(target);
    }
    copyEntry(source + "/" + name, target);  // a failed entry leaves the next to be tried
  }
}

void initGlobal(const QString& storageFolder, const QString& resourceFolder) {
  logLine("Init Global: ");
  StorageFolders folders = StorageFolders::under(storageFolder);
  storageFolders() = folders;

  for (const QString& path : {folders.images, folders.videos, folders.library, folders.boards})
    ensureFolder(path);
  if (ensureFolder(folders.templates))
    copyFolderContents(resourceFolder + "/templates", folders.templates);
  ensureFolder(folders.bookmark);

  auto created = std::make_shared<HttpServer>();
  QString lessons = resourceFolder + "/peloralessons";
  auto guard = std::make_shared<AccessGuard>(accessKey().toStdString());
  // Before the lessons: a lesson folder of the same name must not take the board's pictures.
  registerBoardAssetRoutes(*created, BoardAssets::defaultFolder(), guard);
  registerStandardRoutes(*created,
                         QFileInfo(lessons).isDir() ? lessons.toStdString() : std::string(), guard);
  server() = created;
  try {
    created->start(httpPort(), true, QueuePriority::background);
    logLine("Server has started ( port = " + QString::number(created->localPort()) +
            " ). Try to connect now...");
  } catch (const SocketError& error) {
    logLine("Server start error: " + QString::fromStdString(error.description()));
  }
}

}  // namespace dravin
