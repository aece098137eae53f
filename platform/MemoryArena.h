#pragma once

#include <cstddef>
#include <memory>
#include <memory_resource>
#include <vector>

// Memory for many small things made at once that die together, such as the
// records of a document read from a file: handed out one after another
// from a few large blocks (see TakePages), and given back only with the
// arena. That costs no allocation each and no bookkeeping beside them.
class MemoryArena final : public std::pmr::memory_resource
{
public:
    MemoryArena() = default;
    MemoryArena(const MemoryArena&) = delete;
    MemoryArena& operator=(const MemoryArena&) = delete;
    ~MemoryArena() override;

private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void*, std::size_t, std::size_t) override {}
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

    struct Block
    {
        void* start;
        std::size_t size;
    };
    std::vector<Block> m_blocks;
    char* m_next = nullptr;
    char* m_end = nullptr;
};

// Memory for arrays that may grow large, such as a document's list of
// 100,000 addresses or the nodes of its tree: blocks of a huge page and
// more come from TakePages, smaller ones from the heap.
std::pmr::memory_resource* LargeArrayMemory();

// Allocates from an arena and keeps it alive while anything allocated so
// lives, for objects that may outlive whoever made them:
// std::allocate_shared<T>(ArenaAllocator<T>(arena), ...).
template <typename T>
class ArenaAllocator
{
public:
    using value_type = T;

    explicit ArenaAllocator(std::shared_ptr<MemoryArena> arena) : m_arena(std::move(arena)) {}
    template <typename U>
    ArenaAllocator(const ArenaAllocator<U>& other) : m_arena(other.m_arena)
    {
    }

    T* allocate(std::size_t n) { return static_cast<T*>(m_arena->allocate(n * sizeof(T), alignof(T))); }
    void deallocate(T*, std::size_t) {}

    template <typename U>
    friend bool operator==(const ArenaAllocator& a, const ArenaAllocator<U>& b)
    {
        return a.m_arena == b.m_arena;
    }

private:
    template <typename U>
    friend class ArenaAllocator;

    std::shared_ptr<MemoryArena> m_arena;
};
