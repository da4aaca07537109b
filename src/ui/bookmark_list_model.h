#pragma once

#include <QtQml/qqmlregistration.h>
#include <QAbstractListModel>
#include <QHash>
#include <QList>

#include "bookmark_store.h"

namespace dravin {

// The bookmark tiles: the store's list as rows, each snapshot a small JPEG data URL made once.
class BookmarkListModel : public QAbstractListModel {
  Q_OBJECT
  QML_ELEMENT
  QML_UNCREATABLE("The list belongs to the browser panel's model")
  Q_PROPERTY(int count READ count NOTIFY countChanged)

 public:
  enum Role { IdRole = Qt::UserRole + 1, UrlRole, NameRole, ThumbnailRole };
  static constexpr int kTileWidth = 256;

  explicit BookmarkListModel(QObject* parent = nullptr);

  void setItems(const QList<Bookmark>& items);
  const QList<Bookmark>& items() const { return items_; }

  int count() const { return static_cast<int>(items_.size()); }
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QHash<int, QByteArray> roleNames() const override;

 signals:
  void countChanged();

 private:
  QList<Bookmark> items_;
  mutable QHash<QString, QString> thumbnails_;
};

}  // namespace dravin
