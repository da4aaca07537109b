#include "paste_into_front_app.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "app_log.h"
#include "x11_keystroke.h"

namespace dravin {

PasteOutcome pasteIntoFrontApp(const LibraryFilePtr& file, DisplaySession session) {
  const QUrl url = QUrl::fromLocalFile(file->url);
  auto* data = new QMimeData;
  data->setUrls({url});
  data->setText(url.toString(QUrl::FullyEncoded));
  QGuiApplication::clipboard()->clear();
  QGuiApplication::clipboard()->setMimeData(data);
  if (session == DisplaySession::wayland) {
    logLine(QStringLiteral("Paste: copied to the clipboard; Wayland has no keystrokes to send"));
    return PasteOutcome::copiedOnly;
  }
  if (!sendPasteKeystroke()) {
    logLine("FakeKey: No event source");
    return PasteOutcome::copiedOnly;
  }
  return PasteOutcome::pasted;
}

}  // namespace dravin
