// Shared helpers of the hostile-input and fault tests: the size of their inputs, and one read and count
// of an exchange file through the file system in memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>

#include "counting/CountRun.h"
#include "counting/RunSequence.h"
#include "tempfile/JwwGaibu.h"
#include "tests/support/FakeFileSystem.h"
#include "tests/support/QuietCount.h"

namespace jwcount::hardening {

// Smaller inputs under AddressSanitizer and ThreadSanitizer, where every byte costs many times more.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kUnderSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
inline constexpr bool kUnderSanitizer = true;
#else
inline constexpr bool kUnderSanitizer = false;
#endif
#else
inline constexpr bool kUnderSanitizer = false;
#endif

using test::FakeFileSystem;
using test::kReply;
using test::QuietHost;

// Reads of at most this many bytes, as the real file system delivers them.
inline constexpr std::size_t kLargeReads = std::size_t{1} << 20;

inline const std::filesystem::path kFolder = "jw";
inline const std::filesystem::path kTempFile = kFolder / "JWC_TEMP.TXT";

// One run as the program makes it: read the exchange file, count, write the reply.
struct ToolRun {
  ToolRun() { fs.readChunk = kLargeReads; }

  FakeFileSystem fs;
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

// Only the read, as the program reads before it counts. The file is moved into the file system; nothing
// else is copied.
inline std::unique_ptr<ToolRun> ReadOnly(std::string bytes) {
  auto run = std::make_unique<ToolRun>();
  run->fs.files[kTempFile] = std::move(bytes);
  run->readOk = ReadForCount(*run->reader, kTempFile);
  return run;
}

inline std::unique_ptr<ToolRun> ReadAndCount(std::string bytes) {
  auto run = ReadOnly(std::move(bytes));
  run->Count();
  return run;
}

}  // namespace jwcount::hardening
