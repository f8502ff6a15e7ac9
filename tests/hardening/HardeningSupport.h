// Shared helpers of the hostile-input and fault tests: a file system in memory whose reads, writes,
// closes and creates fail on demand (a failing write lands the bytes before the failure, as a full disk
// does), a count host that records nothing, and a read-and-count of one exchange file.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "CountRun.h"
#include "JwwGaibu.h"

namespace jwcount::hardening {

// Smaller inputs under AddressSanitizer, where every byte costs many times more.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kUnderSanitizer = true;
#else
inline constexpr bool kUnderSanitizer = false;
#endif
#else
inline constexpr bool kUnderSanitizer = false;
#endif

// The one reply of the count: "h#" and the completion message in Shift-JIS, then CR LF (28 bytes).
inline constexpr std::string_view kReply =
    "h#\x97\x76\x91\x66\x90\x94\x82\xF0\x83\x4A\x83\x45\x83\x93\x83\x67\x82\xB5\x82\xDC\x82\xB5\x82\xBD\r\n";

inline constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

class FaultFileSystem final : public FileSystem {
 public:
  std::map<std::filesystem::path, std::string> files;

  // Reads.
  bool openFails = false;
  std::size_t readChunk = std::size_t{1} << 20;  // most bytes one read delivers
  int failAtRead = 0;                            // this read call (from 1) and every later one fail; 0 never
  bool closeInputFails = false;
  // Writes.
  bool createFails = false;
  std::size_t failWriteAtByte = kNever;  // the bytes before this offset land, then the write fails
  bool closeOutputFails = false;
  // What happened.
  int filesOpenForRead = 0;
  int filesOpenForWrite = 0;
  int reads = 0;

  bool Exists(const std::filesystem::path& path) override { return files.count(path) != 0; }

  std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) override {
    const auto found = files.find(path);
    if (openFails || found == files.end()) return nullptr;
    return std::make_unique<Input>(*this, found->second);
  }

  std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override {
    if (createFails) return nullptr;
    files[path].clear();
    return std::make_unique<Output>(*this, path);
  }

  bool Remove(const std::filesystem::path& path) override { return files.erase(path) != 0; }

 private:
  class Input final : public InputFile {
   public:
    Input(FaultFileSystem& fs, const std::string& bytes) : fs_(fs), bytes_(bytes) { ++fs_.filesOpenForRead; }
    ~Input() override { --fs_.filesOpenForRead; }
    std::ptrdiff_t Read(char* buffer, std::size_t size) override {
      if (fs_.failAtRead != 0 && ++fs_.reads >= fs_.failAtRead) return -1;
      const std::size_t n = std::min({size, fs_.readChunk, bytes_.size() - pos_});
      if (n > 0) std::memcpy(buffer, bytes_.data() + pos_, n);
      pos_ += n;
      return static_cast<std::ptrdiff_t>(n);
    }
    bool Close() override { return !fs_.closeInputFails; }

   private:
    FaultFileSystem& fs_;
    const std::string& bytes_;
    std::size_t pos_ = 0;
  };

  class Output final : public OutputFile {
   public:
    Output(FaultFileSystem& fs, std::filesystem::path path) : fs_(fs), path_(std::move(path)) {
      ++fs_.filesOpenForWrite;
    }
    ~Output() override { --fs_.filesOpenForWrite; }
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
    FaultFileSystem& fs_;
    std::filesystem::path path_;
  };
};

class QuietHost final : public CountHost {
 public:
  void ShowStatus(std::string_view) override {}
  bool EscapePressed() override { return false; }
  void ShowSummary(int, std::string_view) override {}
  void ShowFirstPage() override {}
};

inline const std::filesystem::path kFolder = "jw";
inline const std::filesystem::path kTempFile = kFolder / "JWC_TEMP.TXT";

// One run as the program makes it: read the exchange file, count, write the reply.
struct ToolRun {
  FaultFileSystem fs;
  std::unique_ptr<JwwGaibu> reader = std::make_unique<JwwGaibu>(fs);
  std::unique_ptr<CountTables> tables;  // made by the count
  bool readOk = false;

  // The count and its reply, as the program runs them after the read.
  void Count() {
    tables = std::make_unique<CountTables>();
    QuietHost host;
    CountElements(*reader, *tables, kFolder, host);
  }

  int32_t Total(int column) const { return tables->SG2.Count(column, kSg2TotalRow); }
  const std::string* Reply() const {
    const auto found = fs.files.find(kTempFile);
    return found == fs.files.end() ? nullptr : &found->second;
  }
};

// Only the read. The file is moved into the file system; nothing else is copied.
inline std::unique_ptr<ToolRun> ReadOnly(std::string bytes) {
  auto run = std::make_unique<ToolRun>();
  run->fs.files[kTempFile] = std::move(bytes);
  run->readOk = run->reader->ReadTempFile(kTempFile);
  return run;
}

inline std::unique_ptr<ToolRun> ReadAndCount(std::string bytes) {
  auto run = ReadOnly(std::move(bytes));
  run->Count();
  return run;
}

}  // namespace jwcount::hardening
