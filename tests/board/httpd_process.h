#pragma once

// What the page tests share: waiting on the event loop, and the application's server serving
// the resources folder the way the application does, on a port the system picks, with a key of
// its own for "/files/".
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QUuid>
#include <functional>

namespace test {

inline bool waitUntil(const std::function<bool()>& done, int ms) {
  QDeadlineTimer deadline(ms);
  while (!done()) {
    if (deadline.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

class HttpdProcess {
 public:
  HttpdProcess() {
    QFile keyFile(keyFolder_.filePath(QStringLiteral("key")));
    if (keyFile.open(QIODevice::WriteOnly)) {
      keyFile.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
      keyFile.write(key_.toUtf8() + "\n");
      keyFile.close();
    }
    process_.setProgram(QStringLiteral(DRAVIN_HTTPD));
    process_.setArguments({"--port", "0", "--lessons",
                           QStringLiteral(DRAVIN_SOURCE_DIR "/resources"), "--listen", "127.0.0.1",
                           "--key-file", keyFile.fileName()});
    process_.start();
    QString output;
    const QRegularExpression portPattern(QStringLiteral("port = (\\d+)"));
    waitUntil(
        [&] {
          output += QString::fromUtf8(process_.readAllStandardOutput());
          const auto match = portPattern.match(output);
          if (match.hasMatch()) port_ = match.captured(1).toInt();
          return port_ != 0 || process_.state() == QProcess::NotRunning;
        },
        15000);
  }
  ~HttpdProcess() {
    process_.terminate();
    process_.waitForFinished(5000);
  }
  HttpdProcess(const HttpdProcess&) = delete;
  HttpdProcess& operator=(const HttpdProcess&) = delete;

  int port() const { return port_; }
  // What the application puts in the fragment of its own pages' addresses.
  QString key() const { return key_; }
  QString accessFragment() const { return QStringLiteral("port=%1&key=%2").arg(port_).arg(key_); }

 private:
  QTemporaryDir keyFolder_;
  QString key_ = QUuid::createUuid().toString(QUuid::Id128);
  QProcess process_;
  int port_ = 0;
};

}  // namespace test
