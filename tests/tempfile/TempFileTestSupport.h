// Shared helpers of the exchange-file tests: a file system in memory whose operations fail on demand,
// a scratch folder on disk, and a reader fed from a list of lines.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "JwwGaibu.h"

namespace jwcount::test {

// Serves a byte string in pieces of at most `chunk` bytes; read call number `failAtRead` (from 1; 0 never)
// and every later one report a read error.
class FakeInputFile final : public InputFile {
 public:
  FakeInputFile(std::string bytes, std::size_t chunk, int failAtRead = 0, bool closeFails = false)
      : bytes_(std::move(bytes)), chunk_(chunk), failAtRead_(failAtRead), closeFails_(closeFails) {}
  std::ptrdiff_t Read(char* buffer, std::size_t size) override {
    if (failAtRead_ != 0 && ++reads_ >= failAtRead_) return -1;
    const std::size_t n = std::min({size, chunk_, bytes_.size() - pos_});
    if (n > 0) std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return static_cast<std::ptrdiff_t>(n);
  }
  bool Close() override { return !closeFails_; }

 private:
  std::string bytes_;
  std::size_t chunk_;
  int failAtRead_;
  bool closeFails_;
  std::size_t pos_ = 0;
  int reads_ = 0;
};

// Files held in memory by path.
class FakeFileSystem final : public FileSystem {
 public:
  std::map<std::filesystem::path, std::string> files;
  std::size_t readChunk = 7;
  int failAtRead = 0;
  bool openFails = false;
  bool closeInputFails = false;
  bool createFails = false;
  // A write that would take the file beyond this many bytes fails and writes nothing.
  std::size_t writeBudget = std::numeric_limits<std::size_t>::max();
  bool closeOutputFails = false;

  bool Exists(const std::filesystem::path& path) override { return files.count(path) != 0; }
  std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) override {
    const auto found = files.find(path);
    if (openFails || found == files.end()) return nullptr;
    return std::make_unique<FakeInputFile>(found->second, readChunk, failAtRead, closeInputFails);
  }
  std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override {
    if (createFails) return nullptr;
    files[path].clear();
    return std::make_unique<Output>(*this, path);
  }
  bool Remove(const std::filesystem::path& path) override { return files.erase(path) != 0; }

 private:
  class Output final : public OutputFile {
   public:
    Output(FakeFileSystem& fs, std::filesystem::path path) : fs_(fs), path_(std::move(path)) {}
    bool Write(const char* data, std::size_t size) override {
      const auto found = fs_.files.find(path_);
      if (found == fs_.files.end() || found->second.size() + size > fs_.writeBudget) return false;
      found->second.append(data, size);
      return true;
    }
    bool Close() override { return !fs_.closeOutputFails; }

   private:
    FakeFileSystem& fs_;
    std::filesystem::path path_;
  };
};

// A fresh, uniquely named folder under the system's temporary folder, removed with all it holds.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("jwcount-test-" + std::to_string(stamp) + "-" + std::to_string(serial++));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A fresh reader that has run the record chain on each line in order.
template <class Lines>
std::unique_ptr<JwwGaibu> ReadLineList(const Lines& lines) {
  auto reader = std::make_unique<JwwGaibu>();
  for (const auto& line : lines) reader->ParseLine(line);
  return reader;
}
inline std::unique_ptr<JwwGaibu> ReadLines(std::initializer_list<std::string_view> lines) {
  return ReadLineList(lines);
}

using Entries = std::vector<std::pair<int32_t, int32_t>>;

// The index entries as (kind, position) pairs, in reading order.
inline Entries IndexEntries(const JwwGaibu& reader) {
  Entries entries;
  for (int32_t j = 0; j < reader.EntityCount(); ++j)
    entries.emplace_back(reader.Entity(j).Kind, reader.Entity(j).Position);
  return entries;
}

// The seven header values in header order.
inline std::vector<int32_t> HeaderValues(const EntityAttributes& a) {
  return {a.HhpNumber, a.LayerGroup, a.Layer, a.LineColour, a.LineType, a.LineWidth, a.AttributeFlags};
}

inline std::vector<double> Ends(const TJwwEntLine& l) {
  return {l.X1, l.Y1, l.X2, l.Y2};
}

}  // namespace jwcount::test
