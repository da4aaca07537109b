#include <QtQml/qqmlextensionplugin.h>
#include <QtWebEngineQuick/qtwebenginequickglobal.h>
#include <fcntl.h>
#include <unistd.h>
#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QQmlApplicationEngine>
#include <QSocketNotifier>
#include <csignal>

#include "app_delegate.h"
#include "app_identity.h"
#include "display_session.h"

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

const QCommandLineOption demoDevices(
    QStringLiteral("demo-devices"),
    QStringLiteral("Adds a test-pattern camera and a test-tone microphone."));

void nameApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("Dravin"));
  QCoreApplication::setOrganizationName(QStringLiteral("Pelora"));
  QCoreApplication::setApplicationVersion(dravin::runningVersion());
}

void describeOptions(QCommandLineParser& options) {
  options.setApplicationDescription(QStringLiteral("Shows and records document cameras."));
  options.addHelpOption();
  options.addVersionOption();
  options.addOption(demoDevices);
}

// --help and --version are answered without a display, as from a terminal over ssh.
bool asksOnlyForText(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const QLatin1String argument(argv[i]);
    for (const char* text : {"-h", "-?", "--help", "--help-all", "-v", "--version"}) {
      if (argument == QLatin1String(text)) return true;
    }
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (asksOnlyForText(argc, argv)) {
    QCoreApplication terminal(argc, argv);
    nameApplication();
    QCommandLineParser options;
    describeOptions(options);
    options.process(terminal);  // prints and exits
    return 0;
  }

  dravin::choosePlatformForSession();
  // The board's web engine shares the window's graphics context; it is set up before the
  // application object exists.
  QtWebEngineQuick::initialize();
  // Widgets for the folder chooser: Qt Quick's own cannot choose an empty folder.
  QApplication application(argc, argv);
  nameApplication();
  QGuiApplication::setApplicationDisplayName(QStringLiteral("Pelora Dravin"));
  QGuiApplication::setDesktopFileName(dravin::desktopEntryId());
  // The installed icon theme's, or the built-in one when run from the build tree.
  QGuiApplication::setWindowIcon(QIcon::fromTheme(
      dravin::desktopEntryId(), QIcon(QStringLiteral(":/PeloraDravin/icons/app_icon.svg"))));

  QCommandLineParser options;
  describeOptions(options);
  options.process(application);

  quitOnStopSignals();

  QQmlApplicationEngine engine;
  dravin::AppDelegate delegate(engine, options.isSet(demoDevices));
  QObject::connect(&application, &QCoreApplication::aboutToQuit, &delegate,
                   &dravin::AppDelegate::applicationWillTerminate);
  delegate.launchApplication();
  if (engine.rootObjects().isEmpty()) return 1;
  const int status = QApplication::exec();
  // The window's bindings read the delegate's objects, so the window goes before them.
  qDeleteAll(engine.rootObjects());
  return status;
}
