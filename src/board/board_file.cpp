#include "board_file.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <QBuffer>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryFile>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

#include "app_identity.h"
#include "atomic_write.h"
#include "board_assets.h"

namespace dravin {

namespace {

// Bounds on what a board file may hold: past them it is not a board but an attack on the disk
// or the memory (a small ZIP can unpack to gigabytes).
constexpr zip_int64_t kMaxEntries = 20000;
constexpr zip_uint64_t kMaxDocumentBytes = 64ULL * 1024 * 1024;
constexpr zip_uint64_t kMaxThumbnailBytes = 16ULL * 1024 * 1024;
constexpr zip_uint64_t kMaxAssetBytes = 1024ULL * 1024 * 1024;
constexpr zip_uint64_t kMaxTotalBytes = 4ULL * 1024 * 1024 * 1024;

const char* const kDocumentEntry = "board.json";
const char* const kThumbnailEntry = "thumbnail.png";
const QString kAssetsPrefix = QStringLiteral("assets/");
const QString kFormatName = QStringLiteral("dravinboard");

struct ZipDiscard {
  void operator()(zip_t* archive) const {
    if (archive) zip_discard(archive);
  }
};
using ZipPtr = std::unique_ptr<zip_t, ZipDiscard>;

struct ZipFileClose {
  void operator()(zip_file_t* file) const {
    if (file) zip_fclose(file);
  }
};
using ZipFilePtr = std::unique_ptr<zip_file_t, ZipFileClose>;

ZipPtr openForReading(const QString& path) {
  int error = 0;
  return ZipPtr(zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
}

// Names a reader may meet: relative, '/'-separated, no "." or ".." segment, no backslash or
// control character. Anything else could write outside the folder it is unpacked into.
bool isSafeEntryName(const QString& name) {
  if (name.isEmpty() || name.startsWith('/') || name.contains('\\')) return false;
  for (const QChar c : name) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return false;
  }
  QStringList segments = name.split('/');
  if (name.endsWith('/')) segments.removeLast();  // a folder entry
  for (const QString& segment : segments) {
    if (segment.isEmpty() || segment == QLatin1String(".") || segment == QLatin1String(".."))
      return false;
  }
  return true;
}

struct Entry {
  zip_uint64_t index = 0;
  zip_uint64_t size = 0;
};

// Every entry by name, or none when one of them is unsafe, repeated or absurdly large.
std::optional<QHash<QString, Entry>> listEntries(zip_t* archive) {
  const zip_int64_t count = zip_get_num_entries(archive, 0);
  if (count < 0 || count > kMaxEntries) return std::nullopt;
  QHash<QString, Entry> entries;
  zip_uint64_t total = 0;
  for (zip_int64_t i = 0; i < count; ++i) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0) return std::nullopt;
    if (!(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE)) return std::nullopt;
    const QString name = QString::fromUtf8(stat.name);
    if (!isSafeEntryName(name) || entries.contains(name)) return std::nullopt;
    if (stat.size > kMaxAssetBytes) return std::nullopt;
    total += stat.size;
    if (total > kMaxTotalBytes) return std::nullopt;
    entries.insert(name, {static_cast<zip_uint64_t>(i), stat.size});
  }
  return entries;
}

// Reads the entry in pieces handed to `sink`, never more than its stated size nor `limit`;
// false when it is larger, shorter or cannot be read (libzip checks the CRC at its end).
bool readEntry(zip_t* archive, const Entry& entry, zip_uint64_t limit,
               const std::function<bool(const char*, qint64)>& sink) {
  if (entry.size > limit) return false;
  ZipFilePtr file(zip_fopen_index(archive, entry.index, 0));
  if (!file) return false;
  char buffer[1 << 16];
  zip_uint64_t total = 0;
  for (;;) {
    const zip_int64_t got = zip_fread(file.get(), buffer, sizeof buffer);
    if (got < 0) return false;
    if (got == 0) break;
    total += static_cast<zip_uint64_t>(got);
    if (total > entry.size) return false;
    if (!sink(buffer, got)) return false;
  }
  return total == entry.size;
}

std::optional<QByteArray> readWhole(zip_t* archive, const Entry& entry, zip_uint64_t limit) {
  QByteArray bytes;
  if (!readEntry(archive, entry, limit, [&](const char* data, qint64 size) {
        bytes.append(data, size);
        return true;
      })) {
    return std::nullopt;
  }
  return bytes;
}

enum class Verdict { readable, missing, unreadable, damaged, newer };

struct Header {
  Verdict verdict = Verdict::damaged;
  QJsonObject document;
};

// board.json of an opened board, its format and version checked.
Header readHeader(zip_t* archive, const QHash<QString, Entry>& entries) {
  const auto found = entries.constFind(QString::fromLatin1(kDocumentEntry));
  if (found == entries.cend()) return {};
  const std::optional<QByteArray> bytes = readWhole(archive, *found, kMaxDocumentBytes);
  if (!bytes) return {};
  QJsonParseError error;
  const QJsonDocument json = QJsonDocument::fromJson(*bytes, &error);
  if (error.error != QJsonParseError::NoError || !json.isObject()) return {};
  const QJsonObject root = json.object();
  if (root.value(QStringLiteral("format")).toString() != kFormatName) return {};
  const QJsonValue version = root.value(QStringLiteral("version"));
  const double number = version.toDouble(-1);
  if (!version.isDouble() || number != static_cast<double>(static_cast<long long>(number)) ||
      number < 1) {
    return {};
  }
  // A newer file is refused before its document is looked at: its layout may be anything.
  if (number > kBoardFileVersion) return {Verdict::newer, {}};
  const QJsonValue document = root.value(QStringLiteral("document"));
  if (!document.isObject()) return {};
  return {Verdict::readable, document.toObject()};
}

// Whether the board at `path` is one this version reads: its header and every asset its
// document needs, present and matching its hash (the bytes are read, nothing is unpacked).
Verdict probe(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return Verdict::missing;
  if (!info.isFile() || !info.isReadable()) return Verdict::unreadable;
  ZipPtr archive = openForReading(path);
  if (!archive) return Verdict::damaged;
  const std::optional<QHash<QString, Entry>> entries = listEntries(archive.get());
  if (!entries) return Verdict::damaged;
  const Header header = readHeader(archive.get(), *entries);
  if (header.verdict != Verdict::readable) return header.verdict;
  for (const QString& text : assetReferencesIn(header.document)) {
    const std::optional<AssetReference> reference = parseAssetReference(text);
    if (!reference) return Verdict::damaged;
    const auto entry = entries->constFind(kAssetsPrefix + reference->fileName());
    if (entry == entries->cend()) return Verdict::damaged;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!readEntry(archive.get(), *entry, kMaxAssetBytes,
                   [&](const char* data, qint64 size) {
                     hash.addData(QByteArrayView(data, size));
                     return true;
                   }) ||
        QString::fromLatin1(hash.result().toHex()) != reference->sha1) {
      return Verdict::damaged;
    }
  }
  return Verdict::readable;
}

std::optional<QByteArray> fileSha1(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QCryptographicHash hash(QCryptographicHash::Sha1);
  if (!hash.addData(&file)) return std::nullopt;
  return hash.result().toHex();
}

// Puts the asset `name` from the board into the folder, checked against its name's hash and
// its kind. False when the board's copy is wrong.
bool extractAsset(zip_t* archive, const Entry& entry, const AssetReference& reference,
                  const QString& folder) {
  QTemporaryFile copy(folder + QStringLiteral("/.extract-XXXXXX.") + reference.ext);
  if (!copy.open()) return false;
  QCryptographicHash hash(QCryptographicHash::Sha1);
  const bool read = readEntry(archive, entry, kMaxAssetBytes, [&](const char* data, qint64 size) {
    hash.addData(QByteArrayView(data, size));
    return copy.write(data, size) == size;
  });
  if (!read || !copy.flush()) return false;
  copy.close();
  if (QString::fromLatin1(hash.result().toHex()) != reference.sha1) return false;
  if (!checkAssetContent(copy.fileName(), reference.ext, reference.fileName()).isEmpty()) {
    return false;
  }
  if (std::rename(QFile::encodeName(copy.fileName()).constData(),
                  QFile::encodeName(folder + '/' + reference.fileName()).constData()) != 0) {
    return false;
  }
  copy.setAutoRemove(false);
  return true;
}

bool syncPath(const QString& path, bool folder) {
  const int fd = ::open(QFile::encodeName(path).constData(),
                        (folder ? O_RDONLY | O_DIRECTORY : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

QString unsavedText(const QString& why) {
  return QStringLiteral("The board could not be saved: %1").arg(why);
}

// Stored as they are: they are compressed already, and deflating them again costs time for
// nothing.
bool isCompressedKind(const QString& ext) {
  return ext != QLatin1String("svg") && ext != QLatin1String("bmp");
}

}  // namespace

QString boardFileDamagedText() {
  return QStringLiteral("This board file is damaged and cannot be opened.");
}

QString boardFileNewerText() {
  return QStringLiteral(
      "This board was made by a newer version of Pelora Dravin and cannot be opened here.");
}

QString writeBoardFile(const QString& path, const QJsonObject& document, const QString& assetFolder,
                       const QImage& thumbnail, bool replaceUnreadable) {
  // Every asset is there and whole before anything is written.
  QList<AssetReference> assets;
  QSet<QString> names;
  qint64 bytesNeeded = 0;
  for (const QString& text : assetReferencesIn(document)) {
    const std::optional<AssetReference> reference = parseAssetReference(text);
    const QString file = reference ? assetFolder + '/' + reference->fileName() : QString();
    if (!reference || !QFileInfo(file).isFile()) {
      return unsavedText(QStringLiteral("the asset “%1” is missing.").arg(text));
    }
    if (names.contains(reference->fileName())) continue;
    const std::optional<QByteArray> sha1 = fileSha1(file);
    if (!sha1 || QString::fromLatin1(*sha1) != reference->sha1) {
      return unsavedText(QStringLiteral("the asset “%1” is damaged.").arg(text));
    }
    names.insert(reference->fileName());
    assets.append(*reference);
    bytesNeeded += QFileInfo(file).size();
  }

  if (!replaceUnreadable) {
    switch (probe(path)) {
      case Verdict::readable:
      case Verdict::missing: break;
      case Verdict::newer:
        return unsavedText(
            QStringLiteral("“%1” was made by a newer version of Pelora Dravin and is not replaced.")
                .arg(QFileInfo(path).fileName()));
      default:
        return unsavedText(QStringLiteral("“%1” is not a board file this version can read, so "
                                          "it is not replaced.")
                               .arg(QFileInfo(path).fileName()));
    }
  }

  QJsonObject root{
      {QStringLiteral("format"), kFormatName},
      {QStringLiteral("version"), kBoardFileVersion},
      {QStringLiteral("application"), QStringLiteral("Pelora Dravin ") + runningVersion()},
      {QStringLiteral("saved"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)},
      {QStringLiteral("document"), document}};
  const QByteArray json = QJsonDocument(root).toJson(QJsonDocument::Compact);
  QByteArray png;
  if (!thumbnail.isNull()) {
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    thumbnail.save(&buffer, "PNG");
  }
  bytesNeeded += json.size() + png.size();

  const QString folder = QFileInfo(path).absolutePath();
  if (!QFileInfo(folder).isDir()) {
    return unsavedText(QStringLiteral("the folder “%1” does not exist.").arg(folder));
  }
  const QString temporary = siblingWorkPath(path, QStringLiteral("save"));
  const QByteArray temporaryName = QFile::encodeName(temporary);
  int openError = 0;
  zip_t* archive = zip_open(temporaryName.constData(), ZIP_CREATE | ZIP_EXCL, &openError);
  if (!archive) {
    zip_error_t error;
    zip_error_init_with_code(&error, openError);
    const QString why = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return unsavedText(writeFailureText(folder, bytesNeeded, why));
  }
  auto fail = [&](const QString& why) {
    zip_discard(archive);
    QFile::remove(temporary);
    return unsavedText(writeFailureText(folder, bytesNeeded, why));
  };
  auto add = [&](const QString& name, zip_source_t* source, bool compress) {
    if (!source) return false;
    const zip_int64_t index =
        zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
      zip_source_free(source);
      return false;
    }
    return zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                    compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0) == 0;
  };
  // The buffers stay alive until zip_close, which reads them.
  if (!add(QString::fromLatin1(kDocumentEntry),
           zip_source_buffer(archive, json.constData(), static_cast<zip_uint64_t>(json.size()), 0),
           true)) {
    return fail(QString::fromUtf8(zip_strerror(archive)));
  }
  if (!png.isEmpty() &&
      !add(QString::fromLatin1(kThumbnailEntry),
           zip_source_buffer(archive, png.constData(), static_cast<zip_uint64_t>(png.size()), 0),
           false)) {
    return fail(QString::fromUtf8(zip_strerror(archive)));
  }
  for (const AssetReference& asset : assets) {
    const QByteArray file = QFile::encodeName(assetFolder + '/' + asset.fileName());
    if (!add(kAssetsPrefix + asset.fileName(), zip_source_file(archive, file.constData(), 0, 0),
             !isCompressedKind(asset.ext))) {
      return fail(QString::fromUtf8(zip_strerror(archive)));
    }
  }
  if (zip_close(archive) != 0) return fail(QString::fromUtf8(zip_strerror(archive)));

  // On the disk before it takes the old file's place, so a crash cannot leave an empty board.
  if (!syncPath(temporary, false)) {
    QFile::remove(temporary);
    return unsavedText(
        writeFailureText(folder, bytesNeeded, QStringLiteral("it could not be written")));
  }
  if (std::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
    QFile::remove(temporary);
    return unsavedText(QStringLiteral("“%1” could not be replaced.").arg(path));
  }
  syncPath(folder, true);
  return {};
}

BoardFileRead readBoardFile(const QString& path, const QString& assetFolder) {
  const QFileInfo info(path);
  if (!info.exists()) return {{}, QStringLiteral("The board file “%1” does not exist.").arg(path)};
  if (!info.isFile() || !info.isReadable()) {
    return {{}, QStringLiteral("The board file “%1” cannot be read.").arg(path)};
  }
  ZipPtr archive = openForReading(path);
  if (!archive) return {{}, boardFileDamagedText()};
  const std::optional<QHash<QString, Entry>> entries = listEntries(archive.get());
  if (!entries) return {{}, boardFileDamagedText()};
  Header header = readHeader(archive.get(), *entries);
  if (header.verdict == Verdict::newer) return {{}, boardFileNewerText()};
  if (header.verdict != Verdict::readable) return {{}, boardFileDamagedText()};

  if (!QDir().mkpath(assetFolder)) {
    return {{}, QStringLiteral("The board's folder “%1” cannot be made.").arg(assetFolder)};
  }
  QSet<QString> done;
  for (const QString& text : assetReferencesIn(header.document)) {
    const std::optional<AssetReference> reference = parseAssetReference(text);
    if (!reference) return {{}, boardFileDamagedText()};
    const QString name = reference->fileName();
    if (done.contains(name)) continue;
    done.insert(name);
    const auto entry = entries->constFind(kAssetsPrefix + name);
    const QFileInfo kept(assetFolder + '/' + name);
    // Same name, same hash: a kept file of the right size is the same bytes.
    if (kept.isFile() &&
        (entry == entries->cend() || static_cast<zip_uint64_t>(kept.size()) == entry->size)) {
      continue;
    }
    if (entry == entries->cend() || !extractAsset(archive.get(), *entry, *reference, assetFolder)) {
      return {{}, boardFileDamagedText()};
    }
  }
  return {header.document, {}};
}

QImage readBoardThumbnail(const QString& path) {
  ZipPtr archive = openForReading(path);
  if (!archive) return {};
  const std::optional<QHash<QString, Entry>> entries = listEntries(archive.get());
  if (!entries) return {};
  const auto entry = entries->constFind(QString::fromLatin1(kThumbnailEntry));
  if (entry == entries->cend()) return {};
  const std::optional<QByteArray> bytes = readWhole(archive.get(), *entry, kMaxThumbnailBytes);
  if (!bytes) return {};
  return QImage::fromData(*bytes, "PNG");
}

}  // namespace dravin
