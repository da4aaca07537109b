#include "deck_import.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app_log.h"
#include "atomic_write.h"
#include "serial_queue.h"

namespace dravin {
namespace {

QString withoutSlash(QString path) {
  while (path.size() > 1 && path.endsWith('/')) path.chop(1);
  return path;
}

}  // namespace

std::optional<QString> importDeckInto(const DeckImport::Converter& converter, const QString& deck,
                                      const QString& targetFolder,
                                      const std::function<void(int, int)>& progress,
                                      const std::atomic<bool>& cancel) {
  const QString target = withoutSlash(targetFolder);
  const QString work = siblingWorkPath(target, "importing");
  DeckConversion job{deck, work, QFileInfo(deck).completeBaseName()};
  if (std::optional<QString> error = converter(job, progress, cancel)) {
    QDir(work).removeRecursively();
    return error;
  }
  if (cancel) {
    QDir(work).removeRecursively();
    return QString("The import was cancelled.");
  }
  // The old folder steps aside first and comes back if the new one cannot take its place.
  const QString old = siblingWorkPath(target, "replaced");
  const bool hadOld = QFileInfo::exists(target);
  if (hadOld && !QDir().rename(target, old)) {
    QDir(work).removeRecursively();
    return "Could not replace " + target;
  }
  if (!QDir().rename(work, target)) {
    if (hadOld) QDir().rename(old, target);
    QDir(work).removeRecursively();
    return "Could not move the slides into " + target;
  }
  if (hadOld) {
    if (QFileInfo(old).isDir())
      QDir(old).removeRecursively();
    else
      QFile::remove(old);
  }
  return std::nullopt;
}

DeckImport::DeckImport(Converter converter, QObject* parent)
    : QObject(parent),
      converter_(std::move(converter)),
      queue_(std::make_unique<SerialQueue>("deck_import")) {}

DeckImport::~DeckImport() {
  cancel_->store(true);
  queue_.reset();  // joins the worker before the converter goes
}

void DeckImport::start(const QString& deck, const QString& targetFolder) {
  if (++pending_ == 1) emit activeChanged(true);
  const QString name = QFileInfo(deck).completeBaseName();
  emit progressChanged(name, 0, 0);
  std::weak_ptr<bool> alive = alive_;
  std::shared_ptr<std::atomic<bool>> cancel = cancel_;
  queue_->dispatch([this, alive, cancel, deck, targetFolder, name] {
    std::optional<QString> error;
    if (*cancel) {
      error = QString("The import was cancelled.");
    } else {
      auto progress = [this, alive, name](int done, int total) {
        onMainThread([this, alive, name, done, total] {
          if (!alive.expired()) emit progressChanged(name, done, total);
        });
      };
      error = importDeckInto(converter_, deck, targetFolder, progress, *cancel);
    }
    onMainThread([this, alive, error, name, targetFolder] {
      if (alive.expired()) return;
      if (error) {
        logLine(*error);
        emit failed(name, *error);
      } else {
        emit imported(targetFolder);
      }
      finishOne();
    });
  });
}

void DeckImport::cancelAll() {
  if (pending_ == 0) return;
  cancel_->store(true);
  // Work queued from now on gets a fresh flag; what was queued before sees the raised one.
  cancel_ = std::make_shared<std::atomic<bool>>(false);
}

void DeckImport::finishOne() {
  if (--pending_ == 0) emit activeChanged(false);
}

}  // namespace dravin
