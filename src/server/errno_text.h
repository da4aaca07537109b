#pragma once

#include <string>

namespace dravin::Errno {
// The C library's message for the current errno.
std::string lastErrorText();
}  // namespace dravin::Errno
