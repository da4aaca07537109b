#include "deck_converter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <utility>
#include <vector>

namespace dravin {
namespace {

// Two 16:9 slides, each almost filled by one rectangle: red on the first, blue on the second.
constexpr char kTwoSlides[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.presentation">
 <office:automatic-styles>
  <style:page-layout style:name="PM1"><style:page-layout-properties fo:margin-top="0cm"
   fo:margin-bottom="0cm" fo:margin-left="0cm" fo:margin-right="0cm" fo:page-width="28cm"
   fo:page-height="15.75cm" style:print-orientation="landscape"/></style:page-layout>
  <style:style style:name="red" style:family="graphic"><style:graphic-properties draw:fill="solid"
   draw:fill-color="#ff0000" draw:stroke="none"/></style:style>
  <style:style style:name="blue" style:family="graphic"><style:graphic-properties draw:fill="solid"
   draw:fill-color="#0000ff" draw:stroke="none"/></style:style>
 </office:automatic-styles>
 <office:master-styles><style:master-page style:name="M" style:page-layout-name="PM1"/>
 </office:master-styles>
 <office:body><office:presentation>
  <draw:page draw:name="one" draw:master-page-name="M"><draw:rect draw:style-name="red"
   svg:x="2cm" svg:y="2cm" svg:width="24cm" svg:height="11.75cm"/></draw:page>
  <draw:page draw:name="two" draw:master-page-name="M"><draw:rect draw:style-name="blue"
   svg:x="2cm" svg:y="2cm" svg:width="24cm" svg:height="11.75cm"/></draw:page>
 </office:presentation></office:body>
</office:document>
)";

bool haveSoffice() {
  return !QStandardPaths::findExecutable("soffice").isEmpty();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Temporarily replaces an environment variable.
class EnvOverride {
 public:
  EnvOverride(const char* name, const QByteArray& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~EnvOverride() { had_ ? qputenv(name_, old_) : qunsetenv(name_); }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

struct Outcome {
  std::optional<QString> error;
  std::vector<std::pair<int, int>> progress;
};

Outcome convert(const DeckConversion& job, bool cancelled = false) {
  Outcome outcome;
  std::atomic<bool> cancel{cancelled};
  outcome.error = convertDeck(
      job, [&](int done, int total) { outcome.progress.emplace_back(done, total); }, cancel);
  return outcome;
}

TEST(DeckConverter, ConvertsPresentationToSlidePictures) {
  if (!haveSoffice()) GTEST_SKIP() << "soffice is not installed";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QDir root(dir.path());
  writeFile(root.filePath("slides.fodp"), kTwoSlides);
  {  // the test's own step: the .pptx a user would import
    QProcess soffice;
    soffice.start("soffice", {"-env:UserInstallation=" +
                                  QUrl::fromLocalFile(root.filePath("profile")).toString(),
                              "--headless", "--norestore", "--nologo", "--convert-to", "pptx",
                              "--outdir", dir.path(), root.filePath("slides.fodp")});
    ASSERT_TRUE(soffice.waitForFinished(180'000));
    ASSERT_TRUE(QFile::exists(root.filePath("slides.pptx")))
        << soffice.readAllStandardError().toStdString();
  }
  // A name that is a shell's and a command line's trouble all at once.
  const QString baseName = QString::fromUtf8("-Stunde \"3\" Übung's");
  const QString deck = root.filePath(baseName + ".pptx");
  ASSERT_TRUE(QFile::rename(root.filePath("slides.pptx"), deck));
  const QString out = root.filePath(QString::fromUtf8("out put/Übung"));
  const QString tempRoot = root.filePath("tmp");
  ASSERT_TRUE(root.mkpath("tmp"));

  Outcome outcome;
  {
    EnvOverride tmp("TMPDIR", QFile::encodeName(tempRoot));
    outcome = convert({deck, out, baseName, 1920});
  }
  ASSERT_FALSE(outcome.error) << outcome.error->toStdString();
  {  // exactly the two slide pictures, named in slide order; the temporary folder is gone
    const QString first = baseName + ".001.png";
    const QString second = baseName + ".002.png";
    EXPECT_EQ(entries(out), (QStringList{first, second}));
    EXPECT_EQ(entries(tempRoot), QStringList());
  }
  {  // progress: converting (no total yet), then one call per slide
    const std::vector<std::pair<int, int>> expected{{0, 0}, {0, 2}, {1, 2}, {2, 2}};
    EXPECT_EQ(outcome.progress, expected);
  }
  {  // full width, 16:9, the rectangles in the middle and white slide margins
    const QImage one(QDir(out).filePath(baseName + ".001.png"));
    const QImage two(QDir(out).filePath(baseName + ".002.png"));
    ASSERT_FALSE(one.isNull());
    ASSERT_FALSE(two.isNull());
    EXPECT_EQ(one.width(), 1920);
    EXPECT_NEAR(one.height(), 1080, 1);
    EXPECT_EQ(two.size(), one.size());
    const QPoint centre(960, 540);
    const QPoint margin(20, 20);
    EXPECT_EQ(one.pixelColor(centre), QColor(Qt::red));
    EXPECT_EQ(two.pixelColor(centre), QColor(Qt::blue));
    EXPECT_EQ(one.pixelColor(margin), QColor(Qt::white));
    EXPECT_EQ(two.pixelColor(margin), QColor(Qt::white));
  }
}

TEST(DeckConverter, RefusesWhatCannotBecomeSlides) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QDir root(dir.path());
  const QString out = root.filePath("out");
  writeFile(root.filePath("notes.pptx"), "Only a line of text, not a presentation.\n");
  writeFile(root.filePath("empty.pptx"), "");
  {  // missing deck
    const Outcome outcome = convert({root.filePath("gone.pptx"), out, "gone", 1920});
    ASSERT_TRUE(outcome.error);
    EXPECT_TRUE(outcome.error->contains("gone.pptx"));
  }
  {  // an empty file would open as a new blank presentation
    EXPECT_TRUE(convert({root.filePath("empty.pptx"), out, "empty", 1920}).error);
  }
  {  // a stem that leaves the output folder, a stem that is empty, an impossible width
    EXPECT_TRUE(convert({root.filePath("notes.pptx"), out, "../notes", 1920}).error);
    EXPECT_TRUE(convert({root.filePath("notes.pptx"), out, "", 1920}).error);
    EXPECT_TRUE(convert({root.filePath("notes.pptx"), out, "notes", 0}).error);
  }
  {  // LibreOffice missing from the path
    EnvOverride path("PATH", QFile::encodeName(root.filePath("no-such-bin")));
    const Outcome outcome = convert({root.filePath("notes.pptx"), out, "notes", 1920});
    ASSERT_TRUE(outcome.error);
    EXPECT_TRUE(outcome.error->contains("LibreOffice is not installed"));
  }
  {  // cancelled before it began
    const Outcome outcome = convert({root.filePath("notes.pptx"), out, "notes", 1920}, true);
    ASSERT_TRUE(outcome.error);
  }
  EXPECT_EQ(entries(out), QStringList());
  if (!haveSoffice()) GTEST_SKIP() << "soffice is not installed";
  {  // text under a deck's name: LibreOffice would make a text document of it, which is no deck
    const Outcome outcome = convert({root.filePath("notes.pptx"), out, "notes", 1920});
    ASSERT_TRUE(outcome.error);
    EXPECT_TRUE(outcome.error->contains("notes.pptx"));
    EXPECT_EQ(entries(out), QStringList());
  }
}

}  // namespace
}  // namespace dravin
