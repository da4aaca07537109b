#pragma once

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include "library_file.h"

namespace dravin {

// One library list as rows of tiles. The thumbnails reach the view as JPEG data URLs on white,
// made once per item.
class LibraryListModel : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("Lists belong to the library panel's model")
  Q_PROPERTY(int count READ count NOTIFY countChanged)

 public:
  enum Role { IdRole = Qt::UserRole + 1, UrlRole, NameRole, ThumbnailRole, FavoritedRole };

  explicit LibraryListModel(QObject* parent = nullptr);

  void setItems(const QList<LibraryFilePtr>& items);
  const QList<LibraryFilePtr>& items() const { return items_; }
  LibraryFilePtr find(const QString& id) const;
  // The row of `item` shows changed marks.
  void refresh(const LibraryFilePtr& item);

  int count() const { return static_cast<int>(items_.size()); }
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

 signals:
  void countChanged();

 private:
  QList<LibraryFilePtr> items_;
  mutable QHash<QUuid, QString> thumbnails_;
};

}  // namespace dravin
