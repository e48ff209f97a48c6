// Large pixel stores on huge-page boundaries, small ones from the ordinary heap.
#include "raster/PixelStore.h"

#include "raster/Sanitizers.h"

#include <cstdlib>
#include <limits>
#include <mutex>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pixel_store {
namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundedToHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// The most recently released large store, kept for the next request of the same size: memory
// fresh from the system comes only after the kernel has cleared every page of it, which costs
// more than most of the pixel work done on it, and a picture decoded, turned or cropped again
// asks for the same size again. Only one store of a bounded size is kept.
constexpr std::size_t kLargestSpareBytes = std::size_t{128} << 20;

struct SpareStore {
    void* Store = nullptr;
    std::size_t Bytes = 0;
};

std::mutex spareLock;
SpareStore spare;

void* TakeSpare(std::size_t rounded) {
    const std::lock_guard<std::mutex> lock(spareLock);
    if (!spare.Store || spare.Bytes != rounded) {
        return nullptr;
    }
    return std::exchange(spare, {}).Store;
}

// Keeps `store` as the spare; gives back the store it replaces (or `store` itself when too
// large to keep) for the caller to free.
void* KeepAsSpare(void* store, std::size_t rounded) {
#if defined(VELMORA_ADDRESS_SANITIZER)
    // Under the sanitizer every store is freed at once, so a use after release is still caught.
    (void)rounded;
    return store;
#else
    if (rounded > kLargestSpareBytes) {
        return store;
    }
    const std::lock_guard<std::mutex> lock(spareLock);
    return std::exchange(spare, {store, rounded}).Store;
#endif
}
} // namespace

void* Allocate(std::size_t bytes) {
    if (bytes < kLargeStoreBytes) {
        return ::operator new(bytes);
    }
    if (bytes > std::numeric_limits<std::size_t>::max() - kHugePage) {
        throw std::bad_alloc();
    }
    const std::size_t rounded = RoundedToHugePages(bytes);
    if (void* kept = TakeSpare(rounded)) {
        return kept;
    }
    void* store = std::aligned_alloc(kHugePage, rounded);
    if (!store) {
        throw std::bad_alloc();
    }
#if defined(MADV_HUGEPAGE)
    // Only advice: where huge pages are off, the store simply stays on ordinary pages.
    madvise(store, rounded, MADV_HUGEPAGE);
#endif
    return store;
}

void Release(void* store, std::size_t bytes) noexcept {
    if (bytes < kLargeStoreBytes) {
        ::operator delete(store);
        return;
    }
    std::free(KeepAsSpare(store, RoundedToHugePages(bytes)));
}
} // namespace pixel_store
