#include "platform/MemoryArena.h"

#include "platform/Memory.h"

#include <algorithm>
#include <cstdint>
#include <new>

namespace {

// Blocks grow from the first to the largest, so that a small document takes
// little and a large one few blocks.
constexpr std::size_t FirstBlock = std::size_t(64) << 10;
constexpr std::size_t LargestBlock = HugePageSize;

class LargeArrays final : public std::pmr::memory_resource
{
    void* do_allocate(std::size_t bytes, std::size_t alignment) override
    {
        return bytes >= HugePageSize ? TakePages(bytes) : ::operator new(bytes, std::align_val_t(alignment));
    }
    void do_deallocate(void* block, std::size_t bytes, std::size_t alignment) override
    {
        if (bytes >= HugePageSize)
            GivePagesBack(block, bytes);
        else
            ::operator delete(block, std::align_val_t(alignment));
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }
};

}

std::pmr::memory_resource* LargeArrayMemory()
{
    static LargeArrays memory;
    return &memory;
}

MemoryArena::~MemoryArena()
{
    for (const Block& block : m_blocks)
        GivePagesBack(block.start, block.size);
}

void* MemoryArena::do_allocate(std::size_t bytes, std::size_t alignment)
{
    const auto next = reinterpret_cast<std::uintptr_t>(m_next);
    char* aligned = m_next + ((alignment - next % alignment) % alignment);
    if (!m_next || aligned > m_end || std::size_t(m_end - aligned) < bytes) {
        const std::size_t grown = m_blocks.empty() ? FirstBlock : std::min(m_blocks.back().size * 2, LargestBlock);
        const std::size_t size = std::max(grown, bytes + alignment);
        // Room first, so that a block taken is never lost to a failing push.
        if (m_blocks.size() == m_blocks.capacity())
            m_blocks.reserve(2 * m_blocks.size() + 8);
        m_blocks.push_back({TakePages(size), size});
        m_next = aligned = static_cast<char*>(m_blocks.back().start);
        m_end = m_next + size;
    }
    m_next = aligned + bytes;
    return aligned;
}
