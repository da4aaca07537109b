#pragma once

#include <QImage>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantList>
#include <atomic>
#include <functional>
#include <memory>

namespace dravin {

class BoardBridge;

// The board as a document on disk: which file it is, saving it a few seconds after each change
// and at quit, opening the one that was open at the last start, and what is put on it (pictures,
// PDFs, slide decks, the camera picture) or taken from it (PDF and PNG exports). Talks to the
// page only through the bridge's requests.
class BoardSession : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString boardName READ boardName NOTIFY boardFileChanged)
  Q_PROPERTY(bool busy READ busy NOTIFY progressChanged)
  Q_PROPERTY(QString progressText READ progressText NOTIFY progressChanged)
  Q_PROPERTY(double progress READ progress NOTIFY progressChanged)

 public:
  // Every operation ends by calling its `Done` once, with an empty text or what went wrong.
  using Done = std::function<void(const QString& error)>;

  explicit BoardSession(BoardBridge& bridge, QObject* parent = nullptr);
  ~BoardSession() override;

  // Boards live in `boardsFolder` (known once a storage folder is granted); pictures and pages
  // are kept by content in `assetsFolder`.
  void setFolders(const QString& boardsFolder, const QString& assetsFolder);
  // The camera picture as it is on screen (frozen when frozen), the size of the board view;
  // null when there is none.
  std::function<QImage()> pictureAsSeen;

  void openOnBoard(const QString& path, bool asBackground, Done done);
  void newPage(Done done);
  void nextPage(Done done);
  void previousPage(Done done);
  void keepPicture(Done done);
  // An empty path saves into the board's own file.
  void save(const QString& path, Done done);
  void openBoard(const QString& path, Done done);
  void newBoard(Done done);
  // ".pdf": every page; ".png": the current page.
  void exportBoard(const QString& path, Done done);
  // Writes what changed since the last save before the application ends.
  void saveBeforeQuit();

  QString boardName() const;
  QString boardPath() const { return boardPath_; }
  bool busy() const { return !progressText_.isEmpty(); }
  QString progressText() const { return progressText_; }
  double progress() const { return progress_; }

  // For the views: the same operations, their failures shown as alerts.
  Q_INVOKABLE void openOnBoard(const QString& path) { openOnBoard(path, false, alertOnFailure()); }
  Q_INVOKABLE void openBoard(const QString& path) { openBoard(path, alertOnFailure()); }
  Q_INVOKABLE void newBoard() { newBoard(alertOnFailure()); }
  Q_INVOKABLE void nextPage() { nextPage(alertOnFailure()); }
  Q_INVOKABLE void previousPage() { previousPage(alertOnFailure()); }
  Q_INVOKABLE void keepPicture() { keepPicture(alertOnFailure()); }
  // Saves into the board's own file and says so.
  Q_INVOKABLE void saveNow();
  // Saves under `name` in the boards folder.
  Q_INVOKABLE void saveAs(const QString& name);
  // Exports into the pictures folder: the board as PDF, or the current page as PNG.
  Q_INVOKABLE void exportAs(const QString& kind);
  // The saved boards, newest first: {name, path, thumbnail (a file URL or ""), modified, current}.
  Q_INVOKABLE QVariantList boardList();

 signals:
  void boardFileChanged();
  void progressChanged();
  void alertRequested(const QString& text);
  // Something was saved or exported where the user should be told: the text says where.
  void noticeRequested(const QString& text);
  // The page strip asked for the list of boards or a name to save under.
  void openListRequested();
  void saveAsRequested();
  void exportRequested();

 private:
  Done alertOnFailure();
  void onBoardChanged();
  void onPageLoaded();
  void onCommand(const QString& command);
  void autosave();
  void writeDocument(const QString& path, const QJsonObject& document, Done done);
  void loadDocument(const QString& path, bool remember, Done done);
  void startFresh();
  void setBoardPath(const QString& path);
  QString newBoardPath(const QString& name) const;
  void setProgress(const QString& text, double fraction);
  void pageCall(const QString& method, const QVariantList& args, Done done);
  // The items of `pages` as SVG, asked of the page one after another.
  void collectPageSvgs(QList<int> pages, QStringList svgs,
                       std::function<void(const QStringList& svgs, const QString& error)> done);

  BoardBridge& bridge_;
  QString boardsFolder_;
  QString assetsFolder_;
  // Set when the session goes: a deck still converting for the board stops.
  std::shared_ptr<std::atomic<bool>> closing_ = std::make_shared<std::atomic<bool>>(false);
  QString boardPath_;
  QString progressText_;
  double progress_ = 0;
  QTimer autosaveTimer_;
  bool dirty_ = false;
  bool saving_ = false;
  bool restored_ = false;
  // A board that could not be read is never written over: the next save goes to a new file.
  QString unreadablePath_;
};

}  // namespace dravin
