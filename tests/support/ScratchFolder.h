// A scratch folder on disk that is removed with all it holds, and whole files as bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace jwcount::test {

// A fresh, uniquely named folder under the system's temporary folder.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& path, std::string_view bytes);
// The whole file; "" when it cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace jwcount::test
