#pragma once

#include <QImage>
#include <QJsonValue>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace dravin {

// A reference to an asset as the board document stores it: "asset:<sha1>.<ext>", or
// "asset:<sha1>.pdf#<n>" for page n (1-based) of a PDF asset.
struct AssetReference {
  QString sha1;  // 40 lowercase hex digits
  QString ext;   // lowercase, one of kAssetExtensions
  int page = 0;  // 1-based page of a PDF; 0 for the whole file

  QString fileName() const { return sha1 + '.' + ext; }
  QString text() const;  // back to the reference string
};

inline const QStringList kAssetExtensions{"png", "jpg", "jpeg", "gif", "svg", "webp", "bmp", "pdf"};

// The reference `text` stands for; none for anything else, unknown extensions and page 0
// included, and for a page on a file that is not a PDF.
std::optional<AssetReference> parseAssetReference(const QString& text);

// Every string anywhere in `tree` (objects and arrays walked through) that has the form of a
// reference, as the board's contract defines it; nothing else of the tree counts.
QSet<QString> assetReferencesIn(const QJsonValue& tree);

// What an import gives: a reference, or an error for the user.
struct AssetImport {
  QString reference;  // "asset:<sha1>.<ext>"; for a PDF the file, to which "#<n>" adds a page
  int pageCount = 0;  // PDF imports only
  QString error;      // empty on success
  bool ok() const { return error.isEmpty(); }
};

struct AssetListImport {
  QStringList references;
  QString error;
  bool ok() const { return error.isEmpty(); }
};

// The folder of assets kept by content: each file named by the SHA-1 of its bytes and its
// extension, written once through a temporary file and a rename, so an import is atomic and
// importing the same bytes again changes nothing. Safe to use from several threads at once.
class BoardAssets {
 public:
  explicit BoardAssets(QString folder) : folder_(std::move(folder)) {}

  // $XDG_CACHE_HOME/pelora-dravin/board-assets.
  static QString defaultFolder();

  const QString& folder() const { return folder_; }

  // The file at `path`, whose name must end in one of the asset extensions. Pictures must
  // decode as pictures and PDFs open as PDFs: a file that does not is refused, whatever its name.
  AssetImport importFile(const QString& path) const;
  // `image` as a PNG.
  AssetImport importImage(const QImage& image) const;
  // A PDF; the answer holds its page count.
  AssetImport importPdf(const QString& path) const;
  // The PNG pictures of a converted slide deck in the folder, in ascending order of their names.
  AssetListImport importSlideFolder(const QString& folder) const;

  // The file of `reference` (of its PDF for a page reference), empty for a malformed reference.
  // The file need not exist.
  QString pathOf(const QString& reference) const;
  QString pathOf(const AssetReference& reference) const;

 private:
  AssetImport importChecked(const QString& path, const QString& ext) const;

  QString folder_;
};

// Empty when the file at `path` is what `ext` says (a picture that decodes, an SVG that parses,
// a PDF that opens); otherwise an error for the user naming `displayName`.
QString checkAssetContent(const QString& path, const QString& ext, const QString& displayName);

}  // namespace dravin
