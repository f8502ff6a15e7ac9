#include "tempfile/BulkMemory.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace jwcount {

#if defined(__linux__)
namespace {
// Pieces at least this large are mapped directly, on a large-page boundary; smaller ones come from the heap.
constexpr std::size_t kLargePage = std::size_t{2} << 20;

std::uintptr_t PageSize() {
  return static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
}

// Maps size bytes starting on a large-page boundary, by mapping one large page more and giving back the
// parts before and after.
void* MapAligned(std::size_t size) {
  const std::size_t mapped = size + kLargePage;
  void* raw = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) return nullptr;
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kLargePage - 1) & ~(std::uintptr_t{kLargePage} - 1);
  if (aligned > start) munmap(raw, aligned - start);
  // The tail starts on the first page boundary after the piece: munmap takes whole pages only.
  const std::uintptr_t page = PageSize();
  const std::uintptr_t tailStart = (aligned + size + page - 1) & ~(page - 1);
  if (start + mapped > tailStart) munmap(reinterpret_cast<void*>(tailStart), start + mapped - tailStart);
  return reinterpret_cast<void*>(aligned);
}
}  // namespace

void* AllocateZeroed(std::size_t size) {
  if (size < kLargePage) return std::calloc(1, size);
  void* memory = MapAligned(size);
  if (memory == nullptr) return nullptr;
#ifdef MADV_HUGEPAGE
  madvise(memory, size, MADV_HUGEPAGE);  // only advice: without large pages the memory works the same
#endif
  return memory;
}

void PrepareForWriting(void* memory, std::size_t size) {
#ifdef MADV_POPULATE_WRITE
  const auto start = reinterpret_cast<std::uintptr_t>(memory) & ~(PageSize() - 1);
  const auto end = reinterpret_cast<std::uintptr_t>(memory) + size;
  madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
  (void)memory;
  (void)size;
#endif
}

void FreeZeroed(void* memory, std::size_t size) {
  if (memory == nullptr) return;
  if (size < kLargePage) {
    std::free(memory);
  } else {
    munmap(memory, size);
  }
}

void ReleaseUnused(void* memory, std::size_t size, std::size_t used) {
  if (memory == nullptr || size < kLargePage || used >= size) return;
  const auto base = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t page = PageSize();
  const std::uintptr_t start = (base + used + page - 1) & ~(page - 1);
  // A private anonymous mapping reads as zeros where its pages were dropped.
  if (base + size > start) madvise(reinterpret_cast<void*>(start), base + size - start, MADV_DONTNEED);
}
#elif defined(_WIN32)
namespace {
// Pieces at least this large come straight from the system: zeroed, and resident only once written.
constexpr std::size_t kSystemPiece = std::size_t{2} << 20;
}  // namespace

void* AllocateZeroed(std::size_t size) {
  if (size < kSystemPiece) return std::calloc(1, size);
  return VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void PrepareForWriting(void*, std::size_t) {}

void ReleaseUnused(void*, std::size_t, std::size_t) {}

void FreeZeroed(void* memory, std::size_t size) {
  if (memory == nullptr) return;
  if (size < kSystemPiece) {
    std::free(memory);
  } else {
    VirtualFree(memory, 0, MEM_RELEASE);
  }
}
#else
void* AllocateZeroed(std::size_t size) {
  return std::calloc(1, size);
}
void PrepareForWriting(void*, std::size_t) {}
void ReleaseUnused(void*, std::size_t, std::size_t) {}
void FreeZeroed(void* memory, std::size_t) {
  std::free(memory);
}
#endif

ZeroedBlock::ZeroedBlock(std::size_t size) : data_(size > 0 ? AllocateZeroed(size) : nullptr), size_(size) {
  if (size > 0 && data_ == nullptr) throw std::bad_alloc();
}

}  // namespace jwcount
