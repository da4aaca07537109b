#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace dravin {

struct FileError {
  int code;  // errno at the failure
  std::string description() const;
};

// Owns one C stdio stream; sent to a socket only through Socket::sendFile.
class File {
 public:
  static File openRead(const std::string& path);  // throws FileError
  static bool isFolder(const std::string& path);
  static std::vector<std::string> listFolder(const std::string& path);  // throws FileError

  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  ~File();

  void close();
  FILE* pointer() const { return pointer_; }
  int descriptor() const;
  bool isRegular() const;
  std::optional<long long> size() const;  // none when the attributes cannot be read

 private:
  explicit File(FILE* pointer) : pointer_(pointer) {}
  FILE* pointer_;
};

}  // namespace dravin
