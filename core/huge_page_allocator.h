#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
#include <memory_resource>
#include <new>

// An allocator for the large temporary arrays of work over a whole list (a million cards
// and more): blocks of 4 MiB and up are aligned to 2 MiB and marked for huge pages, so that
// filling them costs a few hundred page faults instead of tens of thousands. Smaller ones
// come from operator new as usual.
template <typename T>
struct HugePageAllocator {
    using value_type = T;
    static constexpr std::size_t kHugePage = 2 * 1024 * 1024;
    static constexpr std::size_t kFrom = 2 * kHugePage;

    HugePageAllocator() = default;
    template <typename U>
    HugePageAllocator(const HugePageAllocator<U>&) {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kFrom)
            return static_cast<T*>(::operator new(bytes));
        const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void* block = std::aligned_alloc(kHugePage, rounded);
        if (!block)
            throw std::bad_alloc();
        madvise(block, rounded, MADV_HUGEPAGE);  // a hint; without huge pages all still works
        return static_cast<T*>(block);
    }
    void deallocate(T* p, std::size_t n) {
        if (n * sizeof(T) < kFrom)
            ::operator delete(p);
        else
            std::free(p);
    }
    template <typename U>
    bool operator==(const HugePageAllocator<U>&) const {
        return true;
    }
};

// The same for containers that allocate node by node (std::pmr): put a pool in front of it,
// std::pmr::unsynchronized_pool_resource pool{&hugePages()}, and a million nodes come from a
// few large blocks instead of a million small ones.
class HugePageResource : public std::pmr::memory_resource {
    void* do_allocate(std::size_t bytes, std::size_t alignment) override {
        if (alignment > alignof(std::max_align_t))
            return ::operator new(bytes, std::align_val_t(alignment));
        return HugePageAllocator<std::byte>().allocate(bytes);
    }
    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override {
        if (alignment > alignof(std::max_align_t))
            ::operator delete(p, std::align_val_t(alignment));
        else
            HugePageAllocator<std::byte>().deallocate(static_cast<std::byte*>(p), bytes);
    }
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override {
        return this == &other;
    }
};

inline HugePageResource* hugePages() {
    static HugePageResource resource;
    return &resource;
}
