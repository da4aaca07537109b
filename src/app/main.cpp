#include <QtQml/qqmlextensionplugin.h>
#include <fcntl.h>
#include <unistd.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QQmlApplicationEngine>
#include <QSocketNotifier>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <csignal>

#include "app_delegate.h"
#include "app_identity.h"

Q_IMPORT_QML_PLUGIN(PeloraDravinPlugin)

namespace {

int stopPipe[2];

// A session that ends asks politely with SIGTERM: quit as if the window had been closed. The
// handler only writes a byte; the main loop does the rest.
void quitOnStopSignals() {
  if (::pipe2(stopPipe, O_CLOEXEC) != 0) return;
  auto* notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, qApp);
  QObject::connect(notifier, &QSocketNotifier::activated, qApp, &QCoreApplication::quit);
  for (int signal : {SIGINT, SIGTERM}) {
    std::signal(signal, [](int) {
      char byte = 1;
      [[maybe_unused]] auto written = ::write(stopPipe[1], &byte, 1);
    });
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The board's web engine shares the window's graphics context; it is set up before the
  // application object exists.
  QtWebEngineQuick::initialize();
  // Widgets for the folder chooser: Qt Quick's own cannot choose an empty folder.
  QApplication application(argc, argv);
  QGuiApplication::setApplicationName(QStringLiteral("Dravin"));
  QGuiApplication::setOrganizationName(QStringLiteral("Pelora"));
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Pelora Dravin"));
  QGuiApplication::setApplicationVersion(dravin::runningVersion());
  QGuiApplication::setDesktopFileName(dravin::applicationId());

  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("Shows and records document cameras."));
  options.addHelpOption();
  options.addVersionOption();
  const QCommandLineOption demoDevices(
      QStringLiteral("demo-devices"),
      QStringLiteral("Adds a test-pattern camera and a test-tone microphone."));
  options.addOption(demoDevices);
  options.process(application);

  quitOnStopSignals();

  QQmlApplicationEngine engine;
  dravin::AppDelegate delegate(engine, options.isSet(demoDevices));
  QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                   &dravin::AppDelegate::applicationWillTerminate);
  delegate.launchApplication();
  if (engine.rootObjects().isEmpty()) return 1;
  return QApplication::exec();
}
