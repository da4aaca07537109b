#include "library_list_model.h"

#include <QPainter>
#include <QUrl>

#include "jpeg_encoder.h"

namespace dravin {
namespace {

QString dataUrlOnWhite(const QImage& image) {
  if (!image.hasAlphaChannel()) return encodeJpegDataUrl(image);
  QImage flat(image.size(), QImage::Format_RGB32);
  flat.fill(Qt::white);
  QPainter(&flat).drawImage(0, 0, image);
  return encodeJpegDataUrl(flat);
}

}  // namespace

LibraryListModel::LibraryListModel(QObject* parent) : QAbstractListModel(parent) {}

void LibraryListModel::setItems(const QList<LibraryFilePtr>& items) {
  const bool countChanges = items.size() != items_.size();
  beginResetModel();
  items_ = items;
  QHash<QUuid, QString> kept;
  for (const LibraryFilePtr& item : items_)
    if (auto found = thumbnails_.constFind(item->id); found != thumbnails_.constEnd())
      kept.insert(item->id, *found);
  thumbnails_ = std::move(kept);
  endResetModel();
  if (countChanges) emit countChanged();
}

LibraryFilePtr LibraryListModel::find(const QString& id) const {
  const QUuid uuid(id);
  for (const LibraryFilePtr& item : items_)
    if (item->id == uuid) return item;
  return nullptr;
}

void LibraryListModel::refresh(const LibraryFilePtr& item) {
  const qsizetype row = items_.indexOf(item);
  if (row >= 0) emit dataChanged(index(static_cast<int>(row)), index(static_cast<int>(row)));
}

int LibraryListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : count();
}

QVariant LibraryListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= items_.size()) return {};
  const LibraryFile& item = *items_[index.row()];
  switch (role) {
    case IdRole: return item.id.toString(QUuid::WithoutBraces);
    case UrlRole: return QUrl::fromLocalFile(item.url);
    case NameRole: return item.name;
    case FavoritedRole: return item.isFavorited;
    case ThumbnailRole: {
      auto cached = thumbnails_.constFind(item.id);
      if (cached == thumbnails_.constEnd())
        cached = thumbnails_.insert(item.id, dataUrlOnWhite(item.thumbnailImage));
      // Without a thumbnail of its own the tile tries the thumbnail file itself.
      return cached->isEmpty() ? QVariant(QUrl::fromLocalFile(item.thumbnail)) : QVariant(*cached);
    }
  }
  return {};
}

QHash<int, QByteArray> LibraryListModel::roleNames() const {
  return {{IdRole, "fileId"},
          {UrlRole, "fileUrl"},
          {NameRole, "name"},
          {ThumbnailRole, "thumbnail"},
          {FavoritedRole, "favorited"}};
}

}  // namespace dravin
