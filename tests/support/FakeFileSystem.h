// A file system in memory whose every operation fails on demand: opening, reading (in pieces of a chosen
// size), closing, creating and writing (a failing write lands the bytes before the failure, as a full
// disk does). It counts the files open, so a test can see that every file was closed.
#pragma once

#include <cstddef>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>

#include "tempfile/FileIo.h"

namespace jwcount::test {

inline constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();

// A file open for reading reads its bytes straight from `files` (a test of a 100 MB file holds it once),
// so the entry must stay as it is while the file is open.
class FakeFileSystem final : public FileSystem {
 public:
  std::map<std::filesystem::path, std::string> files;

  // Reads.
  bool openFails = false;
  std::size_t readChunk = 7;  // the most bytes one read delivers
  int failAtRead = 0;         // this read call (from 1) of an open file and every later one fail; 0 never
  bool closeInputFails = false;
  // Writes.
  bool createFails = false;
  std::size_t failWriteAtByte = kNever;  // the bytes before this offset land, then the write fails
  bool closeOutputFails = false;
  // Files open now.
  int filesOpenForRead = 0;
  int filesOpenForWrite = 0;

  bool Exists(const std::filesystem::path& path) override { return files.count(path) != 0; }
  std::unique_ptr<InputFile> OpenForRead(const std::filesystem::path& path) override;
  std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override;
  bool Remove(const std::filesystem::path& path) override { return files.erase(path) != 0; }
};

}  // namespace jwcount::test
