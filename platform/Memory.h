#pragma once

#include <QtGlobal>

#include <cstddef>
#include <optional>

// Hands memory the program has freed back to the system, after a large
// document was let go: the allocator would otherwise keep it for reuse, and
// the program would stay as large as at its biggest document.
void ReturnFreedMemory();

// The memory the system can give the program without swapping, in bytes
// (MemAvailable of /proc/meminfo); -1 where the system does not say.
qint64 AvailableMemory();
// Tests: what AvailableMemory() answers; std::nullopt for the system's
// answer again.
void OverrideAvailableMemory(std::optional<qint64> bytes);

// The size of a huge page: blocks from TakePages this large and larger ask
// for them.
constexpr std::size_t HugePageSize = std::size_t(2) << 20;

// A block of at least size bytes straight from the system, for memory that
// many small things share. Large blocks ask for huge pages: filling fresh
// memory a small page at a time costs an open of a large document more than
// reading it does. Throws std::bad_alloc.
void* TakePages(std::size_t size);
// Gives a block from TakePages(size) back to the system.
void GivePagesBack(void* block, std::size_t size);
