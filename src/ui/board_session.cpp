#include "board_session.h"

#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QPointer>
#include <QSettings>
#include <QThreadPool>
#include <QUrl>
#include <memory>

#include "app_log.h"
#include "board_bridge.h"
#include "board_export.h"
#include "board_exporter.h"
#include "board_file.h"
#include "board_import.h"
#include "serial_queue.h"
#include "user_texts.h"

namespace dravin {

namespace {

// A change is on disk within this and the time a save takes: a crash loses less than 10 s.
constexpr int kAutosaveDelayMs = 4000;
const QString kLastBoardKey = QStringLiteral("board/lastFile");
const QString kBoardSuffix = QStringLiteral(".dravinboard");

QSettings appSettings() {
  return QSettings(QStringLiteral("Pelora"), QStringLiteral("Dravin"));
}

// Runs `work` on the thread pool and `then` with its result on the main thread, unless the
// session is gone by then.
template <typename Work, typename Then>
void offMainThread(QObject* owner, Work work, Then then) {
  QPointer<QObject> guard(owner);
  QThreadPool::globalInstance()->start([guard, work = std::move(work), then = std::move(then)] {
    auto result = std::make_shared<decltype(work())>(work());
    onMainThread([guard, result, then] {
      if (guard) then(std::move(*result));
    });
  });
}

}  // namespace

BoardSession::BoardSession(BoardBridge& bridge, QObject* parent)
    : QObject(parent), bridge_(bridge) {
  autosaveTimer_.setSingleShot(true);
  autosaveTimer_.setInterval(kAutosaveDelayMs);
  connect(&autosaveTimer_, &QTimer::timeout, this, &BoardSession::autosave);
  connect(&bridge_, &BoardBridge::boardChanged, this, &BoardSession::onBoardChanged);
  connect(&bridge_, &BoardBridge::pageLoaded, this, &BoardSession::onPageLoaded);
  connect(&bridge_, &BoardBridge::boardCommandRequested, this, &BoardSession::onCommand);
  connect(&bridge_, &BoardBridge::openOnBoardRequested, this,
          [this](const QStringList& paths, bool asBackground) {
            for (const QString& path : paths) openOnBoard(path, asBackground, alertOnFailure());
          });
}

BoardSession::~BoardSession() {
  *closing_ = true;
}

void BoardSession::setFolders(const QString& boardsFolder, const QString& assetsFolder) {
  boardsFolder_ = boardsFolder;
  assetsFolder_ = assetsFolder;
  QDir().mkpath(assetsFolder_);
  if (bridge_.pageReady()) onPageLoaded();
}

QString BoardSession::boardName() const {
  return boardPath_.isEmpty() ? QStringLiteral("New board")
                              : QFileInfo(boardPath_).completeBaseName();
}

BoardSession::Done BoardSession::alertOnFailure() {
  QPointer<BoardSession> self(this);
  return [self](const QString& error) {
    if (self && !error.isEmpty()) emit self->alertRequested(error);
  };
}

void BoardSession::setProgress(const QString& text, double fraction) {
  progressText_ = text;
  progress_ = fraction;
  emit progressChanged();
}

void BoardSession::setBoardPath(const QString& path) {
  if (boardPath_ == path) return;
  boardPath_ = path;
  if (!path.isEmpty()) appSettings().setValue(kLastBoardKey, path);
  emit boardFileChanged();
}

QString BoardSession::newBoardPath(const QString& name) const {
  const QString base = boardsFolder_ + QLatin1Char('/') + name;
  QString path = base + kBoardSuffix;
  for (int n = 2; QFileInfo::exists(path); ++n) {
    path = base + QStringLiteral(" (%1)").arg(n) + kBoardSuffix;
  }
  return path;
}

void BoardSession::pageCall(const QString& method, const QVariantList& args, Done done) {
  bridge_.request(method, args, [done](const QVariant& result, const QString& error) {
    if (!error.isEmpty()) return done(error);
    // The page answers false when there is nothing to go to, a text when it refused.
    if (result.typeId() == QMetaType::QString) return done(result.toString());
    done(QString());
  });
}

// ---- Restoring and saving -----------------------------------------------------------------

void BoardSession::onPageLoaded() {
  if (boardsFolder_.isEmpty() || !bridge_.pageReady()) return;
  // At start the board of the last run; a page loaded again later (its process ended and it was
  // reloaded) starts empty and gets the board back as last saved, which an autosave of the empty
  // page would otherwise replace.
  const QString board = restored_ ? boardPath_ : appSettings().value(kLastBoardKey).toString();
  restored_ = true;
  if (board.isEmpty() || !QFileInfo::exists(board)) return;
  dirty_ = false;
  autosaveTimer_.stop();
  QPointer<BoardSession> self(this);
  loadDocument(board, true, [self](const QString& error) {
    if (!self || error.isEmpty()) return;
    logLine(QStringLiteral("The last board could not be opened: ") + error);
    emit self->alertRequested(error);
  });
}

void BoardSession::onBoardChanged() {
  dirty_ = true;
  if (!saving_ && !autosaveTimer_.isActive()) autosaveTimer_.start();
}

void BoardSession::autosave() {
  if (!dirty_ || saving_ || boardsFolder_.isEmpty()) return;
  QPointer<BoardSession> self(this);
  save(QString(), [self](const QString& error) {
    if (!self || error.isEmpty()) return;
    logLine(QStringLiteral("The board could not be saved: ") + error);
    emit self->alertRequested(QStringLiteral("The board could not be saved: ") + error);
  });
}

void BoardSession::save(const QString& path, Done done) {
  if (boardsFolder_.isEmpty()) return done(texts::kSaveGuard);
  if (saving_) {
    // One save at a time; this one follows when the running one ends.
    QPointer<BoardSession> self(this);
    QTimer::singleShot(200, this, [self, path, done] {
      if (self) self->save(path, done);
    });
    return;
  }
  QString target = path.isEmpty() ? boardPath_ : path;
  if (target.isEmpty() || target == unreadablePath_) {
    target = newBoardPath(
        QDateTime::currentDateTime().toString(QStringLiteral("'Board' yyyy-MM-dd HH.mm")));
  }
  saving_ = true;
  const bool wasDirty = dirty_;
  dirty_ = false;
  QPointer<BoardSession> self(this);
  bridge_.request(QStringLiteral("serialize"), {},
                  [self, target, done, wasDirty](const QVariant& result, const QString& error) {
                    if (!self) return;
                    if (!error.isEmpty()) {
                      self->saving_ = false;
                      self->dirty_ = self->dirty_ || wasDirty;
                      return done(error);
                    }
                    self->writeDocument(target, QJsonObject::fromVariantMap(result.toMap()),
                                        [self, target, done, wasDirty](const QString& failure) {
                                          if (!self) return;
                                          self->saving_ = false;
                                          if (failure.isEmpty()) {
                                            self->setBoardPath(target);
                                          } else {
                                            self->dirty_ = self->dirty_ || wasDirty;
                                          }
                                          if (self->dirty_) self->autosaveTimer_.start();
                                          done(failure);
                                        });
                  });
}

void BoardSession::writeDocument(const QString& path, const QJsonObject& document, Done done) {
  QPointer<BoardSession> self(this);
  // The first page's items for the list's thumbnail; a page that cannot draw them gives a
  // thumbnail of the background alone.
  bridge_.request(QStringLiteral("pageSvg"), {0},
                  [self, path, document, done](const QVariant& svg, const QString&) {
                    if (!self) return;
                    const QString assets = self->assetsFolder_;
                    const QImage picture = self->pictureAsSeen ? self->pictureAsSeen() : QImage();
                    offMainThread(
                        self,
                        [=] {
                          const QImage thumbnail =
                              renderBoardThumbnail(document, svg.toString(), assets, picture);
                          return writeBoardFile(path, document, assets, thumbnail);
                        },
                        done);
                  });
}

void BoardSession::saveBeforeQuit() {
  autosaveTimer_.stop();
  *closing_ = true;
  if (!dirty_ || boardsFolder_.isEmpty() || !bridge_.pageReady()) return;
  QEventLoop loop;
  bool finished = false;
  save(QString(), [&loop, &finished](const QString& error) {
    if (!error.isEmpty()) logLine(QStringLiteral("The board could not be saved at quit: ") + error);
    finished = true;
    loop.quit();
  });
  if (!finished) {
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

void BoardSession::loadDocument(const QString& path, bool remember, Done done) {
  const QString assets = assetsFolder_;
  setProgress(QStringLiteral("Opening ") + QFileInfo(path).completeBaseName() + QStringLiteral("…"),
              0);
  QPointer<BoardSession> self(this);
  offMainThread(
      this, [path, assets] { return readBoardFile(path, assets); },
      [self, path, remember, done](BoardFileRead read) {
        self->setProgress(QString(), 0);
        if (!read.error.isEmpty()) {
          // Never written over: the board on screen goes on in a file of its own.
          self->unreadablePath_ = path;
          if (self->boardPath_ == path) self->setBoardPath(QString());
          return done(read.error);
        }
        self->bridge_.request(
            QStringLiteral("load"), {read.document.toVariantMap()},
            [self, path, remember, done](const QVariant& result, const QString& error) {
              if (!self) return;
              if (!error.isEmpty()) return done(error);
              if (result.typeId() == QMetaType::QString) {
                self->unreadablePath_ = path;
                return done(result.toString());
              }
              self->dirty_ = false;
              self->autosaveTimer_.stop();
              if (remember) self->setBoardPath(path);
              done(QString());
            });
      });
}

void BoardSession::openBoard(const QString& path, Done done) {
  if (!QFileInfo(path).isFile()) return done(QStringLiteral("No such board: ") + path);
  QPointer<BoardSession> self(this);
  auto open = [self, path, done] {
    if (self) self->loadDocument(path, true, done);
  };
  if (!dirty_ || boardsFolder_.isEmpty()) return open();
  // What is on the board now is kept before another board takes its place.
  save(QString(), [open, done](const QString& error) {
    if (!error.isEmpty()) return done(QStringLiteral("The board could not be saved: ") + error);
    open();
  });
}

void BoardSession::newBoard(Done done) {
  QPointer<BoardSession> self(this);
  auto fresh = [self, done] {
    if (!self) return;
    self->bridge_.request(
        QStringLiteral("serialize"), {},
        [self, done](const QVariant& current, const QString& error) {
          if (!self) return;
          if (!error.isEmpty()) return done(error);
          QVariantMap document = current.toMap();
          document[QStringLiteral("current")] = 0;
          document[QStringLiteral("pages")] =
              QVariantList{QVariantMap{{QStringLiteral("id"), 1},
                                       {QStringLiteral("background"), QStringLiteral("none")},
                                       {QStringLiteral("image"), QVariant::fromValue(nullptr)},
                                       {QStringLiteral("items"), QVariantList{}}}};
          self->pageCall(QStringLiteral("load"), {document}, [self, done](const QString& failure) {
            if (!self) return;
            if (failure.isEmpty()) {
              self->dirty_ = false;
              self->autosaveTimer_.stop();
              self->boardPath_.clear();
              emit self->boardFileChanged();
            }
            done(failure);
          });
        });
  };
  if (!dirty_ || boardsFolder_.isEmpty()) return fresh();
  save(QString(), [fresh, done](const QString& error) {
    if (!error.isEmpty()) return done(QStringLiteral("The board could not be saved: ") + error);
    fresh();
  });
}

void BoardSession::saveAs(const QString& name) {
  QString clean = name.trimmed();
  clean.replace(QLatin1Char('/'), QLatin1Char('-'));
  if (clean.isEmpty() || clean.startsWith(QLatin1Char('.'))) {
    emit alertRequested(QStringLiteral("A board needs a name."));
    return;
  }
  if (clean.endsWith(kBoardSuffix)) clean.chop(kBoardSuffix.size());
  QString path = boardsFolder_ + QLatin1Char('/') + clean + kBoardSuffix;
  // Another board of that name is kept: this one takes the next free name.
  if (path != boardPath_) path = newBoardPath(clean);
  QPointer<BoardSession> self(this);
  save(path, [self, path](const QString& error) {
    if (!self) return;
    if (!error.isEmpty())
      return emit self->alertRequested(QStringLiteral("The board could not be saved: ") + error);
    emit self->noticeRequested(QStringLiteral("Saved as ") + QFileInfo(path).completeBaseName());
  });
}

QVariantList BoardSession::boardList() {
  QVariantList boards;
  if (boardsFolder_.isEmpty()) return boards;
  const QFileInfoList files =
      QDir(boardsFolder_)
          .entryInfoList({QStringLiteral("*") + kBoardSuffix}, QDir::Files, QDir::Time);
  const QString thumbnails = assetsFolder_ + QStringLiteral("/../board-thumbnails");
  QDir().mkpath(thumbnails);
  for (const QFileInfo& file : files) {
    QString thumbnail = boardThumbnailFile(file.absoluteFilePath(), thumbnails);
    boards.append(QVariantMap{
        {QStringLiteral("name"), file.completeBaseName()},
        {QStringLiteral("path"), file.absoluteFilePath()},
        {QStringLiteral("thumbnail"),
         thumbnail.isEmpty() ? QString() : QUrl::fromLocalFile(thumbnail).toString()},
        {QStringLiteral("modified"), QLocale().toString(file.lastModified(), QLocale::ShortFormat)},
        {QStringLiteral("current"), file.absoluteFilePath() == boardPath_}});
  }
  return boards;
}

void BoardSession::saveNow() {
  QPointer<BoardSession> self(this);
  save(QString(), [self](const QString& error) {
    if (!self) return;
    if (!error.isEmpty()) {
      return emit self->alertRequested(QStringLiteral("The board could not be saved: ") + error);
    }
    emit self->noticeRequested(QStringLiteral("Saved ") + self->boardName());
  });
}

void BoardSession::onCommand(const QString& command) {
  if (command == QLatin1String("open")) {
    emit openListRequested();
  } else if (command == QLatin1String("save")) {
    saveNow();
  } else if (command == QLatin1String("saveas")) {
    emit saveAsRequested();
  } else if (command == QLatin1String("new")) {
    newBoard(alertOnFailure());
  } else if (command == QLatin1String("export")) {
    emit exportRequested();
  } else if (command == QLatin1String("keeppicture")) {
    keepPicture(alertOnFailure());
  }
}

// ---- Pages ------------------------------------------------------------------------------

void BoardSession::newPage(Done done) {
  pageCall(QStringLiteral("newPage"), {}, done);
}

void BoardSession::nextPage(Done done) {
  bridge_.request(QStringLiteral("nextPage"), {}, [done](const QVariant&, const QString& error) {
    done(error);  // on the last page there is no next one: not a failure
  });
}

void BoardSession::previousPage(Done done) {
  bridge_.request(QStringLiteral("previousPage"), {},
                  [done](const QVariant&, const QString& error) { done(error); });
}

void BoardSession::keepPicture(Done done) {
  const QImage picture = pictureAsSeen ? pictureAsSeen() : QImage();
  if (picture.isNull()) return done(QStringLiteral("There is no camera picture to keep."));
  const QString assets = assetsFolder_;
  QPointer<BoardSession> self(this);
  offMainThread(
      this, [picture, assets] { return importBoardImage(picture, assets); },
      [self, done](BoardImport imported) {
        if (!imported.error.isEmpty()) return done(imported.error);
        self->pageCall(QStringLiteral("keepPicture"), {imported.references.value(0)}, done);
      });
}

// ---- Material onto the board ----------------------------------------------------------------

void BoardSession::openOnBoard(const QString& path, bool asBackground, Done done) {
  const QFileInfo file(path);
  if (file.suffix().toLower() == kBoardSuffix.mid(1) && file.isFile()) return openBoard(path, done);
  // The pictures reach the page through the server, which starts with the storage folder.
  if (assetsFolder_.isEmpty()) return done(texts::kSaveGuard);
  const QString assets = assetsFolder_;
  setProgress(QStringLiteral("Opening ") + file.fileName() + QStringLiteral("…"), 0);
  QPointer<BoardSession> self(this);
  // A deck's slides are drawn one by one after LibreOffice has converted it.
  auto progress = [self, name = file.fileName()](int drawn, int total) {
    if (total <= 0) return;
    onMainThread([self, name, drawn, total] {
      if (self)
        self->setProgress(QStringLiteral("Opening ") + name + QStringLiteral("…"),
                          static_cast<double>(drawn) / total);
    });
  };
  offMainThread(
      this,
      [path, assets, progress, closing = closing_] {
        return importForBoard(path, assets, progress, closing.get());
      },
      [self, asBackground, done](BoardImport imported) {
        self->setProgress(QString(), 0);
        if (!imported.error.isEmpty()) return done(imported.error);
        if (imported.kind == BoardImport::Kind::picture) {
          if (asBackground) {
            return self->pageCall(QStringLiteral("setPageBackground"),
                                  {QStringLiteral("image"), imported.references.value(0)}, done);
          }
          return self->pageCall(QStringLiteral("placePicture"), {imported.references.value(0)},
                                done);
        }
        QVariantList pages;
        for (const QString& reference : imported.references) {
          pages.append(QVariantMap{{QStringLiteral("background"), QStringLiteral("image")},
                                   {QStringLiteral("image"), reference}});
        }
        // One argument, the list: braces around a list alone would copy it instead.
        self->pageCall(QStringLiteral("addPages"), QVariantList{QVariant(pages)}, done);
      });
}

// ---- Export -------------------------------------------------------------------------------

void BoardSession::exportAs(const QString& kind) {
  if (boardsFolder_.isEmpty()) return emit alertRequested(texts::kSaveGuard);
  const QString images = QDir(boardsFolder_ + QStringLiteral("/../images")).absolutePath();
  const bool pdf = kind == QLatin1String("pdf");
  QString base = images + QLatin1Char('/') + boardName();
  if (!pdf) base += QStringLiteral(" page %1").arg(bridge_.pageIndex() + 1);
  const QString suffix = pdf ? QStringLiteral(".pdf") : QStringLiteral(".png");
  QString path = base + suffix;
  for (int n = 2; QFileInfo::exists(path); ++n)
    path = base + QStringLiteral(" (%1)").arg(n) + suffix;
  QPointer<BoardSession> self(this);
  exportBoard(path, [self, path](const QString& error) {
    if (!self) return;
    if (!error.isEmpty())
      return emit self->alertRequested(QStringLiteral("The board could not be exported: ") + error);
    emit self->noticeRequested(QStringLiteral("Exported to ") + path);
  });
}

void BoardSession::collectPageSvgs(
    QList<int> pages, QStringList svgs,
    std::function<void(const QStringList& svgs, const QString& error)> done) {
  if (svgs.size() >= pages.size()) return done(svgs, QString());
  const int page = pages.at(svgs.size());
  QPointer<BoardSession> self(this);
  bridge_.request(QStringLiteral("pageSvg"), {page},
                  [self, pages, svgs, done](const QVariant& svg, const QString& error) mutable {
                    if (!self) return;
                    if (!error.isEmpty()) return done({}, error);
                    svgs.append(svg.toString());
                    self->collectPageSvgs(std::move(pages), std::move(svgs), std::move(done));
                  });
}

void BoardSession::exportBoard(const QString& path, Done done) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("pdf") && suffix != QLatin1String("png")) {
    return done(
        QStringLiteral("A board is exported as .pdf (every page) or .png (the current page)."));
  }
  if (!QFileInfo(QFileInfo(path).absolutePath()).isDir()) {
    return done(QStringLiteral("No such folder: ") + QFileInfo(path).absolutePath());
  }
  QPointer<BoardSession> self(this);
  setProgress(QStringLiteral("Exporting…"), 0);
  auto fail = [self, done](const QString& error) {
    if (self) self->setProgress(QString(), 0);
    done(error);
  };
  bridge_.request(
      QStringLiteral("serialize"), {}, [=](const QVariant& result, const QString& error) {
        if (!self) return;
        if (!error.isEmpty()) return fail(error);
        const QJsonObject document = QJsonObject::fromVariantMap(result.toMap());
        const auto count =
            static_cast<int>(document.value(QStringLiteral("pages")).toArray().size());
        const int current = document.value(QStringLiteral("current")).toInt();
        QList<int> wanted;
        if (suffix == QLatin1String("pdf")) {
          for (int i = 0; i < count; ++i) wanted.append(i);
        } else {
          wanted.append(current);
        }
        // The pages' drawings one after another, then the file off the main thread.
        self->collectPageSvgs(wanted, {}, [=](const QStringList& svgs, const QString& failure) {
          if (!self) return;
          if (!failure.isEmpty()) return fail(failure);
          const QString assets = self->assetsFolder_;
          const QImage picture = self->pictureAsSeen ? self->pictureAsSeen() : QImage();
          offMainThread(
              self,
              [=] {
                auto progress = [self](int pagesDone, int total) {
                  onMainThread([self, pagesDone, total] {
                    if (self) {
                      self->setProgress(
                          QStringLiteral("Exporting page %1 of %2…").arg(pagesDone).arg(total),
                          total > 0 ? double(pagesDone) / total : 0);
                    }
                  });
                };
                return exportBoardFile(path, document, wanted, svgs, assets, picture, progress);
              },
              fail);
        });
      });
}

}  // namespace dravin
