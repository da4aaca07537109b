#include "browser_rules.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace dravin::browser {

QString pdfQueryText(const QString& path, int port) {
  QString text = path;
  // The viewer decodes its query once and then reads the value as an address, so characters
  // with a meaning in addresses are escaped twice; "%" goes first so later escapes stay as made.
  text.replace(QLatin1Char('%'), QLatin1String("%2525"));
  text.replace(QLatin1Char('/'), QLatin1String("@@"));
  text.replace(QLatin1Char(' '), QLatin1String("%20"));
  text.replace(QLatin1Char('#'), QLatin1String("%2523"));
  text.replace(QLatin1Char('?'), QLatin1String("%253F"));
  text.replace(QLatin1Char('&'), QLatin1String("%26"));
  text.replace(QLatin1Char('+'), QLatin1String("%2B"));
  return QStringLiteral("file=http://localhost:%1/files/").arg(port) + text;
}

QString serverAccessFragment(int port, const QString& key) {
  return QStringLiteral("port=%1&key=%2").arg(port).arg(key);
}

QUrl pdfViewerUrl(const QString& resourceFolder, const QString& path, int port,
                  const QString& key) {
  QUrl url = QUrl::fromLocalFile(resourceFolder + kPdfViewerPath);
  url.setQuery(pdfQueryText(path, port), QUrl::TolerantMode);
  url.setFragment(serverAccessFragment(port, key));
  return url;
}

QString shownAddress(const QUrl& url) {
  if (url.isLocalFile() && url.fragment().contains(QLatin1String("key="))) {
    return url.toString(QUrl::RemoveFragment);
  }
  return url.toString();
}

std::optional<QUrl> loadAddress(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  const bool hasScheme = trimmed.startsWith(QLatin1String("https://"), Qt::CaseInsensitive) ||
                         trimmed.startsWith(QLatin1String("http://"), Qt::CaseInsensitive);
  const QUrl url(hasScheme ? trimmed : QStringLiteral("http://") + trimmed, QUrl::StrictMode);
  if (!url.isValid() || url.host().isEmpty()) return std::nullopt;
  return url;
}

QUrl initialUrl(Mode mode, const QString& resourceFolder, const QString& pdfPath, bool offline,
                int port, const QString& key) {
  switch (mode) {
    case Mode::pdf: return pdfViewerUrl(resourceFolder, pdfPath, port, key);
    case Mode::lessons:
      return offline ? QUrl(QStringLiteral("http://localhost:%1/index.html").arg(port))
                     : QUrl(kLessonsSite);
    case Mode::web: break;
  }
  return QUrl(kSearchHomePage);
}

// Steps are rounded to tenths, so repeated steps land on 1.0 again instead of 0.9999.
double zoomIn(double zoom) {
  return std::min(kMaxZoom, std::round((zoom + kZoomStep) * 10.0) / 10.0);
}

double zoomOut(double zoom) {
  return std::max(kMinZoom, std::round((zoom - kZoomStep) * 10.0) / 10.0);
}

QString invertNumber(bool inverted) {
  return inverted ? QStringLiteral("1.0") : QStringLiteral("0.0");
}

QStringList scriptsAfterNavigation(bool pdfMode, bool removeBackground, bool inverted) {
  QStringList scripts;
  if (!removeBackground && pdfMode)
    scripts.append(QStringLiteral("document.body.style.backgroundColor = 'white';"));
  scripts.append(QStringLiteral("updateInvert(%1, %2)")
                     .arg(invertNumber(inverted),
                          removeBackground ? QStringLiteral("true") : QStringLiteral("false")));
  return scripts;
}

QString invertChangedScript(bool inverted) {
  return QStringLiteral("updateInvert(%1)").arg(invertNumber(inverted));
}

std::optional<QString> removalChangedScript(bool removeBackground, bool inverted) {
  if (!removeBackground) return std::nullopt;
  return QStringLiteral("updateInvert(%1, true)").arg(invertNumber(inverted));
}

QString headerText(Mode mode, bool offline) {
  switch (mode) {
    case Mode::pdf: return kPdfHeader;
    case Mode::lessons: return offline ? kLessonsHeader + kOfflineSuffix : kLessonsHeader;
    case Mode::web: break;
  }
  return QString();
}

QString headerHint(Mode mode) {
  return mode == Mode::lessons ? kLessonsHint : QString();
}

Navigation decideNavigation(const QUrl& url, bool mainFrame, const QString& resourceFolder) {
  if (!url.isValid() || url.isEmpty()) return Navigation::cancel;
  const QString scheme = url.scheme().toLower();
  if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
    return url.host().isEmpty() ? Navigation::cancel : Navigation::allow;
  }
  if (scheme == QLatin1String("file")) {
    const QString path = QDir::cleanPath(url.path());
    if (path == QDir::cleanPath(resourceFolder + kPdfViewerPath)) return Navigation::allow;
    if (path.endsWith(QLatin1String("/dravinboard/index.html"))) return Navigation::allow;
    if (QFileInfo(path).suffix().toLower() == QLatin1String("pdf")) return Navigation::openPdf;
    return Navigation::cancel;
  }
  // Frames inside a page are built from these; a whole page is not.
  if (!mainFrame && (scheme == QLatin1String("about") || scheme == QLatin1String("data") ||
                     scheme == QLatin1String("blob"))) {
    return Navigation::allow;
  }
  return scheme == QLatin1String("about") && url.path() == QLatin1String("blank")
             ? Navigation::allow
             : Navigation::cancel;
}

}  // namespace dravin::browser
