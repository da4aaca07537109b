#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "board_bridge.h"
#include "board_file.h"
#include "board_session.h"

namespace dravin {
namespace {

// The board page as the session sees it: it answers the bridge's requests from a document it
// keeps, as the real page does, and says when it changed.
class FakePage : public QObject {
 public:
  explicit FakePage(BoardBridge& bridge) : bridge_(bridge) {
    document = QJsonObject{{"format", "dravinboard-document"},
                           {"version", 1},
                           {"width", 1280},
                           {"height", 720},
                           {"current", 0},
                           {"pages", QJsonArray{page("none")}}};
    connect(&bridge_, &BoardBridge::scriptRequested, this, &FakePage::answer);
  }

  static QJsonObject page(const QString& background, const QString& image = {}) {
    return {{"id", 1},
            {"background", background},
            {"image", image.isEmpty() ? QJsonValue() : QJsonValue(image)},
            {"items", QJsonArray{}}};
  }
  int pageCount() const { return static_cast<int>(document.value("pages").toArray().size()); }
  void change(const QString& text) {
    QJsonArray pages = document.value("pages").toArray();
    QJsonObject first = pages.at(0).toObject();
    first["items"] = QJsonArray{QJsonObject{{"kind", "text"}, {"text", text}}};
    pages[0] = first;
    document["pages"] = pages;
    bridge_.postMessage(QVariantMap{{"type", "boardchanged"}});
  }

  QJsonObject document;
  QStringList calls;

 private:
  void answer(const QString& script) {
    static const QRegularExpression call(
        QStringLiteral("dravinRequest\\((\\d+), '(\\w+)', (.*)\\)$"));
    const QRegularExpressionMatch match = call.match(script);
    if (!match.hasMatch()) return;
    const int id = match.captured(1).toInt();
    const QString method = match.captured(2);
    const QJsonArray args = QJsonDocument::fromJson(match.captured(3).toUtf8()).array();
    calls.append(method);
    QVariant result = true;
    if (method == "serialize") {
      result = document.toVariantMap();
    } else if (method == "load") {
      const QJsonObject loaded = args.at(0).toObject();
      if (loaded.value("format") != "dravinboard-document") {
        result = QStringLiteral("not a board");
      } else {
        document = loaded;
      }
    } else if (method == "pageSvg") {
      result =
          QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='1280' height='720'/>");
    } else if (method == "addPages") {
      QJsonArray pages = document.value("pages").toArray();
      for (const QJsonValue& added : args.at(0).toArray()) {
        pages.append(page("image", added.toObject().value("image").toString()));
      }
      document["pages"] = pages;
      result = static_cast<int>(pages.size());
    } else if (method == "pageCount") {
      result = pageCount();
    }
    // Answered on a later turn, as the web channel does.
    QTimer::singleShot(0, this, [this, id, result] {
      bridge_.postMessage(
          QVariantMap{{"type", "reply"}, {"id", id}, {"ok", true}, {"result", result}});
    });
  }

  BoardBridge& bridge_;
};

QString waitForError(const std::function<void(BoardSession::Done)>& run) {
  QString error = QStringLiteral("<no answer>");
  bool answered = false;
  run([&](const QString& text) {
    error = text;
    answered = true;
  });
  return QTest::qWaitFor([&] { return answered; }, 10000) ? error : QStringLiteral("<no answer>");
}

QStringList boardFiles(const QString& folder) {
  return QDir(folder).entryList({"*.dravinboard"}, QDir::Files, QDir::Name);
}

TEST(BoardSession, SavesByItselfComesBackAndNeverWritesOverWhatItCannotRead) {
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  const QString boards = home.path() + "/boards";
  const QString assets = home.path() + "/assets";
  QDir().mkpath(boards);
  BoardBridge& bridge = BoardBridge::instance();
  bridge.loadStarted();
  bridge.loadFinished();

  // A change is on disk a few seconds later, in a file of its own.
  QString saved;
  {
    FakePage page(bridge);
    BoardSession session(bridge);
    session.setFolders(boards, assets);
    page.change("Photosynthesis");
    ASSERT_TRUE(QTest::qWaitFor([&] { return boardFiles(boards).size() == 1; }, 9000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session.boardPath().isEmpty(); }, 2000));
    saved = session.boardPath();
    const BoardFileRead read = readBoardFile(saved, assets);
    ASSERT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.document, page.document);

    // Save as a name another board has: that board is kept, this one takes the next name.
    QFile::copy(saved, boards + "/Lesson.dravinboard");
    session.saveAs("Lesson");
    ASSERT_TRUE(QTest::qWaitFor([&] { return boardFiles(boards).size() == 3; }, 5000));
    EXPECT_TRUE(boardFiles(boards).contains("Lesson (2).dravinboard"));
    saved = session.boardPath();
  }

  // The next start opens the board that was open; so does a page that loads again (its
  // process ended), instead of saving its empty board over the file.
  {
    FakePage page(bridge);
    BoardSession session(bridge);
    session.setFolders(boards, assets);
    ASSERT_TRUE(QTest::qWaitFor([&] { return session.boardPath() == saved; }, 5000));
    const QJsonArray written{QJsonObject{{"kind", "text"}, {"text", "Photosynthesis"}}};
    EXPECT_EQ(page.document.value("pages").toArray().at(0).toObject().value("items"), written);
    page.document["pages"] = QJsonArray{FakePage::page("none")};
    bridge.loadStarted();
    bridge.loadFinished();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return page.document.value("pages").toArray().at(0).toObject().value("items") == written;
        },
        5000));
  }

  // A board that cannot be read is named in an alert, opened never, and never written over.
  QFile damaged(saved);
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
  damaged.write("not a zip at all");
  damaged.close();
  {
    FakePage page(bridge);
    BoardSession session(bridge);
    QSignalSpy alerts(&session, &BoardSession::alertRequested);
    session.setFolders(boards, assets);
    ASSERT_TRUE(alerts.wait(5000));
    EXPECT_EQ(alerts.at(0).at(0).toString(), boardFileDamagedText());
    EXPECT_FALSE(page.calls.contains("load"));
    page.change("After the damage");
    ASSERT_TRUE(QTest::qWaitFor([&] { return boardFiles(boards).size() == 4; }, 9000));
    EXPECT_NE(session.boardPath(), saved);
    QFile kept(saved);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "not a zip at all");
  }
}

TEST(BoardSession, PutsFilesOnTheBoardOrSaysWhyNot) {
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", (home.path() + "/config").toUtf8());
  BoardBridge& bridge = BoardBridge::instance();
  bridge.loadStarted();
  bridge.loadFinished();
  FakePage page(bridge);
  BoardSession session(bridge);
  session.setFolders(home.path() + "/boards", home.path() + "/assets");

  const QString pdf = home.path() + "/three pages.pdf";
  {
    QPdfWriter writer(pdf);
    QPainter painter(&writer);
    for (int i = 0; i < 3; ++i) {
      if (i > 0) writer.newPage();
      painter.fillRect(QRect(0, 0, 500, 500), Qt::red);
    }
  }
  EXPECT_EQ(waitForError([&](auto done) { session.openOnBoard(pdf, false, done); }), "");
  ASSERT_EQ(page.pageCount(), 4);
  const QString third =
      page.document.value("pages").toArray().at(3).toObject().value("image").toString();
  EXPECT_TRUE(third.startsWith("asset:") && third.endsWith(".pdf#3")) << third.toStdString();

  // Nothing is half added: each refusal leaves the pages as they were.
  QFile text(home.path() + "/notes.txt");
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("notes");
  text.close();
  QFile::copy(home.path() + "/notes.txt", home.path() + "/fake.pdf");
  for (const QString& bad :
       {home.path() + "/missing.pdf", home.path() + "/fake.pdf", home.path() + "/notes.txt"}) {
    const QString error = waitForError([&](auto done) { session.openOnBoard(bad, false, done); });
    EXPECT_FALSE(error.isEmpty()) << bad.toStdString();
    EXPECT_EQ(page.pageCount(), 4);
  }
  EXPECT_NE(waitForError([&](auto done) { session.exportBoard(home.path() + "/x.txt", done); }),
            "");
  EXPECT_NE(waitForError([&](auto done) { session.exportBoard(home.path() + "/no/x.pdf", done); }),
            "");
  EXPECT_EQ(waitForError([&](auto done) { session.exportBoard(home.path() + "/x.pdf", done); }),
            "");
  EXPECT_TRUE(QFile::exists(home.path() + "/x.pdf"));
}

}  // namespace
}  // namespace dravin
