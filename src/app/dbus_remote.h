#pragma once

#include <QDBusArgument>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace dravin {

class BoardSession;
class CameraController;

// One picture control over D-Bus: name, value, minimum, maximum, default.
struct DBusControl {
  QString name;
  int value = 0;
  int minimum = 0;
  int maximum = 0;
  int defaultValue = 0;
};
using DBusControlList = QList<DBusControl>;
QDBusArgument& operator<<(QDBusArgument& argument, const DBusControl& control);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusControl& control);

// The control-bar actions on the session bus (org.pelora.Dravin at /Dravin), for remote
// clickers, scripts and end-to-end tests. Each call does what the matching button does.
class DBusRemote : public QObject, protected QDBusContext {
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

  // The cameras, by name, as the settings picker lists them; starting one of them.
  QStringList ListCameras();
  void SelectCamera(const QString& name);
  // "1920 x 1080, MJPEG, 30 fps"; empty while no camera runs.
  QString CameraMode();
  // "4K@30fps", "1080P@30fps" or "720P@30fps", as the settings picker.
  void SetResolution(const QString& label);
  // The running camera's picture controls, named as v4l2-ctl prints them.
  dravin::DBusControlList ListControls();
  void SetControl(const QString& name, int value);
  // Plugging demo cameras in and out; with --demo-devices only.
  void AddDemoCamera(const QString& name);
  void RemoveDemoCamera(const QString& name);

  // The board's document; each call returns once its work is done, or fails naming the cause.
  // A picture, a PDF (a page each), a folder of slides or a board file, onto the board.
  void OpenOnBoard(const QString& path);
  void NewBoardPage();
  void NextBoardPage();
  void PreviousBoardPage();
  int BoardPageCount();
  // Empty: the board's own file.
  void SaveBoard(const QString& path);
  void OpenBoard(const QString& path);
  // ".pdf": every page; ".png": the current page.
  void ExportBoard(const QString& path);

 public:
  // Set by the application when it runs with demo devices; they answer false for a name that
  // is already plugged in (add) or is not (remove).
  std::function<bool(const QString&)> addDemoCamera;
  std::function<bool(const QString&)> removeDemoCamera;
  void setBoardSession(BoardSession* board) { board_ = board; }

 signals:
  void resolutionRequested(const QString& label);
  void annotationRequested(bool allow);
  void importRequested(const QStringList& paths);
  void libraryRequested(bool show);

 private:
  // A reply sent once the board's work is done: empty text for success, else a D-Bus error.
  std::function<void(const QString&)> replyLater();

  CameraController& camera_;
  BoardSession* board_ = nullptr;
};

}  // namespace dravin

Q_DECLARE_METATYPE(dravin::DBusControl)
