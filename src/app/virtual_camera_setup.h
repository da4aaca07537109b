#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

#include "virtual_camera.h"

namespace dravin {

// Puts the virtual camera in place: looks for the device at launch and, when it is missing, has
// the setup helper load the loopback module with the right label and make it load at every start,
// on the user's click. The settings popover shows it.
class VirtualCameraSetup : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool ready READ ready NOTIFY changed)
  Q_PROPERTY(bool busy READ busy NOTIFY changed)
  Q_PROPERTY(QString status READ status NOTIFY changed)
  Q_PROPERTY(QString adminHint READ adminHint CONSTANT)

 public:
  // `findDevice` as for the feed; `command` runs the setup helper (through pkexec, or directly as
  // root), replaceable in tests.
  explicit VirtualCameraSetup(
      std::function<std::string()> findDevice = VirtualCameraFeed::defaultDevice,
      QStringList command = defaultCommand(), QObject* parent = nullptr);

  static QStringList defaultCommand();
  // The installed helper beside the program, or the source tree's when run from a build.
  static QString helperPath();

  bool ready() const { return ready_; }
  bool busy() const { return process_ != nullptr; }
  QString status() const { return status_; }
  // What a user without administrator rights asks for.
  QString adminHint() const;

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
