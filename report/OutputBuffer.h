// A write buffer in front of a C stream: a report of half a million cells costs a few dozen system calls,
// and the buffer stays small enough that filling it costs few page faults.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "tempfile/MyFunc.h"

namespace jwcount {

class OutputBuffer {
 public:
  static constexpr std::size_t kFlushAt = std::size_t{64} << 10;

  explicit OutputBuffer(std::FILE* file) : file_(file) { buffer_.reserve(kFlushAt + 4096); }
  // Into a string instead of a file: what is written is appended to `sink` at each flush.
  explicit OutputBuffer(std::string& sink) : file_(nullptr), sink_(&sink) {}
  ~OutputBuffer() { Flush(); }
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;

  void Append(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= kFlushAt) Flush();
  }
  void Append(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= kFlushAt) Flush();
  }
  // An integer in decimal, a double in the shortest text that reads back as exactly that double.
  template <class Number>
  void AppendNumber(Number value) {
    jwcount::AppendNumber(buffer_, value);
    if (buffer_.size() >= kFlushAt) Flush();
  }

  // Writes what is buffered; false once any write has failed.
  bool Flush();

 private:
  std::FILE* file_;
  std::string* sink_ = nullptr;
  std::string buffer_;
  bool ok_ = true;
};

}  // namespace jwcount
