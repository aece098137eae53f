#include "platform/Memory.h"

#include <sys/mman.h>

#include <chrono>
#include <cstdio>
#include <cstdint>
#include <cstdlib> // defines __GLIBC__ where it applies
#include <new>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

std::optional<qint64> g_availableOverride;

qint64 ReadAvailableMemory()
{
    std::FILE* meminfo = std::fopen("/proc/meminfo", "re");
    if (!meminfo)
        return -1;
    qint64 available = -1;
    char line[256];
    while (std::fgets(line, sizeof line, meminfo)) {
        long long kilobytes = 0;
        if (std::sscanf(line, "MemAvailable: %lld kB", &kilobytes) == 1) {
            available = qint64(kilobytes) * 1024;
            break;
        }
    }
    std::fclose(meminfo);
    return available;
}

// Large blocks are whole huge pages.
std::size_t MappedSize(std::size_t size)
{
    return size >= HugePageSize ? (size + HugePageSize - 1) & ~(HugePageSize - 1) : size;
}

// A mapping of size bytes, a multiple of HugePageSize, that starts on a huge
// page, so that the system can back it with them.
void* MapOnHugePages(std::size_t size)
{
    const std::size_t mapped = size + HugePageSize;
    void* mapping = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapping);
    const std::uintptr_t aligned = (start + HugePageSize - 1) & ~(HugePageSize - 1);
    if (aligned > start)
        ::munmap(mapping, aligned - start);
    if (const std::uintptr_t end = start + mapped, used = aligned + size; end > used)
        ::munmap(reinterpret_cast<void*>(used), end - used);
    return reinterpret_cast<void*>(aligned);
}

}

void* TakePages(std::size_t size)
{
    size = MappedSize(size);
    void* block = size >= HugePageSize
                      ? MapOnHugePages(size)
                      : ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (!block || block == MAP_FAILED)
        throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
    // A huge page is filled in one go where the system has them to give.
    if (size >= HugePageSize)
        ::madvise(block, size, MADV_HUGEPAGE);
#endif
    return block;
}

void GivePagesBack(void* block, std::size_t size)
{
    ::munmap(block, MappedSize(size));
}

void ReturnFreedMemory()
{
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

qint64 AvailableMemory()
{
    if (g_availableOverride)
        return *g_availableOverride;
    // A folder of ten thousand cards asks once a file; the system makes the
    // whole of /proc/meminfo up for each read, so an answer is kept briefly.
    using Clock = std::chrono::steady_clock;
    static Clock::time_point askedAt;
    static qint64 answer = -1;
    const Clock::time_point now = Clock::now();
    if (answer >= 0 && now - askedAt < std::chrono::milliseconds(200))
        return answer;
    askedAt = now;
    answer = ReadAvailableMemory();
    return answer;
}

void OverrideAvailableMemory(std::optional<qint64> bytes)
{
    g_availableOverride = bytes;
}
