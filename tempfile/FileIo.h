// The file operations the tool needs, behind one small interface so that tests can make any of them
// fail on demand.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>

namespace jwcount {

class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to size bytes; returns the number read, 0 at the end of the file, -1 on a read error.
  virtual std::ptrdiff_t Read(char* buffer, std::size_t size) = 0;
  // Returns false when closing fails.
  virtual bool Close() = 0;
};

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes all size bytes or returns false.
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Flushes and closes; returns false when that fails.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool Exists(const std::filesystem::path& path) = 0;
  // Opens for reading only; nullptr when that fails.
  virtual std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) = 0;
  // Creates or replaces the file; others may read it while it is open but not write it. nullptr on failure.
  virtual std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) = 0;
  // Deletes the file; false when there was none or it could not be deleted.
  virtual bool Remove(const std::filesystem::path& path) = 0;
};

// The real file system (wide-character paths on Windows).
FileSystem& NativeFileSystem();

}  // namespace jwcount
