#include "paste_into_front_app.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "app_log.h"
#include "x11_keystroke.h"

namespace dravin {

void pasteIntoFrontApp(const LibraryFilePtr& file) {
  const QUrl url = QUrl::fromLocalFile(file->url);
  auto* data = new QMimeData;
  data->setUrls({url});
  data->setText(url.toString(QUrl::FullyEncoded));
  QGuiApplication::clipboard()->clear();
  QGuiApplication::clipboard()->setMimeData(data);
  if (!sendPasteKeystroke()) logLine("FakeKey: No event source");
}

}  // namespace dravin
