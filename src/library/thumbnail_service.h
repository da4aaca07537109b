#pragma once

#include <QImage>
#include <QString>
#include <functional>
#include <memory>

namespace dravin {

class SerialQueue;

// The one thumbnail generator of the application: requests are drawn one after another on its own
// thread, and every callback runs there, with the picture or a null image.
class ThumbnailService {
 public:
  using Callback = std::function<void(const QImage&)>;

  ThumbnailService();
  ~ThumbnailService();  // finishes the requests already made
  ThumbnailService(const ThumbnailService&) = delete;
  ThumbnailService& operator=(const ThumbnailService&) = delete;

  static ThumbnailService& shared();

  void generateThumbnail(const QString& path, Callback done);

 private:
  std::unique_ptr<SerialQueue> queue_;
};

}  // namespace dravin
