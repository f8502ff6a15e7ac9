#include "tempfile/LineReader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <new>

namespace jwcount {

namespace {
constexpr char kCtrlZ = 0x1A;
constexpr std::size_t kFirstBlockSize = std::size_t{64} << 10;

// The first byte below 0x20 (a control byte: LF, CR, Ctrl-Z, TAB ...) from p on, or end. Eight bytes at a
// time: a byte below 0x20 gets its top bit flagged, and a borrow can flag a byte above a true one, never
// below it, so the lowest flag is always a true one.
const char* FindControlByte(const char* p, const char* end) {
  constexpr uint64_t kOnes = 0x0101010101010101;
  constexpr uint64_t kHighs = 0x8080808080808080;
  for (; end - p >= 8; p += 8) {
    uint64_t bytes;
    std::memcpy(&bytes, p, 8);
    const uint64_t flags = (bytes - kOnes * 0x20) & ~bytes & kHighs;
    if (flags != 0) return p + std::countr_zero(flags) / 8;
  }
  while (p < end && static_cast<unsigned char>(*p) >= 0x20) ++p;
  return p;
}
}  // namespace

LineReader::LineReader(InputFile& file, std::size_t blockSize)
    : file_(file),
      block_(std::make_unique_for_overwrite<char[]>(std::min(blockSize, kFirstBlockSize))),
      blockSize_(std::min(blockSize, kFirstBlockSize)),
      maxBlockSize_(blockSize) {}

bool LineReader::Refill() {
  if (atEnd_) return false;
  // Every byte of the block has been handed out or copied by now, so a larger one can take its place. Where
  // there is no memory for it, the block stays as it is.
  if (end_ == blockSize_ && blockSize_ < maxBlockSize_) {
    const std::size_t larger = std::min(2 * blockSize_, maxBlockSize_);
    try {
      block_ = std::make_unique_for_overwrite<char[]>(larger);
      blockSize_ = larger;
    } catch (const std::bad_alloc&) {
    }
  }
  const std::ptrdiff_t got = file_.Read(block_.get(), blockSize_);
  pos_ = 0;
  end_ = got > 0 ? static_cast<std::size_t>(got) : 0;
  if (got < 0) error_ = true;
  if (got <= 0) atEnd_ = true;
  return got > 0;
}

LineReader::Result LineReader::Next(std::string_view& line) {
  if (error_) return Result::kError;
  if (pos_ == end_ && !Refill()) return error_ ? Result::kError : Result::kEnd;
  if (block_[pos_] == kCtrlZ) {
    atEnd_ = true;  // nothing after it is read, ever
    pos_ = end_;
    return Result::kEnd;
  }
  const char* start = block_.get() + pos_;
  // Most lines hold no control byte before their CR LF or LF: they need no cleaning and are found in one
  // pass.
  const char* const blockEnd = block_.get() + end_;
  if (const char* control = FindControlByte(start, blockEnd); control != blockEnd) {
    const char* lineEnd = control;
    if (*control == '\r' && control + 1 != blockEnd && control[1] == '\n') ++lineEnd;
    if (*lineEnd == '\n') {
      line = {start, static_cast<std::size_t>(control - start)};
      pos_ = static_cast<std::size_t>(lineEnd + 1 - block_.get());
      return Result::kLine;
    }
  }
  const void* lf = std::memchr(start, '\n', end_ - pos_);
  if (lf != nullptr) {
    const std::size_t length = static_cast<const char*>(lf) - start;
    pos_ += length + 1;
    line = Clean({start, length});
    return Result::kLine;
  }
  // The line runs over the end of the block: collect it until its LF or the end of the file.
  spanning_.assign(start, end_ - pos_);
  pos_ = end_;
  while (Refill()) {
    const char* chunk = block_.get();
    const void* found = std::memchr(chunk, '\n', end_);
    if (found != nullptr) {
      const std::size_t length = static_cast<const char*>(found) - chunk;
      spanning_.append(chunk, length);
      pos_ = length + 1;
      line = Clean(spanning_);
      return Result::kLine;
    }
    spanning_.append(chunk, end_);
    pos_ = end_;
  }
  if (error_) return Result::kError;
  line = Clean(spanning_);
  return Result::kLine;
}

std::string_view LineReader::Clean(std::string_view line) {
  if (const void* ctrlZ = std::memchr(line.data(), kCtrlZ, line.size()); ctrlZ != nullptr) {
    line = line.substr(0, static_cast<const char*>(ctrlZ) - line.data());
  }
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (std::memchr(line.data(), '\r', line.size()) == nullptr) return line;
  cleaned_.clear();
  for (char c : line) {
    if (c != '\r') cleaned_.push_back(c);
  }
  return cleaned_;
}

}  // namespace jwcount
