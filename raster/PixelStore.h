// The storage of a surface's pixels: large stores sit on huge pages where the system offers them,
// and are kept for reuse once released.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>
#include <vector>

namespace pixel_store {
// Stores of this many bytes or more are marked for huge pages and come back for the next large
// store once released: fresh memory is otherwise touched one 4 KiB page at a time, and those
// first touches cost more than decoding or turning the pixels themselves.
constexpr std::size_t kLargeStoreBytes = std::size_t{2} << 20;

void* Allocate(std::size_t bytes);
void Release(void* store, std::size_t bytes) noexcept;

// Gives the memory the program keeps for reuse (see Allocate) back to the system.
void GiveBackKeptMemory() noexcept;
} // namespace pixel_store

template <class T> struct PixelAllocator {
    using value_type = T;

    PixelAllocator() = default;
    template <class U> PixelAllocator(const PixelAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        return static_cast<T*>(pixel_store::Allocate(count * sizeof(T)));
    }
    void deallocate(T* store, std::size_t count) noexcept {
        pixel_store::Release(store, count * sizeof(T));
    }

    // Growing a store leaves the new elements unset: whoever grows it fills them next, and
    // clearing large stores first would cost a pass over memory of its own.
    template <class U> void construct(U* element) noexcept {
        ::new (static_cast<void*>(element)) U;
    }
    template <class U, class... Args> void construct(U* element, Args&&... args) {
        ::new (static_cast<void*>(element)) U(std::forward<Args>(args)...);
    }

    template <class U> bool operator==(const PixelAllocator<U>&) const noexcept { return true; }
};

using PixelStore = std::vector<std::uint32_t, PixelAllocator<std::uint32_t>>;

// The bytes of a whole BMP file, read or about to be written.
using ByteStore = std::vector<std::uint8_t, PixelAllocator<std::uint8_t>>;
