#pragma once

#include <QObject>
#include <QQmlApplicationEngine>
#include <memory>

#include "board_session.h"
#include "camera_controller.h"
#include "dbus_remote.h"
#include "frame_timer.h"
#include "scene_frames.h"
#include "settings_store.h"
#include "update_checker.h"
#include "virtual_camera.h"
#include "virtual_camera_setup.h"

namespace dravin {

class DemoDeviceSource;

// Runs the launch sequence and what follows a folder grant; the QML window sees it as `app`.
class AppDelegate : public QObject {
  Q_OBJECT
  Q_PROPERTY(SettingsStore* settings READ settings CONSTANT)
  Q_PROPERTY(UpdateChecker* updates READ updates CONSTANT)
  Q_PROPERTY(VirtualCameraSetup* virtualCamera READ virtualCamera CONSTANT)

 public:
  // `demoDevices` adds a test-pattern camera and a test-tone microphone to the real ones.
  AppDelegate(QQmlApplicationEngine& engine, bool demoDevices);

  void launchApplication();
  void applicationWillTerminate();

  SettingsStore* settings() { return &settings_; }
  UpdateChecker* updates() { return &updates_; }
  VirtualCameraSetup* virtualCamera() { return &virtualCameraSetup_; }
  // True when saving into the storage tree is possible; otherwise shows the save guard's alert.
  Q_INVOKABLE bool saveGuard();
  // Something could not be saved: an alert, with the folder chooser when the folder is gone.
  Q_INVOKABLE void reportSaveFailure(const QString& text, bool folderMissing);

 signals:
  void alertRequested(const QString& text);
  // An alert beside a button that opens the folder chooser.
  void storageAlertRequested(const QString& text);
  // A remote asks for the annotation layer to take (or leave) the pointer.
  void annotationRequested(bool allow);
  void importRequested(const QStringList& paths);
  void libraryRequested(bool show);

 private:
  void grantFolder(const QString& folder);
  void wireBoardSession();

  QQmlApplicationEngine& engine_;
  SettingsStore settings_;
  UpdateChecker updates_;
  VirtualCameraSetup virtualCameraSetup_;
  SceneFrames sceneFrames_;  // before the feed, which reads it
  VirtualCameraFeed virtualCameraFeed_{[this] { return sceneFrames_.latest(); }};
  FrameTimer frameTimer_;  // after the feed: its ticks use the feed until it is destroyed
  DemoDeviceSource* demoDevices_ = nullptr;  // owned by the controller; before it
  CameraController camera_;
  DBusRemote remote_{camera_};
  BoardSession board_;
};

}  // namespace dravin
