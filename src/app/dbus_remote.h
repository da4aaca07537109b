#pragma once

#include <QObject>

namespace dravin {

class CameraController;

// The control-bar actions on the session bus (org.pelora.Dravin at /Dravin), for remote
// clickers, scripts and end-to-end tests. Each call does what the matching button does.
class DBusRemote : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.pelora.Dravin")

 public:
  static constexpr const char* kService = "org.pelora.Dravin";
  static constexpr const char* kPath = "/Dravin";

  explicit DBusRemote(CameraController& camera, QObject* parent = nullptr);
  // Registers the name and object; false (with one log line) when the bus refuses.
  bool registerOnSessionBus();

 public slots:
  void TakeSnapshot();
  void StartRecording();
  void StartScreenRecording();
  void StopRecording();
  // What the control bar's recording timer shows: "mm:ss" of the movie so far, "00:00" idle.
  QString RecordingTime();
  void ToggleFreeze();
  void SetZoom(double factor);
  // "left" or "right".
  void Rotate(const QString& direction);
  void Mirror();
  void Annotate(bool allow);
  // The panels: the web browser, the window tunnel's picker, the second cameras.
  void OpenBrowser();
  void OpenTunnelList();
  void OpenDocCamera();
  void OpenPIPCamera();
  // The browser panel on a local PDF, or on the lessons (offline or online as the settings say).
  void OpenPdf(const QString& path);
  void OpenLessons();
  // The library: files as if chosen in its open panel, and its panel shown or slid away.
  void ImportFiles(const QStringList& paths);
  void ShowLibrary(bool show);

 signals:
  void annotationRequested(bool allow);
  void importRequested(const QStringList& paths);
  void libraryRequested(bool show);

 private:
  CameraController& camera_;
};

}  // namespace dravin
