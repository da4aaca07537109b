#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

#include "library_list_model.h"

namespace dravin {

class SnapshotArchive;

// The snapshot archive panel: the process's archive as tiles, collapsible, with the folder button.
class ArchiveListModel : public QObject {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(dravin::LibraryListModel* files READ files CONSTANT)
  Q_PROPERTY(bool hideArchiveList READ hideArchiveList WRITE setHideArchiveList NOTIFY
                 hideArchiveListChanged)

 public:
  explicit ArchiveListModel(QObject* parent = nullptr);
  ArchiveListModel(SnapshotArchive& archive, QObject* parent);

  LibraryListModel* files() { return &files_; }
  bool hideArchiveList() const { return hideArchiveList_; }
  void setHideArchiveList(bool hide);

  Q_INVOKABLE void appeared();
  // Shows the item beside the live picture.
  Q_INVOKABLE void open(const QString& id);
  Q_INVOKABLE void removeFile(const QString& id);
  // The storage folder in the file manager, or the alert when there is none.
  Q_INVOKABLE void openFolder();
  Q_INVOKABLE void openGifGenerator();

 signals:
  void hideArchiveListChanged();
  void alertRequested(const QString& text);

 private:
  SnapshotArchive& archive_;
  LibraryListModel files_;
  bool hideArchiveList_ = false;
};

}  // namespace dravin
