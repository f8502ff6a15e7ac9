#include "tempfile/FileIo.h"

#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <share.h>
#endif

namespace jwcount {
namespace {

std::FILE* OpenFile(const std::filesystem::path& path, bool write) {
#ifdef _WIN32
  // Writing denies other writers but lets others read, as the host expects of the reply file.
  return write ? _wfsopen(path.c_str(), L"wb", _SH_DENYWR) : _wfsopen(path.c_str(), L"rb", _SH_DENYNO);
#else
  return std::fopen(path.c_str(), write ? "wb" : "rb");
#endif
}

class NativeInputFile final : public InputFile {
 public:
  explicit NativeInputFile(std::FILE* file) : file_(file) {}
  ~NativeInputFile() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    const std::size_t got = std::fread(buffer, 1, size, file_);
    if (got == 0 && std::ferror(file_)) return -1;
    return static_cast<std::ptrdiff_t>(got);
  }
  bool Close() override {
    std::FILE* file = file_;
    file_ = nullptr;
    return std::fclose(file) == 0;
  }

 private:
  std::FILE* file_;
};

class NativeOutputFile final : public OutputFile {
 public:
  explicit NativeOutputFile(std::FILE* file) : file_(file) {}
  ~NativeOutputFile() override {
    if (file_ != nullptr) std::fclose(file_);
  }
  bool Write(const char* data, std::size_t size) override {
    return size == 0 || std::fwrite(data, 1, size, file_) == size;
  }
  bool Close() override {
    std::FILE* file = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(file) == 0;
    return std::fclose(file) == 0 && flushed;
  }

 private:
  std::FILE* file_;
};

class RealFileSystem final : public FileSystem {
 public:
  bool Exists(const std::filesystem::path& path) override {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
  }
  std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) override {
    std::FILE* file = OpenFile(path, false);
    if (file == nullptr) return nullptr;
    return std::make_unique<NativeInputFile>(file);
  }
  std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override {
    std::FILE* file = OpenFile(path, true);
    if (file == nullptr) return nullptr;
    return std::make_unique<NativeOutputFile>(file);
  }
  bool Remove(const std::filesystem::path& path) override {
    std::error_code error;
    return std::filesystem::remove(path, error);
  }
};

}  // namespace

FileSystem& NativeFileSystem() {
  static RealFileSystem fileSystem;
  return fileSystem;
}

}  // namespace jwcount
