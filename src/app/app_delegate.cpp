#include "app_delegate.h"

#include <QQmlContext>
#include <QQuickWindow>
#include <QSettings>

#include "app_identity.h"
#include "app_log.h"
#include "board_assets.h"
#include "board_bridge.h"
#include "demo_device_source.h"
#include "doccam_controller.h"
#include "folder_chooser.h"
#include "global_init.h"
#include "gst_device_source.h"
#include "nb_hid_device.h"
#include "notification_center.h"
#include "notification_names.h"
#include "resource_paths.h"
#include "storage_folders.h"
#include "user_texts.h"
#include "window_tunnel.h"

namespace dravin {

namespace {

// The window's last windowed frame, kept under the window's title like a frame-autosave name.
void rememberGeometry(QQuickWindow* window) {
  QSettings settings(QStringLiteral("Pelora"), QStringLiteral("Dravin"));
  QString key = "window/" + window->title();
  QRect stored = settings.value(key).toRect();
  if (stored.isValid()) window->setGeometry(stored);
  QObject::connect(window, &QWindow::visibilityChanged, window, [window, key] {
    if (window->visibility() != QWindow::Windowed) return;
    QSettings(QStringLiteral("Pelora"), QStringLiteral("Dravin")).setValue(key, window->geometry());
  });
}

std::unique_ptr<DeviceSource> deviceSource(bool demoDevices, DemoDeviceSource** demo) {
  auto devices = std::make_unique<GstDeviceSource>();
  if (!demoDevices) return devices;
  auto withDemo = std::make_unique<DemoDeviceSource>(std::move(devices));
  *demo = withDemo.get();
  return withDemo;
}

}  // namespace

AppDelegate::AppDelegate(QQmlApplicationEngine& engine, bool demoDevices)
    : engine_(engine),
      updates_(updateFeedAddress(), runningVersion()),
      frameTimer_([this] { virtualCameraFeed_.pushFrame(); }),
      camera_(deviceSource(demoDevices, &demoDevices_)),
      board_(BoardBridge::instance()) {
  connect(&camera_, &CameraController::alertRequested, this, &AppDelegate::alertRequested);
  connect(&camera_, &CameraController::storageAlertRequested, this,
          &AppDelegate::storageAlertRequested);
  // A maker's camera brings its HID link up; a new camera replaces the previous link.
  camera_.startHid = [](const TarvoCamera& camera) {
    NBHIDDevice& hid = NBHIDDevice::shared();
    hid.setTarvoCamera(camera);
    hid.start();
  };
  connect(&remote_, &DBusRemote::annotationRequested, this, &AppDelegate::annotationRequested);
  connect(&remote_, &DBusRemote::importRequested, this, &AppDelegate::importRequested);
  connect(&remote_, &DBusRemote::libraryRequested, this, &AppDelegate::libraryRequested);
  connect(&remote_, &DBusRemote::resolutionRequested, this, [this](const QString& label) {
    settings_.setResolution(label);
    camera_.setResolution(label);
  });
  if (demoDevices_) {
    remote_.addDemoCamera = [this](const QString& name) {
      return demoDevices_->addCamera(name.toStdString());
    };
    remote_.removeDemoCamera = [this](const QString& name) {
      return demoDevices_->removeCamera(name.toStdString());
    };
  }
  BoardBridge& board = BoardBridge::instance();
  board.setCameraController(&camera_);
  board.setServerPort(httpPort());
  board.setAccessKey(accessKey());
  connect(&board, &BoardBridge::alertRequested, this, &AppDelegate::alertRequested);
  WindowTunnel::shared().connectBridge(board);
  camera_.grabBoard = [&board](QSize windowSize, std::function<void(const QImage&)> done) {
    board.grabBoard(windowSize, std::move(done));
  };
  board.latestDocCamFrame = &DocCamController::latestFrameImage;
  wireBoardSession();
  connect(&settings_, &SettingsStore::folderGranted, this, &AppDelegate::grantFolder);
  connect(&settings_, &SettingsStore::folderChooserRequested, this, [this] {
    auto roots = engine_.rootObjects();
    auto* window = roots.isEmpty() ? nullptr : qobject_cast<QWindow*>(roots.first());
    showFolderChooser(window, [this](const QString& folder) {
      settings_.storeFolderGrant(QUrl::fromLocalFile(folder));
    });
  });
}

void AppDelegate::wireBoardSession() {
  // The picture under the board, cut to the board's view as the page lays it out.
  board_.pictureAsSeen = [this] {
    const QImage window = camera_.pictureAsSeen();
    const QRect area = BoardBridge::instance().boardArea().toAlignedRect();
    if (window.isNull() || area.isEmpty()) return window;
    return window.copy(area);
  };
  connect(&board_, &BoardSession::alertRequested, this, &AppDelegate::alertRequested);
  remote_.setBoardSession(&board_);
}

void AppDelegate::launchApplication() {
  settings_.restoreSettings();

  // Root view and window: Main.qml centres a 1280 x 800 window titled with the display name.
  engine_.rootContext()->setContextProperty("app", this);
  engine_.rootContext()->setContextProperty("cameraController", &camera_);
  engine_.rootContext()->setContextProperty("hidDevice", &NBHIDDevice::shared());
  engine_.rootContext()->setContextProperty("boardBridge", &BoardBridge::instance());
  engine_.rootContext()->setContextProperty("boardSession", &board_);
  // Windows with an alpha channel: the virtual camera reads the window's frame back, and Mesa
  // copies an RGBA framebuffer as it is where one without alpha goes pixel by pixel (three times
  // the CPU at 1080p). The scene stays opaque: it is cleared with the window's colour.
  QQuickWindow::setDefaultAlphaBuffer(true);
  engine_.load(QUrl(QStringLiteral("qrc:/PeloraDravin/qml/Main.qml")));
  auto* window = engine_.rootObjects().isEmpty()
                     ? nullptr
                     : qobject_cast<QQuickWindow*>(engine_.rootObjects().first());
  if (window) {
    rememberGeometry(window);
    window->show();
    window->raise();
    window->requestActivate();
    window->showFullScreen();
  }

  NotificationCenter::instance().observe(
      notifications::kChangeArchive, this,
      [this](const QVariantMap&) { settings_.chooseSaveFolder(); });
  const ResolutionFlags resolution = settings_.resolutionFlags();
  camera_.setSelection(std::nullopt, std::nullopt, resolution.useFullHD, resolution.useUltraHD);
  camera_.prepare([](std::optional<CameraControllerError> error) {
    if (error) logLine(QStringLiteral("Failed preparing the camera: ") + error->what());
  });
  remote_.registerOnSessionBus();

  // The feed's pictures are our own scene's, read back as it renders, on X11 and Wayland alike.
  sceneFrames_.attach(window);
  virtualCameraSetup_.checkAtLaunch();
  frameTimer_.start();
}

void AppDelegate::applicationWillTerminate() {
  board_.saveBeforeQuit();
  frameTimer_.cancel();
  NBHIDDevice::shared().stop();
}

void AppDelegate::grantFolder(const QString& folder) {
  initGlobal(folder, resourceFolder());
  if (storageFolders()) board_.setFolders(storageFolders()->boards, BoardAssets::defaultFolder());
  updates_.checkForUpdate();
}

bool AppDelegate::saveGuard() {
  if (storageFolders()) return true;
  emit alertRequested(texts::kSaveGuard);
  return false;
}

void AppDelegate::reportSaveFailure(const QString& text, bool folderMissing) {
  if (folderMissing) {
    emit storageAlertRequested(text);
  } else {
    emit alertRequested(text);
  }
}

}  // namespace dravin
