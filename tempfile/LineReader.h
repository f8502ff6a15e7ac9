// Splits a file into lines by the exchange file's rules.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "tempfile/FileIo.h"

namespace jwcount {

// Lines end at LF or CR LF; any other CR is dropped. A Ctrl-Z where a line would begin ends the input;
// a Ctrl-Z inside a line ends that line, and the rest of it up to the next LF is skipped. The last line
// needs no line break. The file is read in large blocks; a line is handed out without copying unless it
// spans two blocks or holds a CR or Ctrl-Z.
class LineReader {
 public:
  enum class Result { kLine, kEnd, kError };

  // Blocks of up to blockSize, 1 MiB by default: a read that fails part way loses at most the block it was
  // filling. The first block is 64 KiB (or blockSize, when smaller), and the block doubles whenever a read
  // fills it, so a small file costs a small block and a large one soon reads in the largest.
  explicit LineReader(InputFile& file, std::size_t blockSize = std::size_t{1} << 20);

  // The next line; it stays valid until the next call.
  Result Next(std::string_view& line);

 private:
  bool Refill();  // false at the end of the file or on an error (then error_ is set)
  std::string_view Clean(std::string_view line);

  InputFile& file_;
  std::unique_ptr<char[]> block_;
  std::size_t blockSize_;  // of block_
  std::size_t maxBlockSize_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool atEnd_ = false;
  bool error_ = false;
  std::string spanning_;  // a line that runs over the end of a block
  std::string cleaned_;   // a line with its CR bytes taken out
};

}  // namespace jwcount
