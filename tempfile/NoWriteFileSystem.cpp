#include "tempfile/NoWriteFileSystem.h"

namespace jwcount {
namespace {

// Keeps what is written in a string, emptied when the file is made.
class KeptFile final : public OutputFile {
 public:
  explicit KeptFile(std::string& bytes) : bytes_(bytes) { bytes_.clear(); }
  bool Write(const char* data, std::size_t size) override {
    bytes_.append(data, size);
    return true;
  }
  bool Close() override { return true; }

 private:
  std::string& bytes_;
};

}  // namespace

std::unique_ptr<OutputFile> NoWriteFileSystem::Create(const std::filesystem::path&) {
  return std::make_unique<KeptFile>(written_);
}

}  // namespace jwcount
