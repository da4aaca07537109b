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
  // Read once, when the file is opened: the length announced for a file is the length sent,
  // even if the file grows meanwhile.
  bool isRegular() const { return regular_; }
  std::optional<long long> size() const { return size_; }  // none when unreadable

 private:
  explicit File(FILE* pointer);
  FILE* pointer_;
  bool regular_ = false;
  std::optional<long long> size_;
};

}  // namespace dravin
