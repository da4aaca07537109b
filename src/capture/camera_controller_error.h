#pragma once

#include <stdexcept>
#include <string>

namespace dravin {

// Failures of the capture session, thrown to the caller; the description names the case.
class CameraControllerError : public std::runtime_error {
 public:
  enum class Code {
    captureSessionAlreadyRunning,
    captureSessionIsMissing,
    inputsAreInvalid,
    invalidOperation,
    noCamerasAvailable,
    noMicrophonesAvailable,
    unknown,
  };

  explicit CameraControllerError(Code code, const std::string& detail = {})
      : std::runtime_error(describe(code, detail)), code_(code) {}

  Code code() const { return code_; }

  static std::string describe(Code code, const std::string& detail) {
    static constexpr const char* kNames[] = {"captureSessionAlreadyRunning",
                                             "captureSessionIsMissing",
                                             "inputsAreInvalid",
                                             "invalidOperation",
                                             "noCamerasAvailable",
                                             "noMicrophonesAvailable",
                                             "unknown"};
    std::string text = kNames[static_cast<int>(code)];
    return detail.empty() ? text : text + ": " + detail;
  }

 private:
  Code code_;
};

}  // namespace dravin
