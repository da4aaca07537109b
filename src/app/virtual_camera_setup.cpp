#include "virtual_camera_setup.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "app_log.h"

namespace dravin {

namespace {

const QString kModule = QStringLiteral("v4l2loopback");
const QString kModulePackage = QStringLiteral("v4l2loopback-dkms");

}  // namespace

VirtualCameraSetup::VirtualCameraSetup(std::function<std::string()> findDevice, QStringList command,
                                       QObject* parent)
    : QObject(parent), findDevice_(std::move(findDevice)), command_(std::move(command)) {
  refresh();
}

QStringList VirtualCameraSetup::defaultCommand() {
  // Loading a kernel module and writing /etc take root: the desktop's own authorisation dialog
  // asks for it, once, through the package's polkit action for the helper.
  if (geteuid() == 0) return {helperPath()};
  return {QStringLiteral("pkexec"), helperPath()};
}

QString VirtualCameraSetup::helperPath() {
  const QString installed =
      QCoreApplication::applicationDirPath() + QStringLiteral("/" DRAVIN_INSTALLED_SETUP_HELPER);
  if (QFileInfo(installed).isExecutable()) return QFileInfo(installed).canonicalFilePath();
  return QStringLiteral(DRAVIN_SOURCE_SETUP_HELPER);
}

QString VirtualCameraSetup::adminHint() const {
  return QStringLiteral(
             "Setting it up asks once for an administrator's password. Without administrator "
             "rights, ask an administrator to install the Debian package %1 and to click "
             "\u201cSet Up Virtual Camera\u201d here for you: it stays set up after restarts.")
      .arg(kModulePackage);
}

void VirtualCameraSetup::refresh() {
  ready_ = findDevice_ && !findDevice_().empty();
  if (ready_) {
    status_ = QStringLiteral("Conference programs can choose \u201c%1\u201d as their camera.")
                  .arg(kVirtualCameraLabel);
  } else if (status_.isEmpty()) {
    status_ = QStringLiteral("Not set up: conference programs cannot see this window yet.");
  }
}

void VirtualCameraSetup::checkAtLaunch() {
  refresh();
  if (!ready_) logLine(QStringLiteral("camera extension requestNeedsUserApproval"));
  emit changed();
}

void VirtualCameraSetup::setUp() {
  if (process_ || command_.isEmpty()) return;
  process_ = new QProcess(this);
  process_->setProgram(command_.first());
  process_->setArguments(command_.mid(1));
  process_->setProcessChannelMode(QProcess::MergedChannels);
  connect(process_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus exit) {
    const QString output = QString::fromLocal8Bit(process_->readAll()).trimmed();
    process_->deleteLater();
    process_ = nullptr;
    if (exit != QProcess::NormalExit) {
      failed(command_.first() + QStringLiteral(" crashed"),
             QStringLiteral("Setting up the virtual camera failed."));
      return;
    }
    finished(exitCode, output);
  });
  connect(process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;  // the others end in `finished`
    const QString program = command_.first();
    process_->deleteLater();
    process_ = nullptr;
    failed(program + QStringLiteral(" could not be started"),
           program == QStringLiteral("pkexec")
               ? QStringLiteral("pkexec is missing: install the Debian package pkexec, then try "
                                "again.")
               : QStringLiteral("%1 could not be started.").arg(program));
  });
  status_ = QStringLiteral("Setting up\u2026");
  emit changed();
  process_->start();
}

void VirtualCameraSetup::finished(int exitCode, const QString& output) {
  if (exitCode != 0) {
    QString status;
    if (output.contains(QStringLiteral("not found"))) {
      status = QStringLiteral(
                   "The %1 kernel module is not installed. Install the Debian package %2 (with "
                   "the linux-headers package of the running kernel), then try again.")
                   .arg(kModule, kModulePackage);
    } else if (command_.first() == QStringLiteral("pkexec") &&
               (exitCode == 126 || exitCode == 127)) {
      status = QStringLiteral("Permission to load the %1 module was not given.").arg(kModule);
    } else {
      status = QStringLiteral("Setting up the virtual camera failed: ") +
               (output.isEmpty() ? QString::number(exitCode) : output.section('\n', -1));
    }
    // The log takes single lines.
    const QString error = output.isEmpty() ? QStringLiteral("exit status %1").arg(exitCode)
                                           : output.split('\n', Qt::SkipEmptyParts).join("; ");
    failed(error, status);
    return;
  }
  refresh();
  if (!ready_) {
    // modprobe succeeds without doing anything when the module is already loaded, for instance by
    // another program with devices of its own.
    failed(QStringLiteral("%1 is loaded but has no device \u201c%2\u201d")
               .arg(kModule, kVirtualCameraLabel),
           QStringLiteral("The %1 module is already loaded without a \u201c%2\u201d device. "
                          "Restart the computer: it now loads with that device at every start.")
               .arg(kModule, kVirtualCameraLabel));
    return;
  }
  logLine(QStringLiteral("camera extension request overloaded - result) ") +
          QString::number(exitCode));
  emit changed();
}

void VirtualCameraSetup::failed(const QString& error, const QString& status) {
  logLine(QStringLiteral("camera extension request overloaded - ERROR ") + error);
  status_ = status;
  refresh();
  emit changed();
}

}  // namespace dravin
