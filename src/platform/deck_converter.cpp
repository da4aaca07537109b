#include "deck_converter.h"

#include <poppler-qt6.h>
#include <signal.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

namespace dravin {
namespace {

using namespace std::chrono_literals;

// A hung LibreOffice (a damaged deck, a dialog it cannot show) must not block the import forever.
constexpr auto kConversionTimeout = 10min;
constexpr int kPollMs = 100;
constexpr int kMaxSlideWidth = 16384;
// Fast zlib level: slide pictures are written once and compress well enough.
constexpr int kPngCompression = 1;
constexpr qsizetype kMaxErrorDetail = 400;

// The Impress export filter refuses documents that are not presentations: where Writer is
// installed, a text document named .pptx fails instead of becoming pages of text.
const QString kPdfExport = QStringLiteral("pdf:impress_pdf_Export");

QString userName(const QString& path) {
  return QFileInfo(path).fileName();
}

QString findSoffice() {
  for (const char* name : {"soffice", "libreoffice"}) {
    const QString found = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (!found.isEmpty()) return found;
  }
  return {};
}

// The deck is reached through an ASCII link in the temporary folder: LibreOffice then neither
// misreads non-ASCII or dash-led names nor puts its lock file beside the user's deck, and the PDF
// it writes gets a name known in advance.
std::optional<QString> linkDeck(const QString& deckPath, const QDir& dir, QString* linked) {
  QString suffix = QFileInfo(deckPath).suffix().toLower();
  const bool plain = std::all_of(suffix.cbegin(), suffix.cend(), [](QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
  });
  if (!plain) suffix.clear();
  *linked = dir.filePath(suffix.isEmpty() ? QStringLiteral("deck") : "deck." + suffix);
  const QString target = QFileInfo(deckPath).absoluteFilePath();
  if (QFile::link(target, *linked) || QFile::copy(target, *linked)) return std::nullopt;
  return QStringLiteral("“%1” could not be prepared for conversion.").arg(userName(deckPath));
}

QString errorDetail(QProcess& process) {
  QString text = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
  QStringList kept;
  // javaldx warns on every run without Java; it says nothing about the deck.
  for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
    if (!line.contains(QStringLiteral("javaldx"))) kept << line.trimmed();
  }
  text = kept.join(u' ');
  if (text.size() > kMaxErrorDetail) text = text.left(kMaxErrorDetail) + u'…';
  return text;
}

// soffice is a script that starts oosplash, which starts soffice.bin: killing only the direct child
// would leave the converter running, so the whole process group goes.
void killGroup(QProcess& process) {
  const qint64 pid = process.processId();
  if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
  process.kill();
  process.waitForFinished(-1);
}

std::optional<QString> runLibreOffice(const QString& soffice, const QString& deck,
                                      const QString& outDir, const QString& profileDir,
                                      const QString& deckName, const std::atomic<bool>& cancel) {
  QProcess process;
  process.setProgram(soffice);
  process.setArguments({"-env:UserInstallation=" + QUrl::fromLocalFile(profileDir).toString(),
                        QStringLiteral("--headless"), QStringLiteral("--norestore"),
                        QStringLiteral("--nologo"), QStringLiteral("--nolockcheck"),
                        QStringLiteral("--convert-to"), kPdfExport, QStringLiteral("--outdir"),
                        outDir, deck});
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setChildProcessModifier([] { ::setpgid(0, 0); });
  process.start();
  if (!process.waitForStarted()) {
    return QStringLiteral("LibreOffice could not be started: %1").arg(process.errorString());
  }
  QElapsedTimer clock;
  clock.start();
  while (!process.waitForFinished(kPollMs)) {
    if (process.state() == QProcess::NotRunning) break;
    if (cancel.load()) {
      killGroup(process);
      return QStringLiteral("The conversion was cancelled.");
    }
    if (std::chrono::milliseconds(clock.elapsed()) >= kConversionTimeout) {
      killGroup(process);
      return QStringLiteral("LibreOffice did not finish converting “%1” within %2 minutes.")
          .arg(deckName)
          .arg(std::chrono::duration_cast<std::chrono::minutes>(kConversionTimeout).count());
    }
  }
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    const QString detail = errorDetail(process);
    return QStringLiteral("LibreOffice failed while converting “%1”.%2")
        .arg(deckName, detail.isEmpty() ? QString() : " " + detail);
  }
  // LibreOffice exits with 0 even when it cannot load the deck; only the PDF tells success.
  const QStringList pdfs = QDir(outDir).entryList({QStringLiteral("*.pdf")}, QDir::Files);
  if (pdfs.size() != 1) {
    const QString detail = errorDetail(process);
    return QStringLiteral("“%1” could not be converted; it may not be a slide deck.%2")
        .arg(deckName, detail.isEmpty() ? QString() : " " + detail);
  }
  return std::nullopt;
}

bool shouldAbort(const QVariant& closure) {
  return reinterpret_cast<const std::atomic<bool>*>(closure.value<quintptr>())->load();
}

QString slideName(const QString& baseName, int index, int total) {
  const int digits = std::max(3, static_cast<int>(QString::number(total).size()));
  return QStringLiteral("%1.%2.png").arg(baseName).arg(index + 1, digits, 10, QChar(u'0'));
}

std::optional<QString> renderPages(const QString& pdfPath, const DeckConversion& job,
                                   const QString& deckName,
                                   const std::function<void(int, int)>& progress,
                                   const std::atomic<bool>& cancel) {
  std::unique_ptr<Poppler::Document> document = Poppler::Document::load(pdfPath);
  if (!document || document->isLocked()) {
    return QStringLiteral("The slides of “%1” could not be read after conversion.").arg(deckName);
  }
  document->setRenderHint(Poppler::Document::Antialiasing);
  document->setRenderHint(Poppler::Document::TextAntialiasing);
  const int total = document->numPages();
  if (total <= 0) return QStringLiteral("“%1” has no slides.").arg(deckName);
  if (progress) progress(0, total);

  const QDir out(job.outputFolder);
  const QVariant closure = QVariant::fromValue(reinterpret_cast<quintptr>(&cancel));
  for (int i = 0; i < total; ++i) {
    if (cancel.load()) return QStringLiteral("The conversion was cancelled.");
    std::unique_ptr<Poppler::Page> page = document->page(i);
    const QSizeF points = page ? page->pageSizeF() : QSizeF();
    if (!page || points.width() <= 0 || points.height() <= 0) {
      return QStringLiteral("Slide %1 of “%2” could not be read.").arg(i + 1).arg(deckName);
    }
    const double dpi = 72.0 * job.slideWidth / points.width();
    const int height = std::max(1, static_cast<int>(std::lround(points.height() * dpi / 72.0)));
    // Fixed width and height: the page's own pixel rounding may be one pixel off the asked width.
    QImage image =
        page->renderToImage(dpi, dpi, 0, 0, job.slideWidth, height, Poppler::Page::Rotate0, nullptr,
                            nullptr, shouldAbort, closure);
    if (cancel.load()) return QStringLiteral("The conversion was cancelled.");
    if (image.isNull()) {
      return QStringLiteral("Slide %1 of “%2” could not be drawn.").arg(i + 1).arg(deckName);
    }
    // Slides are opaque; dropping the alpha channel makes smaller files.
    image = std::move(image).convertToFormat(QImage::Format_RGB888);
    const QString name = slideName(job.baseName, i, total);
    QImageWriter writer(out.filePath(name), "png");
    writer.setCompression(kPngCompression);
    if (!writer.write(image)) {
      return QStringLiteral("Slide %1 could not be saved as “%2”: %3")
          .arg(i + 1)
          .arg(name, writer.errorString());
    }
    if (progress) progress(i + 1, total);
  }
  return std::nullopt;
}

}  // namespace

std::optional<QString> convertDeck(const DeckConversion& job,
                                   const std::function<void(int done, int total)>& progress,
                                   const std::atomic<bool>& cancel) {
  const QFileInfo deck(job.deckPath);
  const QString deckName = deck.fileName();
  if (!deck.isFile() || !deck.isReadable()) {
    return QStringLiteral("The slide deck “%1” cannot be read.").arg(deckName);
  }
  // LibreOffice opens an empty file as a new, blank presentation.
  if (deck.size() == 0) return QStringLiteral("“%1” is empty.").arg(deckName);
  // The stem is joined to the output folder: a separator would write elsewhere.
  if (job.baseName.isEmpty() || job.baseName.contains(u'/') || job.baseName == u"." ||
      job.baseName == u"..") {
    return QStringLiteral("“%1” is not a usable name for slide pictures.").arg(job.baseName);
  }
  if (job.slideWidth <= 0 || job.slideWidth > kMaxSlideWidth) {
    return QStringLiteral("A slide width of %1 pixels is not possible.").arg(job.slideWidth);
  }
  if (!QDir().mkpath(job.outputFolder)) {
    return QStringLiteral("The folder “%1” could not be created.").arg(job.outputFolder);
  }
  const QString soffice = findSoffice();
  if (soffice.isEmpty()) {
    return QStringLiteral("LibreOffice is not installed, so slide decks cannot be converted.");
  }
  if (cancel.load()) return QStringLiteral("The conversion was cancelled.");

  QTemporaryDir temp(QDir::temp().filePath(QStringLiteral("dravin-deck-XXXXXX")));
  if (!temp.isValid()) return QStringLiteral("No temporary folder for the conversion.");
  const QDir tempDir(temp.path());
  const QString outDir = tempDir.filePath(QStringLiteral("pdf"));
  if (!tempDir.mkpath(QStringLiteral("pdf"))) {
    return QStringLiteral("No temporary folder for the conversion.");
  }
  QString linked;
  if (auto error = linkDeck(job.deckPath, tempDir, &linked)) return error;

  if (progress) progress(0, 0);
  if (auto error =
          runLibreOffice(soffice, linked, outDir, tempDir.filePath("profile"), deckName, cancel)) {
    return error;
  }
  const QString pdf =
      QDir(outDir).filePath(QDir(outDir).entryList({QStringLiteral("*.pdf")}, QDir::Files).first());
  return renderPages(pdf, job, deckName, progress, cancel);
}

}  // namespace dravin
