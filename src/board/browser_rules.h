#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace dravin {

// The browser panel's page rules, free of any view: what it loads, what it runs in the page,
// how it zooms and what its header says.
namespace browser {

inline const QString kSearchHomePage = QStringLiteral("https://www.startpage.com/");
inline const QString kLessonsSite = QStringLiteral("https://lessons.pelora.example/");
inline const QString kPdfViewerPath =
    QStringLiteral("/dravinboard/assets/pdfviewer/web/viewer.html");
inline const QString kPdfHeader = QStringLiteral("PDF Viewer");
inline const QString kLessonsHeader = QStringLiteral("Pelora Lessons ");
inline const QString kOfflineSuffix = QStringLiteral("(Offline)");
inline const QString kLessonsHint =
    QStringLiteral("Toggle offline mode in settings and re-open lessons.");
inline constexpr double kZoomStep = 0.1;
inline constexpr double kMinZoom = 1.0;
inline constexpr double kMaxZoom = 5.0;
inline constexpr double kMinOpacity = 0.2;
inline constexpr double kMaxOpacity = 1.0;
inline constexpr int kRequestTimeoutMs = 60000;

enum class Mode { web, pdf, lessons };

// "file=http://localhost:PORT/files/" and the path with "/" as "@@" and " " as "%20". Characters
// that would end or split the viewer's query ("%", "#", "?", "&", "+") are escaped so the viewer
// reads the path back whole.
QString pdfQueryText(const QString& path, int port);

// What the application's own pages (the board, the PDF viewer) find in their address's fragment:
// the server's port and the key its "/files/" route asks for. A fragment is never sent, neither
// in a request nor as a Referer, and these pages are local files, whose address a web engine
// never hands to another site.
QString serverAccessFragment(int port, const QString& key);

// The viewer page of `resourceFolder` asking for `path`, with the server's key.
QUrl pdfViewerUrl(const QString& resourceFolder, const QString& path, int port, const QString& key);

// The address to show and bookmark for a page: the application's own pages without their key.
QString shownAddress(const QUrl& url);

// What the address field's text loads: "https://" and "http://" addresses as typed, anything
// else behind "http://"; nothing for empty or unparsable text.
std::optional<QUrl> loadAddress(const QString& text);

// The first page of a panel opened in `mode`.
QUrl initialUrl(Mode mode, const QString& resourceFolder, const QString& pdfPath, bool offline,
                int port, const QString& key);

double zoomIn(double zoom);
double zoomOut(double zoom);

// "1.0" when inverted, "0.0" otherwise.
QString invertNumber(bool inverted);
// Run in this order after every finished navigation.
QStringList scriptsAfterNavigation(bool pdfMode, bool removeBackground, bool inverted);
QString invertChangedScript(bool inverted);
// Switching removal on restyles the page; switching it off needs a reload, so there is no script.
std::optional<QString> removalChangedScript(bool removeBackground, bool inverted);

QString headerText(Mode mode, bool offline);
QString headerHint(Mode mode);

// What the page view does with a navigation.
enum class Navigation { allow, cancel, openPdf };
// The board's rules for local files (its own page allowed, a PDF opens the PDF mode, any other
// local file refused) plus the viewer page; the web itself is allowed, since the panel is a
// browser and its page view has no bridge into the application. Other schemes are refused.
Navigation decideNavigation(const QUrl& url, bool mainFrame, const QString& resourceFolder);

}  // namespace browser
}  // namespace dravin
