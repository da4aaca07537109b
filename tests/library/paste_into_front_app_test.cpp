// The paste into the front application: the file is on the clipboard either way; on Wayland, where
// no program may type into another, the caller is told it was only copied.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>

#include "paste_into_front_app.h"

namespace dravin {
namespace {

TEST(PasteIntoFrontApp, WaylandCopiesAndSaysSo) {
  auto file = std::make_shared<LibraryFile>();
  file->url = QStringLiteral("/tmp/Class 4b/Fractions #2.png");
  file->classifyFromURL();

  // Offscreen, as on a desktop without an X display: no keystroke can be made either.
  EXPECT_EQ(pasteIntoFrontApp(file, DisplaySession::x11), PasteOutcome::copiedOnly);
  QGuiApplication::clipboard()->clear();

  EXPECT_EQ(pasteIntoFrontApp(file, DisplaySession::wayland), PasteOutcome::copiedOnly);
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(data, nullptr);
  ASSERT_EQ(data->urls().size(), 1);
  EXPECT_EQ(data->urls().first().toLocalFile(), file->url);
  // Text readers get the URL escaped, so the space and the '#' survive.
  EXPECT_EQ(data->text(), QStringLiteral("file:///tmp/Class%204b/Fractions%20%232.png"));
}

}  // namespace
}  // namespace dravin
