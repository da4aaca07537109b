#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QUrl>

#include "gif_generator.h"
#include "library_list_model.h"

namespace dravin {

// The GIF generator panel: the frames, the player, the speed, the export and its question.
class GifGeneratorModel : public QObject {
  Q_OBJECT
  QML_ELEMENT
  Q_PROPERTY(dravin::LibraryListModel* frames READ frames CONSTANT)
  Q_PROPERTY(QUrl currentFrameUrl READ currentFrameUrl NOTIFY currentFrameChanged)
  Q_PROPERTY(double sliderValue READ sliderValue WRITE setSliderValue NOTIFY intervalChanged)
  Q_PROPERTY(double gifInterval READ gifInterval NOTIFY intervalChanged)
  Q_PROPERTY(int framesToLoad READ framesToLoad WRITE setFramesToLoad NOTIFY framesToLoadChanged)
  Q_PROPERTY(bool exporting READ exporting NOTIFY exportingChanged)
  Q_PROPERTY(double exportFraction READ exportFraction NOTIFY exportProgressChanged)
  Q_PROPERTY(bool showingDeleteAlert READ showingDeleteAlert NOTIFY showingDeleteAlertChanged)
  Q_PROPERTY(QString message READ message NOTIFY messageChanged)

 public:
  explicit GifGeneratorModel(QObject* parent = nullptr);

  GifGenerator& generator() { return generator_; }
  LibraryListModel* frames() { return &frames_; }
  QUrl currentFrameUrl() const;
  double sliderValue() const { return generator_.sliderValue(); }
  void setSliderValue(double value) { generator_.setSliderValue(value); }
  double gifInterval() const { return generator_.gifInterval(); }
  int framesToLoad() const { return generator_.framesToLoad(); }
  void setFramesToLoad(int count);
  bool exporting() const { return generator_.isExporting(); }
  double exportFraction() const { return exportFraction_; }
  bool showingDeleteAlert() const { return generator_.showingDeleteAlert(); }
  const QString& message() const { return message_; }

  Q_INVOKABLE void start() { generator_.restartGifTimer(); }
  Q_INVOKABLE void loadPreviousFrames() { generator_.loadPreviousFrames(); }
  Q_INVOKABLE void removeFrame(const QString& id);
  Q_INVOKABLE void clear() { generator_.clear(); }
  Q_INVOKABLE void close() { generator_.close(); }
  // The save panel was confirmed; cancelling it calls nothing, so the player keeps running.
  Q_INVOKABLE void exportTo(const QUrl& destination);
  Q_INVOKABLE void cancelExport() { generator_.cancelExport(); }
  Q_INVOKABLE void deleteOriginals() { generator_.deleteOriginals(); }
  Q_INVOKABLE void keepOriginals() { generator_.keepOriginals(); }
  // Where the save panel starts, with "export.gif" proposed.
  Q_INVOKABLE QUrl proposedExportUrl() const;

 signals:
  void currentFrameChanged();
  void intervalChanged();
  void framesToLoadChanged();
  void exportingChanged();
  void exportProgressChanged();
  void showingDeleteAlertChanged();
  void messageChanged();

 private:
  GifGenerator generator_;
  LibraryListModel frames_;
  double exportFraction_ = 0;
  QString message_;
};

}  // namespace dravin
