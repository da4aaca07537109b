#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <functional>
#include <memory>

#include "deck_import.h"
#include "library_file.h"
#include "thumbnailed_list.h"

namespace dravin {

class SerialQueue;
class ThumbnailService;

// The "My Files" list: the library folder's items, newest first, each with its thumbnail, and the
// imports that add to it. Lives on the main thread; copies, conversions and thumbnails run on
// their own threads and hand their results back here.
class FileLibrary : public QObject {
  Q_OBJECT
 public:
  using Paster = std::function<void(const LibraryFilePtr&)>;

  explicit FileLibrary(ThumbnailService& thumbnails, DeckImport::Converter converter = convertDeck,
                       QObject* parent = nullptr);
  ~FileLibrary() override;

  const QList<LibraryFilePtr>& fileList() const { return fileList_; }
  bool hideFileLibrary() const { return hideFileLibrary_; }
  void setHideFileLibrary(bool hide);
  bool showingConvertingAlert() const { return decks_.isActive(); }
  // Who pastes an imported picture into the front application (the board, normally).
  void setPaster(Paster paster) { paster_ = std::move(paster); }

  // Rebuilds the list from the library folder; retries every 3 s while there is no folder.
  void loadLibraryFiles();
  // The files chosen in the open panel: the first is pasted once it is listed, if it is a picture.
  void importChosenFiles(const QStringList& paths);
  // Dropped files; refused (false) while there is no library folder.
  bool importDroppedFiles(const QStringList& paths);
  void importFile(const QString& path, bool pasteWhenReady);
  void addConvertedDeck(const QString& folder);
  // Deletes the item's file or folder from disk and takes it off the list.
  void removeFile(const QUuid& id);
  void cancelDeckImports() { decks_.cancelAll(); }

 signals:
  void fileListChanged();
  // The scan has finished with `count` items listed.
  void libraryLoaded(int count);
  void hideFileLibraryChanged();
  void showingConvertingAlertChanged();
  void deckProgressChanged(const QString& deckName, int done, int total);
  // Something the user asked for did not happen; `message` says what, for the user.
  void importFailed(const QString& message);

 private:
  // Checks the storage folder before an import; false, and the user told why, when it cannot be
  // written.
  bool libraryWritable();
  void insertAtFront(const LibraryFilePtr& item);
  void importPicture(const QString& source, const QString& destination, bool pasteWhenReady);

  ThumbnailService& thumbnails_;
  DeckImport decks_;
  std::unique_ptr<SerialQueue> copies_;
  Paster paster_;
  QList<LibraryFilePtr> fileList_;
  bool hideFileLibrary_ = false;
  ThumbnailedList::Handle scan_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace dravin
