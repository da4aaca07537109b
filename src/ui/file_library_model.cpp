#include "file_library_model.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include "app_log.h"
#include "display_session.h"
#include "notification_center.h"
#include "notification_names.h"
#include "paste_into_front_app.h"
#include "thumbnail_service.h"

namespace dravin {
namespace {

// The panel shows itself when it appears, then slides away unless the user keeps it.
inline constexpr int kAutoHideMs = 3000;

QStringList localPaths(const QList<QUrl>& urls) {
  QStringList paths;
  for (const QUrl& url : urls)
    if (url.isLocalFile()) paths.append(url.toLocalFile());
  return paths;
}

}  // namespace

FileLibraryModel::FileLibraryModel(QObject* parent)
    : QObject(parent),
      library_(ThumbnailService::shared()),
      templateLibrary_(ThumbnailService::shared()) {
  autoHide_.setSingleShot(true);
  autoHide_.setInterval(kAutoHideMs);
  connect(&autoHide_, &QTimer::timeout, this, [this] { library_.setHideFileLibrary(true); });
  library_.setPaster([this](const LibraryFilePtr& item) {
    emit aboutToPaste();
    // Wayland types no keys for anyone, not even for us: when our window is in front, its board
    // is the front application and takes the picture directly.
    if (displaySession() == DisplaySession::wayland && QGuiApplication::focusWindow()) {
      emit placeOnBoardRequested(item->url);
      return;
    }
    if (pasteIntoFrontApp(item) == PasteOutcome::copiedOnly) emit noticeRequested(kCopiedOnlyText);
  });
  connect(&library_, &FileLibrary::fileListChanged, this,
          [this] { files_.setItems(library_.fileList()); });
  connect(&library_, &FileLibrary::hideFileLibraryChanged, this, [this] {
    // The marks are saved whenever the panel goes away, not only when the window closes.
    if (library_.hideFileLibrary()) templateLibrary_.updateFavorites();
    emit hideFileLibraryChanged();
  });
  connect(&library_, &FileLibrary::showingConvertingAlertChanged, this,
          &FileLibraryModel::showingConvertingAlertChanged);
  connect(&library_, &FileLibrary::deckProgressChanged, this,
          [this](const QString& name, int done, int total) {
            deckName_ = name;
            deckDone_ = done;
            deckTotal_ = total;
            emit deckProgressChanged();
          });
  connect(&library_, &FileLibrary::importFailed, this, [this](const QString& text) {
    message_ = text;
    emit messageChanged();
  });
  connect(&templateLibrary_, &TemplateLibrary::templateListChanged, this, [this] {
    templates_.setItems(templateLibrary_.templateListFiltered());
    emit templateCountChanged();
  });
  connect(&templateLibrary_, &TemplateLibrary::filterChanged, this, [this] {
    templates_.setItems(templateLibrary_.templateListFiltered());
    emit filterChanged();
  });
  connect(&templateLibrary_, &TemplateLibrary::saveFailed, this, &FileLibraryModel::saveFailed);
  connect(&templateLibrary_, &TemplateLibrary::waitingForFolder, this,
          [this] { library_.setHideFileLibrary(true); });
  connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this,
          [this] { templateLibrary_.updateFavorites(); });
  NotificationCenter::instance().observe(
      notifications::kOpenFiles, this, [this](const QVariantMap&) { emit importPanelRequested(); });
}

FileLibraryModel::~FileLibraryModel() = default;

void FileLibraryModel::setHideFileLibrary(bool hide) {
  library_.setHideFileLibrary(hide);
}

void FileLibraryModel::appeared() {
  bool loading = false;
  if (library_.fileList().isEmpty()) {
    library_.loadLibraryFiles();
    loading = true;
  }
  if (templateLibrary_.templateList().isEmpty()) {
    templateLibrary_.loadTemplates();
    loading = true;
  }
  if (loading) autoHide_.start();
}

void FileLibraryModel::disappeared() {
  templateLibrary_.updateFavorites();
}

void FileLibraryModel::importChosenFiles(const QList<QUrl>& urls) {
  importChosenPaths(localPaths(urls));
}

void FileLibraryModel::importChosenPaths(const QStringList& paths) {
  autoHide_.stop();
  library_.importChosenFiles(paths);
}

bool FileLibraryModel::importDroppedUrls(const QList<QUrl>& urls) {
  return library_.importDroppedFiles(localPaths(urls));
}

void FileLibraryModel::removeFile(const QString& id) {
  if (LibraryFilePtr item = files_.find(id)) library_.removeFile(item->id);
}

void FileLibraryModel::setFavorite(const QString& id, bool favorited) {
  if (LibraryFilePtr item = templates_.find(id)) {
    templateLibrary_.setFavorited(item, favorited);
    templates_.refresh(item);
  }
}

void FileLibraryModel::tileClicked() {
  logLine("clicked Image");
}

void FileLibraryModel::openInViewer(const QUrl& url) {
  NotificationCenter::instance().post(
      notifications::kOpenBrowser,
      {{QStringLiteral("pdfMode"), true}, {QStringLiteral("pdfPath"), url.toLocalFile()}});
}

void FileLibraryModel::dismissMessage() {
  message_.clear();
  emit messageChanged();
}

}  // namespace dravin
