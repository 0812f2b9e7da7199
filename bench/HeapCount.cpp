#include "bench/HeapCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long long> g_liveBytes{0};
std::atomic<long long> g_peakBytes{0};
} // namespace

long long LiveHeapBytes() {
    return g_liveBytes.load();
}

long long PeakHeapBytes() {
    return g_peakBytes.load();
}

void ResetPeakHeap() {
    g_peakBytes = g_liveBytes.load();
}

// Each block carries its size in front, so that the sized and the plain delete both know it.
void* operator new(std::size_t size) {
    void* block = std::malloc(size + 16);
    if (block == nullptr)
        throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    const long long live = g_liveBytes += static_cast<long long>(size);
    long long peak = g_peakBytes.load();
    while (live > peak && !g_peakBytes.compare_exchange_weak(peak, live)) {
    }
    return static_cast<char*>(block) + 16;
}

void operator delete(void* pointer) noexcept {
    if (pointer == nullptr)
        return;
    void* block = static_cast<char*>(pointer) - 16;
    g_liveBytes -= static_cast<long long>(*static_cast<std::size_t*>(block));
    std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

// std::stable_sort takes its buffer this way.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    operator delete(pointer);
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void operator delete[](void* pointer) noexcept {
    operator delete(pointer);
}

void operator delete[](void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}
