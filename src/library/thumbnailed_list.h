#pragma once

#include <QList>
#include <functional>
#include <memory>

#include "library_file.h"

namespace dravin {

class ThumbnailService;

// Gives each item its thumbnail, one request at a time and in list order, so a long list fills in
// progressively without flooding the service and a later import is not kept waiting behind it.
// `onItem` receives, on the main thread, each item whose thumbnail was made; items without a
// thumbnail file or whose thumbnail fails are left out. `onFinished` follows the last one.
// Dropping the returned handle on the main thread stops the walk: nothing is called after that.
class ThumbnailedList {
 public:
  using Handle = std::shared_ptr<void>;

  static Handle build(ThumbnailService& service, QList<LibraryFilePtr> items,
                      std::function<void(const LibraryFilePtr&)> onItem,
                      std::function<void()> onFinished);
};

// Makes one item's thumbnail and hands the item, with thumbnailImage set, to `onReady` on the main
// thread while `owner` is alive there; nothing happens when the thumbnail fails.
void requestThumbnail(ThumbnailService& service, std::weak_ptr<void> owner,
                      const LibraryFilePtr& item,
                      std::function<void(const LibraryFilePtr&)> onReady);

// Whether the item names an existing thumbnail file (folders do not count).
bool hasThumbnailFile(const LibraryFile& item);

}  // namespace dravin
