#pragma once

#include <QtGlobal>

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
