#include "thumbnailed_list.h"

#include <QFileInfo>

#include "serial_queue.h"
#include "thumbnail_service.h"

namespace dravin {
namespace {

// Only the main thread locks these weak pointers, and owners drop theirs there: a callback either
// runs while its owner lives or not at all.
struct Walk {
  ThumbnailService* service = nullptr;
  QList<LibraryFilePtr> items;
  qsizetype next = 0;
  std::function<void(const LibraryFilePtr&)> onItem;
  std::function<void()> onFinished;

  static void step(const std::weak_ptr<Walk>& handle) {
    std::shared_ptr<Walk> walk = handle.lock();
    if (!walk) return;
    while (walk->next < walk->items.size() && !hasThumbnailFile(*walk->items[walk->next]))
      ++walk->next;
    if (walk->next == walk->items.size()) {
      walk->onFinished();
      return;
    }
    const LibraryFilePtr item = walk->items[walk->next++];
    walk->service->generateThumbnail(item->thumbnail, [handle, item](const QImage& image) {
      onMainThread([handle, item, image] {
        std::shared_ptr<Walk> current = handle.lock();
        if (!current) return;
        if (!image.isNull()) {
          item->thumbnailImage = image;
          current->onItem(item);
        }
        step(handle);
      });
    });
  }
};

}  // namespace

ThumbnailedList::Handle ThumbnailedList::build(ThumbnailService& service,
                                               QList<LibraryFilePtr> items,
                                               std::function<void(const LibraryFilePtr&)> onItem,
                                               std::function<void()> onFinished) {
  auto walk = std::make_shared<Walk>();
  walk->service = &service;
  walk->items = std::move(items);
  walk->onItem = std::move(onItem);
  walk->onFinished = std::move(onFinished);
  // Started from the event loop, so the caller holds the handle before anything is reported.
  onMainThread([handle = std::weak_ptr<Walk>(walk)] { Walk::step(handle); });
  return walk;
}

void requestThumbnail(ThumbnailService& service, std::weak_ptr<void> owner,
                      const LibraryFilePtr& item,
                      std::function<void(const LibraryFilePtr&)> onReady) {
  service.generateThumbnail(item->thumbnail, [owner, item, onReady](const QImage& image) {
    if (image.isNull()) return;
    onMainThread([owner, item, image, onReady] {
      if (owner.expired()) return;
      item->thumbnailImage = image;
      onReady(item);
    });
  });
}

bool hasThumbnailFile(const LibraryFile& item) {
  if (item.thumbnail.isEmpty()) return false;
  const QFileInfo info(item.thumbnail);
  return info.exists() && !info.isDir();
}

}  // namespace dravin
