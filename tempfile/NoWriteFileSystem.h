// A file system that reads through another one and writes nothing to disk: the reply of a count run that
// must leave the files alone (`jwcount-cli count`, the benchmarks) goes into Written() instead.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "tempfile/FileIo.h"

namespace jwcount {

class NoWriteFileSystem final : public FileSystem {
 public:
  explicit NoWriteFileSystem(FileSystem& base) : base_(base) {}
  // The bytes of the file created last.
  const std::string& Written() const { return written_; }
  bool Exists(const std::filesystem::path& path) override { return base_.Exists(path); }
  std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) override {
    return base_.OpenForRead(path);
  }
  std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override;
  bool Remove(const std::filesystem::path&) override { return false; }

 private:
  FileSystem& base_;
  std::string written_;
};

}  // namespace jwcount
