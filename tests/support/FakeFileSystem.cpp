#include "tests/support/FakeFileSystem.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace jwcount::test {
namespace {

class FakeInputFile final : public InputFile {
 public:
  FakeInputFile(FakeFileSystem& fs, const std::string& bytes) : fs_(fs), bytes_(bytes) {
    ++fs_.filesOpenForRead;
  }
  ~FakeInputFile() override { --fs_.filesOpenForRead; }
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (fs_.failAtRead != 0 && ++reads_ >= fs_.failAtRead) return -1;
    const std::size_t n = std::min({size, fs_.readChunk, bytes_.size() - pos_});
    if (n > 0) std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }
  bool Close() override { return !fs_.closeInputFails; }

 private:
  FakeFileSystem& fs_;
  const std::string& bytes_;
  std::size_t pos_ = 0;
  int reads_ = 0;
};

class FakeOutputFile final : public OutputFile {
 public:
  FakeOutputFile(FakeFileSystem& fs, std::filesystem::path path) : fs_(fs), path_(std::move(path)) {
    ++fs_.filesOpenForWrite;
  }
  ~FakeOutputFile() override { --fs_.filesOpenForWrite; }
  bool Write(const char* data, std::size_t size) override {
    const auto found = fs_.files.find(path_);
    if (found == fs_.files.end()) return false;
    std::string& file = found->second;
    const std::size_t room = fs_.failWriteAtByte > file.size() ? fs_.failWriteAtByte - file.size() : 0;
    file.append(data, std::min(size, room));
    return size <= room;
  }
  bool Close() override { return !fs_.closeOutputFails; }

 private:
  FakeFileSystem& fs_;
  std::filesystem::path path_;
};

}  // namespace

std::unique_ptr<InputFile> FakeFileSystem::OpenForRead(const std::filesystem::path& path) {
  const auto found = files.find(path);
  if (openFails || found == files.end()) return nullptr;
  return std::make_unique<FakeInputFile>(*this, found->second);
}

std::unique_ptr<OutputFile> FakeFileSystem::Create(const std::filesystem::path& path) {
  if (createFails) return nullptr;
  files[path].clear();
  return std::make_unique<FakeOutputFile>(*this, path);
}

}  // namespace jwcount::test
