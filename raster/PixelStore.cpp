// Large pixel stores on huge-page boundaries, small ones from the ordinary heap.
#include "raster/PixelStore.h"

#include <cstdlib>
#include <limits>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace pixel_store {
namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t RoundedToHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
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
    std::free(store);
}
} // namespace pixel_store
