#include "thumbnail_service.h"

#include "serial_queue.h"
#include "thumbnailer.h"

namespace dravin {

ThumbnailService::ThumbnailService() : queue_(std::make_unique<SerialQueue>("thumbnails")) {}

ThumbnailService::~ThumbnailService() = default;

ThumbnailService& ThumbnailService::shared() {
  static ThumbnailService service;
  return service;
}

void ThumbnailService::generateThumbnail(const QString& path, Callback done) {
  queue_->dispatch([path, done = std::move(done)] { done(makeThumbnail(path)); });
}

}  // namespace dravin
