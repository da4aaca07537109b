#include "errno_text.h"

#include <cerrno>
#include <cstring>

namespace dravin::Errno {
std::string lastErrorText() {
  char buffer[256];
  // GNU strerror_r may return a static string instead of filling the buffer.
  return strerror_r(errno, buffer, sizeof buffer);
}
}  // namespace dravin::Errno
