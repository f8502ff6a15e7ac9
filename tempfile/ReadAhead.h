// Reading the exchange file on two threads: a second thread splits the file into lines and reads the four
// numbers of every plain line, a few batches of lines ahead of the thread that stores them.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tempfile/FileIo.h"
#include "tempfile/LineReader.h"
#include "tempfile/Thread.h"

namespace jwcount {

// A run of lines in file order, each line cleaned by the exchange file's rules. A plain line comes with its
// four numbers instead of its bytes.
struct LineBatch {
  static constexpr std::size_t kPlain = static_cast<std::size_t>(-1);  // the Size of a plain line
  struct Line {
    std::size_t Offset;  // into Bytes
    std::size_t Size;    // kPlain for a plain line: its numbers are the next entry of Values
  };

  struct Numbers {
    double Values[4];
  };

  std::vector<Line> Lines;
  std::string Bytes;  // the lines that are not plain lines, one after the other
  std::vector<Numbers> Values;
  // kLine while more lines follow; after the last batch, how the lines ended (kEnd or kError).
  LineReader::Result Ending = LineReader::Result::kLine;

  std::string_view Text(const Line& line) const {
    return std::string_view(Bytes).substr(line.Offset, line.Size);
  }
};

// Hands out a file's lines batch by batch, in order. The first batch is read on the caller's thread; when
// more follow and a second thread can be made, that thread reads the rest ahead; otherwise each batch is
// read when it is asked for. Either way the batches are the same. A file of one batch, such as a selection
// of a few hundred elements, so costs no thread.
class ReadAhead {
 public:
  // With secondThread false, every batch is read when it is asked for, on the caller's thread.
  explicit ReadAhead(InputFile& file, bool secondThread = true);
  // Stops the second thread and waits for it; the file is no longer read after this.
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next batch, valid until the next call; nullptr once the last batch was handed out. Never throws:
  // running out of memory while reading ends the lines with kError.
  const LineBatch* Next();
  // After Next returned nullptr: kEnd when the file was read to its end, kError when reading failed.
  LineReader::Result Ending() const { return ending_; }

 private:
  static constexpr std::size_t kBatches = 3;

  void FillBatch(LineBatch& batch);
  void ReadOnSecondThread();

  LineReader reader_;  // used by one thread only: the second one while it runs
  std::array<LineBatch, kBatches> batches_;
  Handoff handoff_;
  // Under the handoff's lock: batches filled and batches given back, counted from the start.
  std::size_t filled_ = 0;
  std::size_t givenBack_ = 0;
  bool stopping_ = false;
  // The storing thread's own.
  bool mayThread_;
  bool threaded_ = false;
  bool holding_ = false;  // a batch is handed out and not yet given back
  LineReader::Result ending_ = LineReader::Result::kLine;
  SecondThread thread_;  // last: it stops before the members it uses go
};

}  // namespace jwcount
