// Large pixel stores on huge-page boundaries, kept for reuse; small ones from the ordinary heap.
#include "raster/PixelStore.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace pixel_store {
namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
// Room for aligning a store inside its block and for the block's address before it.
constexpr std::size_t kBlockExtra = kHugePage + sizeof(void*);

std::size_t RoundedToHugePages(std::size_t bytes) {
    return (bytes + kHugePage - 1) / kHugePage * kHugePage;
}

// Blocks up to this size come from the C library's heap, and up to this much free memory stays
// at its top for the next requests: a workspace on a 4096 x 4096 picture holds several 64 MiB
// surfaces at once, and trimming below their sum would hand fresh memory out again each time.
constexpr std::size_t kReusedBlocks = std::size_t{256} << 20;
constexpr std::size_t kKeptFreeMemory = std::size_t{1} << 30;

// By default the C library maps every large block afresh and unmaps it on release, and the
// kernel clears fresh memory page by page at its first touch: that clearing costs more than
// decoding a picture into it (a 64 MiB block written whole: 38 ms fresh, 3 ms reused). Large
// blocks are kept for reuse instead, once for the whole program, since the window system's
// large images gain the same way. The memory guard gives the kept memory back before it
// decides that a picture does not fit.
void KeepLargeBlocksForReuse() {
#if defined(__GLIBC__)
    static const bool kept = [] {
        mallopt(M_MMAP_THRESHOLD, static_cast<int>(kReusedBlocks));
        mallopt(M_TRIM_THRESHOLD, static_cast<int>(kKeptFreeMemory));
        return true;
    }();
    (void)kept;
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
    KeepLargeBlocksForReuse();
    // The store starts on a huge-page boundary inside a block one huge page larger, with the
    // block's own address just before it. An aligned request to the library would not do: it
    // asks its heap for the size plus the alignment, which a released store of the same size
    // never holds, and so it would never reuse one.
    const std::size_t rounded = RoundedToHugePages(bytes);
    if (rounded > std::numeric_limits<std::size_t>::max() - kBlockExtra) {
        throw std::bad_alloc();
    }
    void* block = std::malloc(rounded + kBlockExtra);
    if (!block) {
        throw std::bad_alloc();
    }
    const auto start = reinterpret_cast<std::uintptr_t>(block) + sizeof(void*);
    auto* store = reinterpret_cast<void*>((start + kHugePage - 1) / kHugePage * kHugePage);
    std::memcpy(static_cast<char*>(store) - sizeof(void*), &block, sizeof(void*));
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
    void* block = nullptr;
    std::memcpy(&block, static_cast<char*>(store) - sizeof(void*), sizeof(void*));
    std::free(block);
}

void GiveBackKeptMemory() noexcept {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
} // namespace pixel_store
