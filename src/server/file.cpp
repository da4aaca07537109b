#include "file.h"

#include "text.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace dravin {

std::string FileError::description() const {
  return "error(" + std::to_string(code) + ": \"" + std::strerror(code) + "\")";
}

File File::openRead(const std::string& path) {
  FILE* pointer = std::fopen(path.c_str(), "rb");
  if (!pointer) throw FileError{errno};
  return File(pointer);
}

bool File::isFolder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> File::listFolder(const std::string& path) {
  DIR* dir = ::opendir(path.c_str());
  if (!dir) throw FileError{errno};
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    if (text::isValidUtf8(entry->d_name)) names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  return names;
}

File::File(FILE* pointer) : pointer_(pointer) {
  struct stat info {};
  if (::fstat(::fileno(pointer_), &info) == 0) {
    regular_ = S_ISREG(info.st_mode);
    size_ = static_cast<long long>(info.st_size);
  }
}

File::File(File&& other) noexcept
    : pointer_(other.pointer_), regular_(other.regular_), size_(other.size_) {
  other.pointer_ = nullptr;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    close();
    pointer_ = other.pointer_;
    regular_ = other.regular_;
    size_ = other.size_;
    other.pointer_ = nullptr;
  }
  return *this;
}

File::~File() {
  close();
}

void File::close() {
  if (pointer_) std::fclose(pointer_);
  pointer_ = nullptr;
}

int File::descriptor() const {
  return pointer_ ? ::fileno(pointer_) : -1;
}

}  // namespace dravin
