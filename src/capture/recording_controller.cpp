#include "recording_controller.h"

#include <QFile>
#include <QImage>
#include <QPointer>
#include <QThreadPool>
#include <QUrl>

#include "app_log.h"
#include "devices.h"
#include "display_session.h"
#include "file_naming.h"
#include "free_memory.h"
#include "movie_preview.h"
#include "movie_writer.h"
#include "notification_center.h"
#include "notification_names.h"
#include "screen_cast_request.h"
#include "screen_recorder.h"
#include "screencast_portal.h"
#include "serial_queue.h"
#include "user_texts.h"

namespace dravin {

namespace {

const QString kScreenPermissionText = QStringLiteral(
    "Please click OK and then allow the screen recording permission for Pelora in System "
    "Preferences -> Security & Privacy -> Screen Recording!");

// Gone once the portal has returned from the call this is made in.
void dropLater(std::unique_ptr<ScreenCastPortal>& portal) {
  if (!portal) return;
  portal->close();
  portal.release()->deleteLater();
}

QString twoDigits(qint64 value) {
  return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

}  // namespace

// The camera's movie writer or the screen recorder, and its file.
struct RecordingController::Recording {
  QString source;
  QString path;
  std::unique_ptr<gst::MovieWriter> writer;
  std::shared_ptr<ScreenRecorder> screen;
  // The portal's session the screen comes through; closing it ends the stream.
  std::unique_ptr<ScreenCastPortal> portal;
  bool screenPaused = false;
};

RecordingController::RecordingController() = default;

RecordingController::~RecordingController() {
  pendingCast_.reset();
  std::shared_ptr<Recording> recording;
  {
    std::lock_guard lock(mutex_);
    recording = std::move(recording_);
  }
  // Closing down: the file plays as it is; compacting it would hold up the exit.
  if (recording && recording->writer) {
    recording->writer->finish(gst::MovieWriter::Finishing::asWritten);
  }
}

std::shared_ptr<RecordingController::Recording> RecordingController::current() const {
  std::lock_guard lock(mutex_);
  return recording_;
}

bool RecordingController::isCurrent(const std::shared_ptr<Recording>& recording) const {
  std::lock_guard lock(mutex_);
  return recording_ == recording;
}

bool RecordingController::isRecording() const {
  return starting_ || current();
}

void RecordingController::startCamera() {
  if (isRecording() || pendingCast_) return;
  const auto folder = videoFolder ? videoFolder() : std::nullopt;
  if (!folder) return;
  source_ = QStringLiteral("camera");
  const QString path = claimCaptureFile(*folder, QStringLiteral(".mp4"));
  if (path.isEmpty()) {
    logLine(QStringLiteral("Error recording movie: cannot create a file in ") + *folder);
    return;
  }
  auto recording = std::make_shared<Recording>();
  recording->source = source_;
  recording->path = path;
  QPointer<RecordingController> self(this);
  std::weak_ptr<Recording> weak = recording;
  // A full disk stops the recording as the user's Stop would.
  auto failed = [self, weak](const gst::WriteFailure&) {
    onMainThread([self, weak] {
      auto current = weak.lock();
      if (self && current && self->isCurrent(current)) self->stop();
    });
  };
  const bool withSound = microphone && microphone().has_value();
  try {
    recording->writer = std::make_unique<gst::MovieWriter>(path.toStdString(), withSound, failed);
  } catch (const gst::GstError& error) {
    QFile::remove(path);
    logLine(QStringLiteral("Error recording movie: ") + error.what());
    return;
  }
  {
    std::lock_guard lock(mutex_);
    // Started on a frozen picture: nothing is recorded until the picture runs again.
    if (frozen_) recording->writer->pause();
    recording_ = recording;
  }
  emit recordingChanged();
}

void RecordingController::startScreen() {
  if (isRecording() || pendingCast_) return;
  const bool allowed =
      screenRecordingAllowed ? screenRecordingAllowed() : dravin::screenRecordingAllowed();
  if (!allowed) {
    emit alertRequested(kScreenPermissionText);
    return;
  }
  const auto folder = videoFolder ? videoFolder() : std::nullopt;
  if (!folder) return;
  source_ = QStringLiteral("screen");
  std::unique_ptr<ScreenCastPortal> portal;
  if (makeScreenCastPortal) {
    portal = makeScreenCastPortal();
  } else if (displaySession() == DisplaySession::wayland) {
    portal = std::make_unique<ScreenCastPortal>();
  }
  if (!portal) {
    recordScreen(
        *folder,
        [](const std::string& path, const std::optional<CaptureDevice>& mic) {
          const auto screen = Devices::mainScreen();
          if (!screen) throw ScreenRecorder::Error(ScreenRecorder::Error::Code::invalidScreen);
          return std::make_unique<ScreenRecorder>(path, 30, std::nullopt, true, false, screen->id,
                                                  mic, VideoCodec::h264);
        },
        nullptr);
    return;
  }
  // The file is claimed once the user has agreed: a declined dialog leaves none behind.
  pendingCast_ = std::move(portal);
  QPointer<RecordingController> self(this);
  askForScreenCast(
      *pendingCast_, ScreenCastSource::monitor, [self, folder = *folder](ScreenCastAnswer answer) {
        if (!self || !self->pendingCast_) return;
        std::unique_ptr<ScreenCastPortal> cast = std::move(self->pendingCast_);
        if (auto* error = std::get_if<ScreenRecorder::Error>(&answer)) {
          logLine(QStringLiteral("Failed to initialize screen recording ") + error->what());
          dropLater(cast);
          return;
        }
        // The descriptor stays open with its copy here until the recorder has its own.
        const auto& granted = std::get<ScreenCastStream>(answer);
        self->recordScreen(
            folder,
            [granted](const std::string& path, const std::optional<CaptureDevice>& mic) {
              const PipeWireStream stream{granted.fd.fileDescriptor(), granted.nodeId,
                                          VideoSize{granted.size.width(), granted.size.height()}};
              return std::make_unique<ScreenRecorder>(path, 30, stream, mic, VideoCodec::h264);
            },
            std::move(cast));
      });
}

void RecordingController::recordScreen(const QString& folder, const ScreenRecorderMaker& make,
                                       std::unique_ptr<ScreenCastPortal> portal) {
  const QString path = claimCaptureFile(folder, QStringLiteral(".mp4"));
  if (path.isEmpty()) {
    logLine(QStringLiteral("Failed to initialize screen recording: cannot create a file in ") +
            folder);
    dropLater(portal);
    return;
  }
  auto recording = std::make_shared<Recording>();
  recording->source = QStringLiteral("screen");
  recording->path = path;
  recording->portal = std::move(portal);
  starting_ = recording;
  emit recordingChanged();
  // Opening the screen and the microphone waits for their pipelines, seconds at worst: not on the
  // main thread. A Stop meanwhile withdraws the recording once it is open.
  QPointer<RecordingController> self(this);
  auto mic = microphone ? microphone() : std::nullopt;
  QThreadPool::globalInstance()->start([self, recording, make, mic] {
    std::shared_ptr<ScreenRecorder> screen;
    QString error;
    try {
      screen = make(recording->path.toStdString(), mic);
    } catch (const std::exception& failure) {
      error = QString::fromUtf8(failure.what());
    }
    onMainThread([self, recording, screen, error]() mutable {
      // Gone or withdrawn: the recorder, let go here, leaves no empty movie behind.
      if (self) self->screenOpened(recording, std::move(screen), error);
      screen.reset();
      if (!recording->screen) {
        QFile::remove(recording->path);
        dropLater(recording->portal);
      }
    });
  });
}

void RecordingController::screenOpened(const std::shared_ptr<Recording>& recording,
                                       std::shared_ptr<ScreenRecorder> screen,
                                       const QString& openError) {
  if (starting_ != recording) {
    logLine(QStringLiteral("Screen recording withdrawn before it started"));
    return;
  }
  starting_.reset();
  if (!screen) {
    logLine(QStringLiteral("Failed to initialize screen recording ") + openError);
    emit recordingChanged();
    return;
  }
  recording->screen = std::move(screen);
  QPointer<RecordingController> self(this);
  std::weak_ptr<Recording> weak = recording;
  recording->screen->onStart = [] { logLine(QStringLiteral("STARTED")); };
  recording->screen->onFinish = [self, weak](const std::string&,
                                             const std::optional<std::string>& error) {
    onMainThread([self, weak, error] {
      auto finished = weak.lock();
      if (self && finished) self->finish(finished, QString::fromStdString(error.value_or("")));
    });
  };
  {
    std::lock_guard lock(mutex_);
    recording_ = recording;
  }
  recording->screen->start();
  emit recordingChanged();
}

void RecordingController::stop() {
  if (pendingCast_) {
    // The portal's dialog goes away unanswered; nothing was recorded, nothing is announced.
    pendingCast_->cancel();
    dropLater(pendingCast_);
    logLine(QStringLiteral("Screen recording withdrawn before the screen was shared"));
    return;
  }
  if (starting_) {
    starting_.reset();
    emit recordingChanged();
    return;
  }
  std::shared_ptr<Recording> recording;
  {
    std::lock_guard lock(mutex_);
    recording = std::move(recording_);
  }
  if (!recording) return;
  emit recordingChanged();
  if (recording->screen) {
    // Kept until its finish callback has announced the file.
    finishingScreens_.push_back(recording);
    recording->screen->stop();
    return;
  }
  QPointer<RecordingController> self(this);
  // Finishing the file waits for the encoder to drain: not on the main thread.
  QThreadPool::globalInstance()->start([self, recording] {
    const std::string error = recording->writer->finish();
    onMainThread([self, recording, error] {
      if (self) self->finish(recording, QString::fromStdString(error));
    });
  });
}

void RecordingController::finish(std::shared_ptr<Recording> recording, const QString& error) {
  const bool screen = recording->source == QLatin1String("screen");
  std::erase(finishingScreens_, recording);
  dropLater(recording->portal);
  bool wasCurrent = false;
  {
    // A screen recording whose writing failed ends without a Stop.
    std::lock_guard lock(mutex_);
    if (recording_ == recording) {
      recording_.reset();
      wasCurrent = true;
    }
  }
  if (wasCurrent) emit recordingChanged();
  const QUrl url = QUrl::fromLocalFile(recording->path);
  const auto failure =
      recording->writer ? recording->writer->failure() : recording->screen->writeFailure();
  if (failure) {
    // What was written up to the failure plays; it is kept and announced like any recording.
    const QString text =
        QStringLiteral("Recording stopped: ") + (failure->kind == gst::WriteFailure::Kind::diskFull
                                                     ? texts::kDiskFull
                                                     : QString::fromStdString(failure->text));
    logLine(text);
    emit alertRequested(text);
    if (!QFile::exists(recording->path)) return;
  } else if (!error.isEmpty()) {
    logLine((screen ? QStringLiteral("Finished Error recording screen: ")
                    : QStringLiteral("Error recording movie: ")) +
            error);
    return;
  }
  logLine((screen ? QStringLiteral("screen recorded at ") : QStringLiteral("recorded ")) +
          url.toString());
  QThreadPool::globalInstance()->start([url, path = recording->path] {
    QImage preview = gst::moviePreview(path.toStdString());
    NotificationCenter::instance().post(
        notifications::kVideoRecorded,
        {{QStringLiteral("image"), preview}, {QStringLiteral("url"), url}});
    releaseFreedMemory();
  });
}

void RecordingController::setFrozen(bool frozen) {
  std::shared_ptr<Recording> recording;
  {
    std::lock_guard lock(mutex_);
    frozen_ = frozen;
    recording = recording_;
  }
  if (recording && recording->writer) {
    if (frozen) {
      recording->writer->pause();
    } else {
      recording->writer->resume();
    }
  } else if (recording && recording->screen && recording->screenPaused != frozen) {
    recording->screenPaused = frozen;
    if (frozen) {
      recording->screen->pause();
    } else {
      recording->screen->resume();
    }
  }
}

QString RecordingController::timeString() const {
  const auto recording = current();
  GstClockTime duration = 0;
  if (recording && recording->writer) duration = recording->writer->recordedDuration();
  if (recording && recording->screen) duration = recording->screen->recordedDuration();
  const qint64 seconds = static_cast<qint64>(duration / GST_SECOND);
  return twoDigits(seconds / 60) + ":" + twoDigits(seconds % 60);
}

void RecordingController::pushVideo(GstSample* sample) {
  const auto recording = current();
  if (recording && recording->writer) recording->writer->pushVideo(sample);
}

void RecordingController::pushAudio(GstSample* sample) {
  const auto recording = current();
  if (recording && recording->writer) recording->writer->pushAudio(sample);
}

}  // namespace dravin
