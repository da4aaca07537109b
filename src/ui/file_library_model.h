#pragma once

#include <QtQml/qqmlregistration.h>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include "file_library.h"
#include "library_list_model.h"
#include "template_library.h"

namespace dravin {

// The library side panel's state: the "My Files" and "Templates" tabs, the deck import notice,
// the chips and the search text.
class FileLibraryModel : public QObject {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(dravin::LibraryListModel* files READ files CONSTANT)
  Q_PROPERTY(dravin::LibraryListModel* templates READ templates CONSTANT)
  Q_PROPERTY(int templateCount READ templateCount NOTIFY templateCountChanged)
  Q_PROPERTY(bool hideFileLibrary READ hideFileLibrary WRITE setHideFileLibrary NOTIFY
                 hideFileLibraryChanged)
  Q_PROPERTY(
      bool showingConvertingAlert READ showingConvertingAlert NOTIFY showingConvertingAlertChanged)
  Q_PROPERTY(QString deckName READ deckName NOTIFY deckProgressChanged)
  Q_PROPERTY(int deckDone READ deckDone NOTIFY deckProgressChanged)
  Q_PROPERTY(int deckTotal READ deckTotal NOTIFY deckProgressChanged)
  Q_PROPERTY(QStringList categoryList READ categoryList NOTIFY filterChanged)
  Q_PROPERTY(QString selectedCategory READ selectedCategory NOTIFY filterChanged)
  Q_PROPERTY(QString hoveredCategory MEMBER hoveredCategory_ NOTIFY hoveredCategoryChanged)
  Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY filterChanged)
  Q_PROPERTY(QString message READ message NOTIFY messageChanged)

 public:
  explicit FileLibraryModel(QObject* parent = nullptr);
  ~FileLibraryModel() override;

  LibraryListModel* files() { return &files_; }
  LibraryListModel* templates() { return &templates_; }
  int templateCount() const { return static_cast<int>(templateLibrary_.templateList().size()); }
  bool hideFileLibrary() const { return library_.hideFileLibrary(); }
  void setHideFileLibrary(bool hide);
  bool showingConvertingAlert() const { return library_.showingConvertingAlert(); }
  const QString& deckName() const { return deckName_; }
  int deckDone() const { return deckDone_; }
  int deckTotal() const { return deckTotal_; }
  QStringList categoryList() const { return templateLibrary_.categoryList(); }
  QString selectedCategory() const { return templateLibrary_.selectedCategory(); }
  QString searchText() const { return templateLibrary_.searchText(); }
  void setSearchText(const QString& text) { templateLibrary_.setSearchText(text); }
  const QString& message() const { return message_; }

  FileLibrary& library() { return library_; }
  TemplateLibrary& templateLibrary() { return templateLibrary_; }

  // The panel came on screen / went away.
  Q_INVOKABLE void appeared();
  Q_INVOKABLE void disappeared();
  Q_INVOKABLE void importChosenFiles(const QList<QUrl>& urls);
  Q_INVOKABLE void importChosenPaths(const QStringList& paths);
  Q_INVOKABLE bool importDroppedUrls(const QList<QUrl>& urls);
  Q_INVOKABLE void removeFile(const QString& id);
  Q_INVOKABLE void selectCategory(int index) { templateLibrary_.selectCategory(index); }
  Q_INVOKABLE void setFavorite(const QString& id, bool favorited);
  Q_INVOKABLE void cancelImport() { library_.cancelDeckImports(); }
  Q_INVOKABLE void tileClicked();
  // A tile's file as a local path, for the board.
  Q_INVOKABLE QString localPath(const QUrl& url) const { return url.toLocalFile(); }
  // A PDF tile in the browser panel's PDF viewer.
  Q_INVOKABLE void openInViewer(const QUrl& url);
  Q_INVOKABLE void dismissMessage();

 signals:
  void templateCountChanged();
  void hideFileLibraryChanged();
  void showingConvertingAlertChanged();
  void deckProgressChanged();
  void filterChanged();
  void hoveredCategoryChanged();
  void messageChanged();
  // The open panel should be shown ("OpenFiles" or the Import button).
  void importPanelRequested();
  // An imported picture is about to be pasted: the board should have the keyboard focus.
  void aboutToPaste();
  // A short word for the user, such as that a file was only copied.
  void noticeRequested(const QString& text);
  // An imported picture for the board, where no keystroke can paste it (Wayland).
  void placeOnBoardRequested(const QString& path);
  // The favourite marks could not be written; `folderMissing` when the storage folder is gone.
  void saveFailed(const QString& text, bool folderMissing);

 private:
  FileLibrary library_;
  TemplateLibrary templateLibrary_;
  LibraryListModel files_;
  LibraryListModel templates_;
  QString deckName_;
  int deckDone_ = 0;
  int deckTotal_ = 0;
  QString hoveredCategory_;
  QString message_;
  QTimer autoHide_;
};

}  // namespace dravin
