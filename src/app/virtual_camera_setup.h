#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "virtual_camera.h"

namespace dravin {

// Puts the virtual camera in place: looks for the device at launch and, when it is missing, loads
// the loopback module with the right label on the user's click. The settings popover shows it.
class VirtualCameraSetup : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool ready READ ready NOTIFY changed)
  Q_PROPERTY(bool busy READ busy NOTIFY changed)
  Q_PROPERTY(QString status READ status NOTIFY changed)

 public:
  // `findDevice` as for the feed; `command` the program and leading arguments that load the
  // module (pkexec, or nothing as root), replaceable in tests.
  explicit VirtualCameraSetup(
      std::function<std::string()> findDevice = VirtualCameraFeed::defaultDevice,
      QStringList command = defaultCommand(), QObject* parent = nullptr);

  static QStringList defaultCommand();
  static QStringList moduleArguments();

  bool ready() const { return ready_; }
  bool busy() const { return process_ != nullptr; }
  QString status() const { return status_; }

  // At launch: the device present, or the line that the user's approval is needed.
  void checkAtLaunch();
  // Loads the module; the result arrives as `changed` and a log line.
  Q_INVOKABLE void setUp();

 signals:
  void changed();

 private:
  void finished(int exitCode, const QString& errors);
  void failed(const QString& error, const QString& status);
  void refresh();

  std::function<std::string()> findDevice_;
  QStringList command_;
  bool ready_ = false;
  QString status_;
  QProcess* process_ = nullptr;
};

}  // namespace dravin
