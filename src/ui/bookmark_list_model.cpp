#include "bookmark_list_model.h"

#include "jpeg_encoder.h"

namespace dravin {

BookmarkListModel::BookmarkListModel(QObject* parent) : QAbstractListModel(parent) {}

void BookmarkListModel::setItems(const QList<Bookmark>& items) {
  const bool countChanges = items.size() != items_.size();
  beginResetModel();
  items_ = items;
  QHash<QString, QString> kept;
  for (const Bookmark& item : items_)
    if (auto found = thumbnails_.constFind(item.id); found != thumbnails_.constEnd())
      kept.insert(item.id, *found);
  thumbnails_ = std::move(kept);
  endResetModel();
  if (countChanges) emit countChanged();
}

int BookmarkListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant BookmarkListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= items_.size()) return {};
  const Bookmark& item = items_[index.row()];
  switch (role) {
    case IdRole: return item.id;
    case UrlRole: return item.url;
    case NameRole: return item.name;
    case ThumbnailRole: {
      auto cached = thumbnails_.constFind(item.id);
      if (cached == thumbnails_.constEnd()) {
        // A fresh snapshot is as large as the panel; the tile needs a fraction of it.
        const QImage& image = item.thumbnailImage;
        cached = thumbnails_.insert(
            item.id,
            encodeJpegDataUrl(image.width() > kTileWidth
                                  ? image.scaledToWidth(kTileWidth, Qt::SmoothTransformation)
                                  : image));
      }
      return *cached;
    }
  }
  return {};
}

QHash<int, QByteArray> BookmarkListModel::roleNames() const {
  return {
      {IdRole, "bookmarkId"}, {UrlRole, "url"}, {NameRole, "name"}, {ThumbnailRole, "thumbnail"}};
}

}  // namespace dravin
