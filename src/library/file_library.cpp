#include "file_library.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>

#include "app_log.h"
#include "atomic_write.h"
#include "paste_into_front_app.h"
#include "serial_queue.h"
#include "storage_folders.h"
#include "thumbnail_service.h"

namespace dravin {
namespace {

inline constexpr int kRetryMs = 3000;

QString urlText(const QString& path) {
  return QUrl::fromLocalFile(path).toString();
}

QString libraryFolder() {
  return storageFolders() ? storageFolders()->library : QString();
}

bool samePath(const QString& a, const QString& b) {
  const QString canonicalA = QFileInfo(a).canonicalFilePath();
  return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath() ||
         (!canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath());
}

}  // namespace

FileLibrary::FileLibrary(ThumbnailService& thumbnails, DeckImport::Converter converter,
                         QObject* parent)
    : QObject(parent),
      thumbnails_(thumbnails),
      decks_(std::move(converter)),
      copies_(std::make_unique<SerialQueue>("library_copy")),
      paster_([](const LibraryFilePtr& file) { pasteIntoFrontApp(file); }) {
  connect(&decks_, &DeckImport::activeChanged, this, &FileLibrary::showingConvertingAlertChanged);
  connect(&decks_, &DeckImport::progressChanged, this, &FileLibrary::deckProgressChanged);
  connect(&decks_, &DeckImport::imported, this, &FileLibrary::addConvertedDeck);
  connect(&decks_, &DeckImport::failed, this, [this](const QString& deck, const QString& error) {
    emit importFailed("\"" + deck + "\" could not be imported: " + error);
  });
}

FileLibrary::~FileLibrary() {
  copies_.reset();
}

void FileLibrary::setHideFileLibrary(bool hide) {
  if (hideFileLibrary_ == hide) return;
  hideFileLibrary_ = hide;
  emit hideFileLibraryChanged();
}

void FileLibrary::loadLibraryFiles() {
  scan_.reset();
  fileList_.clear();
  emit fileListChanged();
  const QString folder = libraryFolder();
  if (folder.isEmpty()) {
    logLine("NO Archive Library yet");
    setHideFileLibrary(true);
    QTimer::singleShot(kRetryMs, this, &FileLibrary::loadLibraryFiles);
    return;
  }
  const auto items = readLibraryFolder(folder);
  if (!items) return;
  scan_ = ThumbnailedList::build(
      thumbnails_, *items,
      [this](const LibraryFilePtr& item) {
        fileList_.append(item);
        emit fileListChanged();
      },
      [this] {
        logLine("Total Files in Library: " + QString::number(fileList_.size()));
        emit libraryLoaded(static_cast<int>(fileList_.size()));
      });
}

bool FileLibrary::libraryWritable() {
  const auto& folders = storageFolders();
  if (!folders) return false;
  const auto problem = storageProblem(*folders, folders->library);
  if (!problem) return true;
  logLine(problem->text);
  emit importFailed(problem->text);
  return false;
}

void FileLibrary::importChosenFiles(const QStringList& paths) {
  if (paths.isEmpty() || !libraryWritable()) return;
  importFile(paths.first(), true);
  setHideFileLibrary(false);
  for (qsizetype i = 1; i < paths.size(); ++i) {
    logLine(urlText(paths[i]));
    importFile(paths[i], false);
  }
}

bool FileLibrary::importDroppedFiles(const QStringList& paths) {
  if (libraryFolder().isEmpty()) return false;
  // Taken and answered: the user reads why nothing was imported.
  if (!libraryWritable()) return true;
  for (const QString& path : paths) importFile(path, false);
  return true;
}

void FileLibrary::importFile(const QString& path, bool pasteWhenReady) {
  const QString folder = libraryFolder();
  if (folder.isEmpty()) return;
  logLine("Load files into library: " + urlText(path));
  const QFileInfo source(path);
  if (isImageFile(path)) {
    const QString destination = folder + source.fileName();
    if (samePath(path, destination)) {
      logLine("Same Folder, No actions.");
      return;
    }
    importPicture(path, destination, pasteWhenReady);
  } else if (isPresentationFile(path) && !source.isDir()) {
    decks_.start(path, folder + source.completeBaseName());
  }
}

void FileLibrary::importPicture(const QString& source, const QString& destination,
                                bool pasteWhenReady) {
  std::weak_ptr<bool> alive = alive_;
  copies_->dispatch([this, alive, source, destination, pasteWhenReady] {
    const QString error = copyFileAtomically(source, destination);
    onMainThread([this, alive, error, source, destination, pasteWhenReady] {
      if (alive.expired()) return;
      if (!error.isEmpty()) {
        logLine("Copy Error");
        emit importFailed("\"" + QFileInfo(source).fileName() + "\" could not be copied: " + error);
        return;
      }
      LibraryFilePtr item = classifiedFile(destination);
      item->thumbnail = destination;
      requestThumbnail(thumbnails_, alive, item,
                       [this, pasteWhenReady](const LibraryFilePtr& ready) {
                         insertAtFront(ready);
                         if (pasteWhenReady && paster_) paster_(ready);
                       });
    });
  });
}

void FileLibrary::addConvertedDeck(const QString& folder) {
  auto item = std::make_shared<LibraryFile>();
  item->url = folderPath(folder);
  item->name = QFileInfo(QDir::cleanPath(folder)).fileName();
  item->type = LibraryFileType::PPT;
  item->thumbnail = firstSlideOf(folder);
  if (!hasThumbnailFile(*item)) return;
  requestThumbnail(thumbnails_, alive_, item,
                   [this](const LibraryFilePtr& ready) { insertAtFront(ready); });
}

// A file imported again under the same name replaced the old one on disk: its tile goes too.
void FileLibrary::insertAtFront(const LibraryFilePtr& item) {
  fileList_.removeIf(
      [&](const LibraryFilePtr& listed) { return samePath(listed->url, item->url); });
  fileList_.prepend(item);
  emit fileListChanged();
}

void FileLibrary::removeFile(const QUuid& id) {
  const auto found = std::find_if(fileList_.begin(), fileList_.end(),
                                  [&](const LibraryFilePtr& item) { return item->id == id; });
  if (found == fileList_.end()) return;
  const QString path = (*found)->url;
  if (QFileInfo(path).isDir())
    QDir(path).removeRecursively();
  else
    QFile::remove(path);
  fileList_.erase(found);
  emit fileListChanged();
}

}  // namespace dravin
