#pragma once

#include <QtQml/qqmlregistration.h>
#include <QMimeData>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <memory>

namespace dravin {

// Handing a picture on from the side-by-side view: its folder in the file manager, the
// clipboard, or a new e-mail with the picture attached.
class ShareModel : public QObject {
  Q_OBJECT
  QML_ELEMENT
  // What the last action could not do, for the view to say; empty after a success.
  Q_PROPERTY(QString message READ message NOTIFY messageChanged)

 public:
  static inline const QString kMailProgram = QStringLiteral("xdg-email");

  explicit ShareModel(QObject* parent = nullptr);

  QString message() const { return message_; }

  Q_INVOKABLE bool showInFolder(const QUrl& file);
  Q_INVOKABLE bool copy(const QUrl& file);
  Q_INVOKABLE bool sendByEmail(const QUrl& file);

  // The file as a file list (for file managers and the board) and as the picture itself.
  static std::unique_ptr<QMimeData> clipboardData(const QUrl& file);

  // Replaceable so tests see what would reach the desktop.
  std::function<bool(const QUrl&)> openUrl;
  std::function<QString(const QString&)> findExecutable;
  std::function<bool(const QString&, const QStringList&)> startDetached;
  std::function<void(QMimeData*)> setClipboard;

 signals:
  void messageChanged();

 private:
  bool finish(const QString& message);

  QString message_;
};

}  // namespace dravin
