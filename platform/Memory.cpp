#include "platform/Memory.h"

#include <chrono>
#include <cstdio>
#include <cstdlib> // defines __GLIBC__ where it applies

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
