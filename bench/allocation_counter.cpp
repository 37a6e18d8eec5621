#include "allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> allocations{0};
std::atomic<long long> releases{0};

void Release(void* p) noexcept {
    if (p != nullptr) {
        releases.fetch_add(1, std::memory_order_relaxed);
        std::free(p);
    }
}
} // namespace

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    Release(p);
}

void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}

namespace norvale::bench {

long long AllocationCount() {
    return allocations.load(std::memory_order_relaxed);
}

long long LiveAllocationCount() {
    return allocations.load(std::memory_order_relaxed) - releases.load(std::memory_order_relaxed);
}

} // namespace norvale::bench
