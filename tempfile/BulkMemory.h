// Zeroed memory for the entity stores, taken from the system in large pieces.
#pragma once

#include <cstddef>
#include <utility>

namespace jwcount {

// Returns size bytes of zeroed memory, or nullptr when there is none. Large pieces come straight from the
// system, already zeroed, and are marked for large pages where the system offers them: a big drawing
// then costs a few hundred page faults instead of tens of thousands.
void* AllocateZeroed(std::size_t size);
// Tells the system that the bytes are about to be written, so that it can map their pages in one go rather
// than one page fault at a time. Only advice: nothing changes where the system does not take it.
void PrepareForWriting(void* memory, std::size_t size);
// Gives back a piece from AllocateZeroed with the same size.
void FreeZeroed(void* memory, std::size_t size);
// Gives back the pages of a piece from AllocateZeroed (of the same size) that lie wholly past its first
// `used` bytes, where the piece came straight from the system: a large page that was only partly written
// then costs only the pages written. The bytes given back read as zeros, as before.
void ReleaseUnused(void* memory, std::size_t size, std::size_t used);

// A block of zeroed bytes from AllocateZeroed, owned: its pages cost nothing until they are touched.
class ZeroedBlock {
 public:
  ZeroedBlock() = default;
  // Throws std::bad_alloc when there is no memory.
  explicit ZeroedBlock(std::size_t size);
  ~ZeroedBlock() { FreeZeroed(data_, size_); }
  ZeroedBlock(ZeroedBlock&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  ZeroedBlock& operator=(ZeroedBlock&& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    return *this;
  }

  void* Data() const { return data_; }
  // Gives back the pages past the first `used` bytes (see ReleaseUnused).
  void ReleaseUnused(std::size_t used) { jwcount::ReleaseUnused(data_, size_, used); }

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace jwcount
