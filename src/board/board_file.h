#pragma once

#include <QImage>
#include <QJsonObject>
#include <QString>

namespace dravin {

// The board file (".dravinboard"): a ZIP holding board.json, the assets the document refers to
// and a thumbnail; docs/board-format.md describes it. All functions block on the disk: run them
// off the main thread when the files may be large.

inline constexpr int kBoardFileVersion = 1;
inline constexpr const char* kBoardFileSuffix = "dravinboard";

// The texts a refused file is reported with.
QString boardFileDamagedText();  // "This board file is damaged and cannot be opened."
QString boardFileNewerText();    // "This board was made by a newer version of ..."

struct BoardFileRead {
  QJsonObject document;  // the page's serialize() result
  QString error;         // empty on success
  bool ok() const { return error.isEmpty(); }
};

// Writes `document` with every asset it refers to (taken from `assetFolder`) and `thumbnail`
// (omitted when null) to `path`, through a temporary file beside it and a rename: a failed write
// leaves an earlier file whole. An existing file at `path` that is not a board this version can
// read (damaged, newer, something else) is never replaced unless `replaceUnreadable` (the user
// chose it in a save dialog). Returns an error text naming the problem (a missing or damaged
// asset by its reference; nothing is written then), empty on success.
QString writeBoardFile(const QString& path, const QJsonObject& document, const QString& assetFolder,
                       const QImage& thumbnail, bool replaceUnreadable = false);

// Reads the board at `path`, putting its assets into `assetFolder` (each checked against its
// SHA-1 and its kind; those already there are kept). A missing file is named; a damaged file,
// one with unsafe entry names or absurd sizes, and one made by a newer version are refused with
// boardFileDamagedText() / boardFileNewerText().
BoardFileRead readBoardFile(const QString& path, const QString& assetFolder);

// The thumbnail kept in the board at `path`; null when there is none or the file is no board.
QImage readBoardThumbnail(const QString& path);

}  // namespace dravin
