#pragma once

#include <iostream>
#include <sstream>
#include <string>

namespace dravin {

// Collects what the code under test writes to the log (standard output) while it lives.
class LogCapture {
 public:
  LogCapture() : old_(std::cout.rdbuf(buffer_.rdbuf())) {}
  ~LogCapture() { std::cout.rdbuf(old_); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  std::string text() const { return buffer_.str(); }

 private:
  std::ostringstream buffer_;
  std::streambuf* old_;
};

}  // namespace dravin
