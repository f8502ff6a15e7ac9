#include "tempfile/ReadAhead.h"

#include <exception>

#include "tempfile/PlainLine.h"

namespace jwcount {
namespace {
// A batch ends after this many lines or bytes of lines that are not plain lines, whichever comes first:
// small enough to stay in the processor's cache between the two threads, large enough that handing it
// over costs little.
constexpr std::size_t kBatchLines = 16384;
constexpr std::size_t kBatchBytes = std::size_t{512} << 10;
}  // namespace

ReadAhead::ReadAhead(InputFile& file, bool secondThread) : reader_(file), mayThread_(secondThread) {}

ReadAhead::~ReadAhead() {
  if (!threaded_) return;
  {
    HandoffLock lock(handoff_);
    stopping_ = true;
  }
  handoff_.WakeAll();
  thread_.Join();
}

void ReadAhead::FillBatch(LineBatch& batch) {
  batch.Lines.clear();
  batch.Bytes.clear();
  batch.Values.clear();
  batch.Ending = LineReader::Result::kLine;
  try {
    std::string_view line;
    while (batch.Lines.size() < kBatchLines && batch.Bytes.size() < kBatchBytes) {
      const LineReader::Result result = reader_.Next(line);
      if (result != LineReader::Result::kLine) {
        batch.Ending = result;
        return;
      }
      LineBatch::Numbers& numbers = batch.Values.emplace_back();
      if (ReadPlainLineNumbers(line, numbers.Values)) {
        batch.Lines.push_back({0, LineBatch::kPlain});
      } else {
        batch.Values.pop_back();
        batch.Lines.push_back({batch.Bytes.size(), line.size()});
        batch.Bytes.append(line);
      }
    }
  } catch (const std::exception&) {
    // Out of memory: the lines of the batch so far stand, and reading ends as failed.
    batch.Ending = LineReader::Result::kError;
  }
}

void ReadAhead::ReadOnSecondThread() {
  for (;;) {
    LineBatch* batch;
    {
      HandoffLock lock(handoff_);
      while (!stopping_ && filled_ - givenBack_ == kBatches) handoff_.Wait();
      if (stopping_) return;
      batch = &batches_[filled_ % kBatches];
    }
    FillBatch(*batch);
    const bool last = batch->Ending != LineReader::Result::kLine;
    {
      HandoffLock lock(handoff_);
      ++filled_;
    }
    handoff_.WakeAll();
    if (last) return;
  }
}

const LineBatch* ReadAhead::Next() {
  if (ending_ != LineReader::Result::kLine) return nullptr;
  if (!threaded_) {
    LineBatch& batch = batches_[0];
    FillBatch(batch);
    ending_ = batch.Ending;
    if (mayThread_ && ending_ == LineReader::Result::kLine) {
      // More lines follow: the second thread reads them from the next batch on while this one stores the
      // first. The first counts as filled and handed out.
      mayThread_ = false;
      filled_ = 1;
      holding_ = true;
      threaded_ = thread_.Start([this] { ReadOnSecondThread(); });
      if (!threaded_) {
        filled_ = 0;
        holding_ = false;
      }
    }
    return &batch;
  }
  LineBatch* batch;
  {
    HandoffLock lock(handoff_);
    if (holding_) {
      ++givenBack_;
      handoff_.WakeAll();
    }
    while (filled_ == givenBack_) handoff_.Wait();
    batch = &batches_[givenBack_ % kBatches];
  }
  holding_ = true;
  ending_ = batch->Ending;
  return batch;
}

}  // namespace jwcount
