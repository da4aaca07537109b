#pragma once

#include <QDateTime>
#include <QString>

namespace dravin {

// "yyyyMMdd_HHmmss" of the local time, then the suffix: "20250203_090507.png".
QString makeFileName(const QString& suffix, const QDateTime& when = QDateTime::currentDateTime());

// Claims a new file in `folder` named by makeFileName, with "-2", "-3", ... before the suffix
// when that name is taken, and returns its path. The empty file is created at once, so a second
// capture in the same second can never pick the same name. Empty when the folder is unusable.
QString claimCaptureFile(const QString& folder, const QString& suffix,
                         const QDateTime& when = QDateTime::currentDateTime());

}  // namespace dravin
