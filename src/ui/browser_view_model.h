#pragma once

#include <QtQml/qqmlregistration.h>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include "bookmark_list_model.h"
#include "bookmark_store.h"
#include "browser_rules.h"

namespace dravin {

// The browser panel's state: the page it was opened for, its address field and history buttons,
// the board layer's annotation, transparency, the page styling toggles, zoom and bookmarks. The
// page view runs what this model asks for (scriptRequested, loadRequested...) and reports its
// navigations back. A new model is made for every opening of the panel; transparency and the
// toggles carry over to the next one.
class BrowserViewModel : public QObject {
  Q_OBJECT
  QML_ELEMENT

  // The "OpenBrowser" user info: "pdfMode", "pdfPath", "lessonsMode".
  Q_PROPERTY(QVariantMap request READ request WRITE setRequest NOTIFY requestChanged)
  Q_PROPERTY(bool offline READ offline WRITE setOffline NOTIFY offlineChanged)
  Q_PROPERTY(bool pdfMode READ pdfMode NOTIFY requestChanged)
  Q_PROPERTY(bool lessonsMode READ lessonsMode NOTIFY requestChanged)
  Q_PROPERTY(QUrl initialUrl READ initialUrl NOTIFY initialUrlChanged)
  Q_PROPERTY(QString headerText READ headerText NOTIFY headerChanged)
  Q_PROPERTY(QString headerHint READ headerHint NOTIFY headerChanged)

  Q_PROPERTY(QString preAddress READ preAddress WRITE setPreAddress NOTIFY preAddressChanged)
  Q_PROPERTY(QString address READ address NOTIFY addressChanged)
  Q_PROPERTY(bool canGoBack READ canGoBack NOTIFY historyChanged)
  Q_PROPERTY(bool canGoForward READ canGoForward NOTIFY historyChanged)
  Q_PROPERTY(double zoom READ zoom NOTIFY zoomChanged)

  Q_PROPERTY(double opacityValue READ opacityValue WRITE setOpacityValue NOTIFY opacityValueChanged)
  Q_PROPERTY(bool showPopoverSettings READ showPopoverSettings WRITE setShowPopoverSettings NOTIFY
                 showPopoverSettingsChanged)
  Q_PROPERTY(bool showBookmark READ showBookmark WRITE setShowBookmark NOTIFY showBookmarkChanged)
  Q_PROPERTY(bool enableAnnotation READ enableAnnotation WRITE setEnableAnnotation NOTIFY
                 enableAnnotationChanged)
  Q_PROPERTY(bool enableRemoveBackground READ enableRemoveBackground WRITE setEnableRemoveBackground
                 NOTIFY enableRemoveBackgroundChanged)
  Q_PROPERTY(bool inverted READ inverted WRITE setInverted NOTIFY invertedChanged)

  // The page-style script the page view injects into every frame, and the board page in its
  // overlay mode for the layer over the page.
  Q_PROPERTY(QString pageStyleScript READ pageStyleScript CONSTANT)
  Q_PROPERTY(QUrl overlayBoardUrl READ overlayBoardUrl CONSTANT)
  Q_PROPERTY(BookmarkListModel* bookmarks READ bookmarks CONSTANT)

 public:
  explicit BrowserViewModel(QObject* parent = nullptr);
  // Tests give their own resources, server port and key, and thumbnail service.
  BrowserViewModel(QString resourceFolder, int port, QString key, ThumbnailService& thumbnails,
                   QObject* parent = nullptr);

  QVariantMap request() const { return request_; }
  void setRequest(const QVariantMap& request);
  bool offline() const { return offline_; }
  void setOffline(bool offline);
  bool pdfMode() const { return mode_ == browser::Mode::pdf; }
  bool lessonsMode() const { return mode_ == browser::Mode::lessons; }
  browser::Mode mode() const { return mode_; }
  QUrl initialUrl() const;
  QString headerText() const { return browser::headerText(mode_, offline_); }
  QString headerHint() const { return browser::headerHint(mode_); }

  QString preAddress() const { return preAddress_; }
  void setPreAddress(const QString& text);
  QString address() const { return address_; }
  bool canGoBack() const { return canGoBack_; }
  bool canGoForward() const { return canGoForward_; }
  double zoom() const { return zoom_; }

  double opacityValue() const;
  void setOpacityValue(double value);
  bool showPopoverSettings() const { return showPopoverSettings_; }
  void setShowPopoverSettings(bool show);
  bool showBookmark() const { return showBookmark_; }
  void setShowBookmark(bool show);
  bool enableAnnotation() const { return enableAnnotation_; }
  void setEnableAnnotation(bool enable);
  bool enableRemoveBackground() const;
  void setEnableRemoveBackground(bool enable);
  bool inverted() const;
  void setInverted(bool inverted);

  QString pageStyleScript() const;
  QUrl overlayBoardUrl() const;
  BookmarkListModel* bookmarks() { return &bookmarkTiles_; }
  BookmarkStore& bookmarkStore() { return bookmarkStore_; }

  // The address field's Enter, a bookmark's tile: loads through the address rule.
  Q_INVOKABLE bool loadAddress(const QString& text);
  Q_INVOKABLE void goHome();
  Q_INVOKABLE void zoomIn();
  Q_INVOKABLE void zoomOut();
  Q_INVOKABLE void openBookmark(const QString& url);
  Q_INVOKABLE void removeBookmark(const QString& id);
  Q_INVOKABLE void loadBookmarks();

  // The page view's reports.
  Q_INVOKABLE bool acceptNavigation(const QUrl& url, bool mainFrame);
  Q_INVOKABLE void navigationFinished(const QUrl& url, bool canGoBack, bool canGoForward);
  Q_INVOKABLE void navigationFailed(const QString& error);
  Q_INVOKABLE void boardLayerLoaded();
  // The board layer stays on its own page; a local PDF dropped or linked there opens as the page
  // view's would.
  Q_INVOKABLE bool acceptBoardLayerNavigation(const QUrl& url);

  // "Bookmark this page": a snapshot of `pageView` as it shows now; the page's title (a title
  // that only repeats the address counts as none). Nothing is added when no snapshot comes.
  Q_INVOKABLE void addBookmark(QQuickItem* pageView, const QString& title);
  // The same with the snapshot already taken.
  bool addBookmarkWithSnapshot(const QString& title, const QImage& snapshot, QSize containerSize);

 signals:
  void requestChanged();
  void offlineChanged();
  void initialUrlChanged();
  void headerChanged();
  void preAddressChanged();
  void addressChanged();
  void historyChanged();
  void zoomChanged();
  void opacityValueChanged();
  void showPopoverSettingsChanged();
  void showBookmarkChanged();
  void enableAnnotationChanged();
  void enableRemoveBackgroundChanged();
  void invertedChanged();

  // For the page view: go to `url`, run `script`, reload.
  void loadRequested(const QUrl& url);
  void scriptRequested(const QString& script);
  void reloadRequested();
  // For the board layer over the page.
  void boardScriptRequested(const QString& script);
  // A bookmark was added (true) or its snapshot could not be had (false).
  void bookmarkAdded(bool added);
  // A bookmark or the list could not be written; `folderMissing` when the storage folder is gone.
  void saveFailed(const QString& text, bool folderMissing);

 private:
  void syncBookmarks();

  QString resourceFolder_;
  int port_;
  QString key_;
  QVariantMap request_;
  browser::Mode mode_ = browser::Mode::web;
  QString pdfPath_;
  bool offline_ = false;
  QString preAddress_;
  QString address_;
  bool canGoBack_ = false;
  bool canGoForward_ = false;
  double zoom_ = 1.0;
  bool showPopoverSettings_ = false;
  bool showBookmark_ = false;
  bool enableAnnotation_ = false;
  BookmarkStore bookmarkStore_;
  BookmarkListModel bookmarkTiles_;
};

}  // namespace dravin
