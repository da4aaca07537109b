#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "json_value.h"
#include "library_file.h"
#include "thumbnailed_list.h"

namespace dravin {

class ThumbnailService;

// The "Templates" tab: the catalogue of "templates.json" in the templates folder, filtered by a
// category chip or a search text, with favourite marks kept in "favorites.json". Main thread only.
class TemplateLibrary : public QObject {
  Q_OBJECT
 public:
  static inline const QString kAll = "All";
  static inline const QString kFavorite = "Favorite";
  static inline const QString kNoCategory = "NONE";

  explicit TemplateLibrary(ThumbnailService& thumbnails, QObject* parent = nullptr);

  const QList<LibraryFilePtr>& templateList() const { return templateList_; }
  const QList<LibraryFilePtr>& templateListFiltered() const { return templateListFiltered_; }
  const QStringList& categoryList() const { return categoryList_; }
  const QString& selectedCategory() const { return selectedCategory_; }
  const QString& searchText() const { return searchText_; }
  const QStringList& favoriteTemplates() const { return favoriteTemplates_; }

  // Rebuilds the list from "templates.json"; retries every 3 s while there is no folder.
  void loadTemplates();
  void readFavorites();
  // Writes the marks of the list to "favorites.json" when the user changed one since the last
  // write: a list that was never loaded never overwrites the file.
  void updateFavorites();
  void selectCategory(int index);
  void setSearchText(const QString& text);
  void setFavorited(const LibraryFilePtr& item, bool favorited);

 signals:
  void templateListChanged();
  void filterChanged();  // the filtered list, the chips, the selection or the search text
  void templatesLoaded(int count);
  // The folder is not there yet: the panel collapses while it waits.
  void waitingForFolder();
  // The marks could not be written: `text` says why; `folderMissing` when the storage folder
  // itself is gone. The marks stay unsaved and are written at the next try.
  void saveFailed(const QString& text, bool folderMissing);

 private:
  void searchTextChanged(const QString& text);

  ThumbnailService& thumbnails_;
  QList<LibraryFilePtr> templateList_;
  QList<LibraryFilePtr> templateListFiltered_;
  QStringList categoryList_;
  QString selectedCategory_;
  QString searchText_;
  JsonValue templatesJson_;
  QStringList favoriteTemplates_;
  bool unreadableFavorites_ = false;
  bool marksChanged_ = false;
  ThumbnailedList::Handle build_;
};

}  // namespace dravin
