#pragma once

// An Xvfb server of the test's own, on a display number the server picks itself.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QStandardPaths>
#include <string>

namespace dravin::test {

class XvfbDisplay {
 public:
  static bool available() { return !QStandardPaths::findExecutable("Xvfb").isEmpty(); }

  explicit XvfbDisplay(const std::string& geometry) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string program = QStandardPaths::findExecutable("Xvfb").toStdString();
    const std::string fd = std::to_string(fds[1]);
    // Prepared before fork: the child of a threaded process may only exec. Without -noreset the
    // server starts over whenever its last client leaves, refusing connections meanwhile.
    const char* argv[] = {program.c_str(),  "-displayfd", fd.c_str(), "-screen",  "0",
                          geometry.c_str(), "-nolisten",  "tcp",      "-noreset", nullptr};
    pid_ = fork();
    if (pid_ == 0) {
      close(fds[0]);
      execv(program.c_str(), const_cast<char* const*>(argv));
      _exit(127);
    }
    close(fds[1]);
    // The server writes its display number once it accepts connections.
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    while (pid_ > 0 && poll(&ready, 1, 10000) > 0) {
      char c = 0;
      if (read(fds[0], &c, 1) != 1 || c == '\n') break;
      number += c;
    }
    close(fds[0]);
    if (!number.empty()) name_ = ":" + number;
  }

  ~XvfbDisplay() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  // ":N", or empty when the server did not come up.
  const std::string& name() const { return name_; }

 private:
  pid_t pid_ = -1;
  std::string name_;
};

}  // namespace dravin::test
