#pragma once

// Hands memory the program has freed back to the system, after a large
// document was let go: the allocator would otherwise keep it for reuse, and
// the program would stay as large as at its biggest document.
void ReturnFreedMemory();
