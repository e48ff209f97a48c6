// Row operations on 32-bit pixels that stay fast whatever the optimisation level.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Sets every pixel of [first, last) to `value`, sixteen bytes a store: the plain loop is left
// scalar by the compiler's ordinary optimisation level, and fills are half of what a turned
// quadrant writes.
inline void FillPixels(std::uint32_t* first, std::uint32_t* last, std::uint32_t value) {
#if defined(__SSE2__)
    const __m128i four = _mm_set1_epi32(static_cast<int>(value));
    for (; last - first >= 4; first += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(first), four);
    }
#endif
    for (; first < last; ++first) {
        *first = value;
    }
}
