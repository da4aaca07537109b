#pragma once

#include <QByteArray>
#include <QString>

namespace dravin {

// Replaces the file at `path` with `bytes` through a temporary file beside it, so a failed or
// interrupted write leaves the old file whole and no temporary behind. Returns an error text,
// "the disk is full" when that is why, empty on success.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// Copies `source` over `destination` the same way: the old destination stays until the copy is
// complete. Returns an error text as above, empty on success.
QString copyFileAtomically(const QString& source, const QString& destination);

// What a failed write of `needed` bytes into `folder` comes to for the user: "the disk is full"
// when it is, `error` otherwise.
QString writeFailureText(const QString& folder, qint64 needed, const QString& error);

// A hidden, unused name beside `path` for work in progress ("." + name + "." + purpose + random):
// library scans skip it, and a rename moves it into place.
QString siblingWorkPath(const QString& path, const QString& purpose);

}  // namespace dravin
