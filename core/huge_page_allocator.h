#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdlib>
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
