#include "FailingAllocation.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<int> g_nCountdown{0};

void* Allocate(std::size_t size) {
    int left = g_nCountdown.load(std::memory_order_relaxed);
    while (left > 0 && !g_nCountdown.compare_exchange_weak(left, left - 1)) {
    }
    if (left == 1)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

namespace storage_test {
void FailAllocation(int n) {
    g_nCountdown.store(n);
}
} // namespace storage_test

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
