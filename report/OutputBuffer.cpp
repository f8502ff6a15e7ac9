#include "report/OutputBuffer.h"

namespace jwcount {

bool OutputBuffer::Flush() {
  if (sink_ != nullptr) {
    sink_->append(buffer_);
    buffer_.clear();
    return true;
  }
  if (!buffer_.empty() && ok_) {
    ok_ = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size();
  }
  buffer_.clear();
  if (ok_) ok_ = std::fflush(file_) == 0;
  return ok_;
}

}  // namespace jwcount
