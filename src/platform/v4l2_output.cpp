#include "v4l2_output.h"

#include <fcntl.h>
#include <linux/videodev2.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace dravin::v4l2 {

namespace {

// A pipe whose reader is slower than this loses the frame instead of holding up the timer.
constexpr auto kPipeWriteBudget = std::chrono::milliseconds(100);

int xioctl(int fd, unsigned long request, void* argument) {
  int result;
  do {
    result = ioctl(fd, request, argument);
  } while (result < 0 && errno == EINTR);
  return result;
}

// The N of "videoN", or -1 for any other name.
int deviceNumber(const std::string& name) {
  constexpr std::string_view prefix = "video";
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  int number = 0;
  for (std::size_t i = prefix.size(); i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9' || number > 100000) return -1;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

// A reader gone from a pipe must not end the process with SIGPIPE: the signal is held back for
// this thread during the write and a pending one is taken away before it is let through again.
class SigpipeBlock {
 public:
  SigpipeBlock() {
    sigemptyset(&pipe_);
    sigaddset(&pipe_, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
  }
  ~SigpipeBlock() {
    if (raised) {
      timespec zero{};
      while (sigtimedwait(&pipe_, nullptr, &zero) == SIGPIPE) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &old_, nullptr);
  }
  bool raised = false;

 private:
  sigset_t pipe_;
  sigset_t old_;
};

}  // namespace

std::string findDeviceByLabel(const std::string& label, const std::string& sysfsRoot,
                              const std::string& devRoot) {
  namespace fs = std::filesystem;
  std::error_code error;
  std::vector<std::pair<int, std::string>> found;
  for (fs::directory_iterator it(sysfsRoot, error), end; !error && it != end; it.increment(error)) {
    const std::string entry = it->path().filename().string();
    const int number = deviceNumber(entry);
    if (number < 0) continue;
    std::ifstream file(it->path() / "name");
    std::string name;
    if (!std::getline(file, name)) continue;
    // The kernel ends the name with a line break; nothing else is trimmed, so "Pelora AppCam 2"
    // or " Pelora AppCam" stay other devices.
    if (name == label) found.emplace_back(number, entry);
  }
  if (found.empty()) return {};
  return devRoot + "/" + std::min_element(found.begin(), found.end())->second;
}

FrameOutput::~FrameOutput() {
  close();
}

void FrameOutput::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  path_.clear();
  requested_ = {};
  size_ = {};
  device_ = false;
  capacity_ = 0;
}

std::optional<QSize> FrameOutput::prepare(const std::string& path, QSize size, int fps) {
  if (path.empty() || size.isEmpty()) {
    close();
    return std::nullopt;
  }
  if (fd_ >= 0 && path == path_ && size == requested_) return size_;
  close();
  // Non-blocking, so a FIFO without a reader fails at once and a full pipe never stalls a tick.
  fd_ = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return std::nullopt;
  struct stat status {};
  if (fstat(fd_, &status) != 0) {
    close();
    return std::nullopt;
  }
  path_ = path;
  requested_ = size;
  device_ = S_ISCHR(status.st_mode);
  if (device_ && !setFormat(size, fps)) {
    close();
    return std::nullopt;
  }
  if (!device_) size_ = size;
  return size_;
}

bool FrameOutput::setFormat(QSize size, int fps) {
  v4l2_format format{};
  format.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
  v4l2_pix_format& pix = format.fmt.pix;
  pix.width = static_cast<std::uint32_t>(size.width());
  pix.height = static_cast<std::uint32_t>(size.height());
  pix.pixelformat = V4L2_PIX_FMT_MJPEG;
  pix.field = V4L2_FIELD_NONE;
  pix.colorspace = V4L2_COLORSPACE_JPEG;
  // A JPEG of a window at quality 70 stays far below two bytes a pixel; the driver may give more.
  pix.sizeimage = pix.width * pix.height * 2;
  if (xioctl(fd_, VIDIOC_S_FMT, &format) < 0) {
    // Readers that still hold the device keep its earlier size; frames are then made to fit it.
    format = {};
    format.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
    if (xioctl(fd_, VIDIOC_G_FMT, &format) < 0) return false;
  }
  if (pix.pixelformat != V4L2_PIX_FMT_MJPEG || pix.width == 0 || pix.height == 0) return false;
  size_ = QSize(static_cast<int>(pix.width), static_cast<int>(pix.height));
  capacity_ = pix.sizeimage;

  // The rate readers are told; a device that does not keep one still takes the frames.
  v4l2_streamparm parm{};
  parm.type = V4L2_BUF_TYPE_VIDEO_OUTPUT;
  parm.parm.output.timeperframe = {1, static_cast<std::uint32_t>(std::max(fps, 1))};
  xioctl(fd_, VIDIOC_S_PARM, &parm);
  return true;
}

bool FrameOutput::write(const QByteArray& frame) {
  if (fd_ < 0 || frame.isEmpty()) return false;
  if (!device_) return writeToPipe(frame);
  // The device turns each write into one buffer and cuts what does not fit: a cut JPEG is no
  // frame, so it is not sent.
  if (capacity_ && static_cast<std::size_t>(frame.size()) > capacity_) return false;
  ssize_t written;
  do {
    written = ::write(fd_, frame.constData(), static_cast<std::size_t>(frame.size()));
  } while (written < 0 && errno == EINTR);
  if (written < 0) {
    // The device went away (module unloaded): the next tick finds it again or not at all.
    if (errno != EAGAIN) close();
    return false;
  }
  return written == frame.size();
}

bool FrameOutput::writeToPipe(const QByteArray& frame) {
  SigpipeBlock block;
  const auto deadline = std::chrono::steady_clock::now() + kPipeWriteBudget;
  const char* data = frame.constData();
  const auto total = static_cast<std::size_t>(frame.size());
  std::size_t done = 0;
  while (done < total) {
    const ssize_t n = ::write(fd_, data + done, total - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd ready{fd_, POLLOUT, 0};
      if (left.count() > 0 && poll(&ready, 1, static_cast<int>(left.count())) > 0 &&
          !(ready.revents & (POLLERR | POLLHUP))) {
        continue;
      }
      if (done == 0) return false;  // the stream is still whole: only this frame is lost
    }
    block.raised = true;
    close();
    return false;
  }
  return true;
}

}  // namespace dravin::v4l2
