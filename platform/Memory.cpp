#include "platform/Memory.h"

#include <cstdio>
#include <cstdlib> // defines __GLIBC__ where it applies

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

std::optional<qint64> g_availableOverride;

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

void OverrideAvailableMemory(std::optional<qint64> bytes)
{
    g_availableOverride = bytes;
}
