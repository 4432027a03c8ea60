// Counts the C++ allocations of the test program, so that a test can show that a piece of code makes
// none. Replaces the global operator new for this executable only.

#include "AllocationCount.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> g_allocations{0};
std::atomic<unsigned long> g_failOffThread{0}; // the thread spared, or 0
} // namespace

void FailNextAllocationOffThisThread() {
    g_failOffThread = GetCurrentThreadId();
}

long long AllocationCount() {
    return g_allocations.load();
}

void* operator new(std::size_t size) {
    ++g_allocations;
    if (unsigned long spared = g_failOffThread.load();
        spared != 0 && spared != GetCurrentThreadId() && g_failOffThread.compare_exchange_strong(spared, 0))
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
