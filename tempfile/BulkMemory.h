// Zeroed memory for the entity stores, taken from the system in large pieces.
#pragma once

#include <cstddef>

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

}  // namespace jwcount
