#include "share_model.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

namespace dravin {

ShareModel::ShareModel(QObject* parent)
    : QObject(parent),
      openUrl([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      findExecutable([](const QString& name) { return QStandardPaths::findExecutable(name); }),
      startDetached([](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
      }),
      setClipboard([](QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }) {}

bool ShareModel::finish(const QString& message) {
  if (message_ != message) {
    message_ = message;
    emit messageChanged();
  }
  return message.isEmpty();
}

bool ShareModel::showInFolder(const QUrl& file) {
  const QFileInfo info(file.toLocalFile());
  if (!file.isLocalFile() || !info.exists()) return finish(QStringLiteral("The picture is gone."));
  if (!openUrl(QUrl::fromLocalFile(info.absolutePath())))
    return finish(QStringLiteral("No file manager could open the folder."));
  return finish(QString());
}

std::unique_ptr<QMimeData> ShareModel::clipboardData(const QUrl& file) {
  auto data = std::make_unique<QMimeData>();
  data->setUrls({file});
  // File managers paste a copy of the file from this list.
  data->setData(QStringLiteral("x-special/gnome-copied-files"), "copy\n" + file.toEncoded());
  const QImage image(file.toLocalFile());
  if (!image.isNull()) data->setImageData(image);
  return data;
}

bool ShareModel::copy(const QUrl& file) {
  if (!file.isLocalFile() || !QFileInfo::exists(file.toLocalFile()))
    return finish(QStringLiteral("The picture is gone."));
  setClipboard(clipboardData(file).release());
  return finish(QString());
}

bool ShareModel::sendByEmail(const QUrl& file) {
  if (!file.isLocalFile() || !QFileInfo::exists(file.toLocalFile()))
    return finish(QStringLiteral("The picture is gone."));
  const QString program = findExecutable(kMailProgram);
  if (program.isEmpty()) {
    return finish(
        QStringLiteral("E-mail needs xdg-email (package xdg-utils), which is not installed."));
  }
  if (!startDetached(program, {QStringLiteral("--attach"), file.toLocalFile()}))
    return finish(QStringLiteral("The e-mail program could not be started."));
  return finish(QString());
}

}  // namespace dravin
