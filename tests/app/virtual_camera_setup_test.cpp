// "Set Up Virtual Camera": the setup object driving the real setup helper (the script the package
// runs through pkexec) with a stand-in modprobe, into a stand-in /etc and sysfs.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <iostream>
#include <sstream>

#include "../log_capture.h"
#include "v4l2_output.h"
#include "virtual_camera_setup.h"

namespace dravin {
namespace {

QString readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A stand-in /etc, sysfs and modprobe; `modprobe` is the stand-in's body, with the arguments the
// helper gives it as "$@".
class SetupWorld {
 public:
  SetupWorld() {
    QDir().mkpath(sysfs());
    QDir().mkpath(dir_.filePath("bin"));
  }
  QString sysfs() const { return dir_.filePath("video4linux"); }
  QString etc(const QString& relative) const { return dir_.filePath("root/etc/" + relative); }

  std::unique_ptr<VirtualCameraSetup> setup(const QString& modprobe) {
    QFile script(dir_.filePath("bin/modprobe"));
    EXPECT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
    script.write(("#!/bin/sh\n" + modprobe + "\n").toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString sys = sysfs();
    return std::make_unique<VirtualCameraSetup>(
        [sys] { return v4l2::findDeviceByLabel(kVirtualCameraLabel, sys.toStdString(), "/dev"); },
        QStringList{"/usr/bin/env", "PATH=" + dir_.filePath("bin") + ":/usr/bin:/bin",
                    "PELORA_DRAVIN_SETUP_ROOT=" + dir_.filePath("root"),
                    VirtualCameraSetup::helperPath()});
  }

  // Files the helper left in /etc, as "relative path" lines.
  QStringList etcFiles() const {
    QStringList files;
    QDirIterator it(dir_.filePath("root/etc"), QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files << QDir(dir_.filePath("root/etc")).relativeFilePath(it.next());
    files.sort();
    return files;
  }

 private:
  QTemporaryDir dir_;
};

void runToEnd(VirtualCameraSetup& s) {
  s.setUp();
  EXPECT_TRUE(s.busy());
  QSignalSpy spy(&s, &VirtualCameraSetup::changed);
  while (s.busy()) ASSERT_TRUE(spy.wait(5000));
}

const QStringList kBootFiles = {"modprobe.d/pelora-dravin-virtual-camera.conf",
                                "modules-load.d/pelora-dravin-virtual-camera.conf"};

TEST(VirtualCameraSetup, LoadsNowAndAtEveryStart) {
  SetupWorld world;
  {  // missing at launch: the approval line; the hint names what an administrator installs
    LogCapture log;
    auto s = world.setup("exit 0");
    s->checkAtLaunch();
    EXPECT_EQ(log.text(), "camera extension requestNeedsUserApproval\n");
    EXPECT_FALSE(s->ready());
    EXPECT_TRUE(s->adminHint().contains("v4l2loopback-dkms"));
  }
  {  // the module is not installed: the package to install is named, and nothing is written
     // that would fail at every start
    LogCapture log;
    auto s = world.setup(
        "echo 'modprobe: FATAL: Module v4l2loopback not found in directory /lib/modules/6.1.0' "
        ">&2; exit 1");
    runToEnd(*s);
    EXPECT_FALSE(s->ready());
    EXPECT_TRUE(s->status().contains("v4l2loopback-dkms")) << s->status().toStdString();
    EXPECT_EQ(log.text(),
              "camera extension request overloaded - ERROR modprobe: FATAL: Module v4l2loopback "
              "not found in directory /lib/modules/6.1.0\n");
    EXPECT_EQ(world.etcFiles(), QStringList());
  }
  {  // loaded earlier without our device: success is not claimed, but the next start is right
    LogCapture log;
    auto s = world.setup("exit 0");
    runToEnd(*s);
    EXPECT_FALSE(s->ready());
    EXPECT_NE(log.text().find("camera extension request overloaded - ERROR "), std::string::npos);
    EXPECT_TRUE(s->status().contains("Restart")) << s->status().toStdString();
    EXPECT_EQ(world.etcFiles(), kBootFiles);
  }
  {  // the authorisation tool is missing
    LogCapture log;
    VirtualCameraSetup s([] { return std::string(); }, {"/nonexistent/pkexec", "x"});
    runToEnd(s);
    EXPECT_EQ(log.text(),
              "camera extension request overloaded - ERROR /nonexistent/pkexec could not be "
              "started\n");
  }
  {  // the exact arguments load the module; the device appears, and the boot files say the same
    LogCapture log;
    auto s = world.setup(QString(R"(
      [ "$#" = 3 ] && [ "$1" = v4l2loopback ] && [ "$2" = "card_label=Pelora AppCam" ] && [ "$3" = exclusive_caps=1 ] || exit 3
      mkdir -p '%1/video4' && echo 'Pelora AppCam' > '%1/video4/name')")
                             .arg(world.sysfs()));
    runToEnd(*s);
    EXPECT_TRUE(s->ready()) << s->status().toStdString();
    EXPECT_EQ(log.text(), "camera extension request overloaded - result) 0\n");
    // Replaced whole, no temporary left beside them.
    EXPECT_EQ(world.etcFiles(), kBootFiles);
    EXPECT_TRUE(readAll(world.etc(kBootFiles[1])).endsWith("\nv4l2loopback\n"));
    const QString options = readAll(world.etc(kBootFiles[0]));
    EXPECT_TRUE(
        options.endsWith("\noptions v4l2loopback card_label=\"Pelora AppCam\" exclusive_caps=1\n"))
        << options.toStdString();
    // modprobe itself takes the line as the module's options.
    const QString modprobe = QStandardPaths::findExecutable("modprobe", {"/usr/sbin", "/sbin"});
    ASSERT_FALSE(modprobe.isEmpty()) << "kmod is in the test packages";
    QProcess config;
    config.start(modprobe, {"-C", world.etc(kBootFiles[0]), "-c"});
    ASSERT_TRUE(config.waitForFinished(10000));
    EXPECT_TRUE(
        QString::fromUtf8(config.readAllStandardOutput())
            .contains("options v4l2loopback card_label=\"Pelora AppCam\" exclusive_caps=1"));
  }
  {  // present at launch: no approval line
    LogCapture log;
    auto s = world.setup("exit 1");
    s->checkAtLaunch();
    EXPECT_TRUE(s->ready());
    EXPECT_EQ(log.text(), "");
  }
  {  // the helper cannot be turned to anything else through its arguments
    QProcess helper;
    helper.start(VirtualCameraSetup::helperPath(), {"--root", "/"});
    ASSERT_TRUE(helper.waitForFinished(10000));
    EXPECT_EQ(helper.exitCode(), 2);
  }
}

}  // namespace
}  // namespace dravin
