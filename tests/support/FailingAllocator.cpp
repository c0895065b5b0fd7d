#include "support/FailingAllocator.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> g_failAt{0};
std::atomic<long> g_count{0};
std::atomic<bool> g_happened{false};

// Counts one allocation; true when it is the one to fail.
bool FailsNow() {
    if (g_failAt.load(std::memory_order_relaxed) == 0) return false;
    if (++g_count != g_failAt.load()) return false;
    g_happened = true;
    return true;
}

void* Allocate(std::size_t size) {
    if (FailsNow()) return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void SetAllocationFault(long nth) {
    g_failAt = 0;
    g_count = 0;
    g_happened = false;
    g_failAt = nth;
}

bool AllocationFaultHappened() { return g_happened.load(); }

void* operator new(std::size_t size) {
    if (void* memory = Allocate(size)) return memory;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
