// Copies source pixels along a stepped walk, with the widest vector gather the processor has.
#include "rotate/RowGather.h"

#include "raster/Sanitizers.h"

#include <algorithm>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELMORA_X86_GATHERS 1
#endif

namespace {

// The vector levels pack each pixel's (column, row) into two 16-bit halves and turn them into
// the index column + row * stride with one multiply-add, so both and the stride must fit.
bool FitsSixteenBitLanes(int count, const SteppedWalk& walk) {
    constexpr std::int64_t kLimit = 32768;
    if (walk.Stride >= kLimit) {
        return false;
    }
    const std::int64_t lastX = walk.X + std::int64_t{walk.DX} * (count - 1);
    const std::int64_t lastY = walk.Y + std::int64_t{walk.DY} * (count - 1);
    return (std::max<std::int64_t>(walk.X, lastX) >> 10) < kLimit &&
           (std::max<std::int64_t>(walk.Y, lastY) >> 10) < kLimit;
}

void GatherScalarFrom(int first, std::uint32_t* out, int count, const SteppedWalk& walk) {
    std::int32_t x = walk.X + walk.DX * first;
    std::int32_t y = walk.Y + walk.DY * first;
    for (int i = first; i < count; ++i) {
        out[i] = walk.Origin[(y >> 10) * walk.Stride + (x >> 10)];
        x += walk.DX;
        y += walk.DY;
    }
}

#if defined(VELMORA_X86_GATHERS)

// Each vector kernel writes whole vectors from the start and returns how many pixels it wrote.

int GatherSse2(std::uint32_t* out, int count, const SteppedWalk& walk) {
    const __m128i weights = _mm_set1_epi32(static_cast<std::int32_t>((walk.Stride << 16) | 1));
    const std::int32_t dx = walk.DX;
    const std::int32_t dy = walk.DY;
    __m128i xs = _mm_setr_epi32(walk.X, walk.X + dx, walk.X + 2 * dx, walk.X + 3 * dx);
    __m128i ys = _mm_setr_epi32(walk.Y, walk.Y + dy, walk.Y + 2 * dy, walk.Y + 3 * dy);
    const __m128i dx4 = _mm_set1_epi32(4 * dx);
    const __m128i dy4 = _mm_set1_epi32(4 * dy);
    alignas(16) std::int32_t index[4];
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        const __m128i packed =
            _mm_or_si128(_mm_srai_epi32(xs, 10), _mm_slli_epi32(_mm_srai_epi32(ys, 10), 16));
        _mm_store_si128(reinterpret_cast<__m128i*>(index), _mm_madd_epi16(packed, weights));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_setr_epi32(static_cast<int>(walk.Origin[index[0]]),
                                        static_cast<int>(walk.Origin[index[1]]),
                                        static_cast<int>(walk.Origin[index[2]]),
                                        static_cast<int>(walk.Origin[index[3]])));
        xs = _mm_add_epi32(xs, dx4);
        ys = _mm_add_epi32(ys, dy4);
    }
    return i;
}

__attribute__((target("avx2"))) int GatherAvx2(std::uint32_t* out, int count,
                                               const SteppedWalk& walk) {
    const __m256i weights = _mm256_set1_epi32(static_cast<std::int32_t>((walk.Stride << 16) | 1));
    const __m256i lanes = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    __m256i xs = _mm256_add_epi32(_mm256_set1_epi32(walk.X),
                                  _mm256_mullo_epi32(lanes, _mm256_set1_epi32(walk.DX)));
    __m256i ys = _mm256_add_epi32(_mm256_set1_epi32(walk.Y),
                                  _mm256_mullo_epi32(lanes, _mm256_set1_epi32(walk.DY)));
    const __m256i dx8 = _mm256_set1_epi32(8 * walk.DX);
    const __m256i dy8 = _mm256_set1_epi32(8 * walk.DY);
    const int* origin = reinterpret_cast<const int*>(walk.Origin);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m256i packed = _mm256_or_si256(_mm256_srai_epi32(xs, 10),
                                               _mm256_slli_epi32(_mm256_srai_epi32(ys, 10), 16));
        const __m256i index = _mm256_madd_epi16(packed, weights);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                            _mm256_i32gather_epi32(origin, index, 4));
        xs = _mm256_add_epi32(xs, dx8);
        ys = _mm256_add_epi32(ys, dy8);
    }
    return i;
}

// Written with the all-lanes masked forms: the unmasked shifts and gather of this compiler's
// headers start from an undefined register and draw a false uninitialised-use warning.
__attribute__((target("avx512f,avx512bw"))) int GatherAvx512(std::uint32_t* out, int count,
                                                             const SteppedWalk& walk) {
    constexpr __mmask16 kAll = 0xFFFF;
    const __m512i weights = _mm512_set1_epi32(static_cast<std::int32_t>((walk.Stride << 16) | 1));
    const __m512i lanes = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    __m512i xs = _mm512_add_epi32(_mm512_set1_epi32(walk.X),
                                  _mm512_mullo_epi32(lanes, _mm512_set1_epi32(walk.DX)));
    __m512i ys = _mm512_add_epi32(_mm512_set1_epi32(walk.Y),
                                  _mm512_mullo_epi32(lanes, _mm512_set1_epi32(walk.DY)));
    const __m512i dx16 = _mm512_set1_epi32(16 * walk.DX);
    const __m512i dy16 = _mm512_set1_epi32(16 * walk.DY);
    const __m512i zero = _mm512_setzero_si512();
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i columns = _mm512_maskz_srai_epi32(kAll, xs, 10);
        const __m512i rows =
            _mm512_maskz_slli_epi32(kAll, _mm512_maskz_srai_epi32(kAll, ys, 10), 16);
        const __m512i index = _mm512_madd_epi16(_mm512_or_si512(columns, rows), weights);
        _mm512_storeu_si512(out + i,
                            _mm512_mask_i32gather_epi32(zero, kAll, index, walk.Origin, 4));
        xs = _mm512_add_epi32(xs, dx16);
        ys = _mm512_add_epi32(ys, dy16);
    }
    return i;
}

GatherLevel DetectGatherLevel() {
#if defined(VELMORA_ADDRESS_SANITIZER)
    // The sanitizer checks ordinary loads but not vector gathers: every source pixel is read by
    // an ordinary load, so a walk that strays outside its picture is still caught.
    return GatherLevel::Sse2;
#else
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw")) {
        return GatherLevel::Avx512;
    }
    if (__builtin_cpu_supports("avx2")) {
        return GatherLevel::Avx2;
    }
    return GatherLevel::Sse2;
#endif
}

#else

GatherLevel DetectGatherLevel() {
    return GatherLevel::Scalar;
}

#endif

} // namespace

GatherLevel BestGatherLevel() {
    static const GatherLevel best = DetectGatherLevel();
    return best;
}

void GatherWalk(std::uint32_t* out, int count, const SteppedWalk& walk) {
    GatherWalkAt(BestGatherLevel(), out, count, walk);
}

void GatherWalkAt(GatherLevel level, std::uint32_t* out, int count, const SteppedWalk& walk) {
    if (count <= 0) {
        return;
    }
    int done = 0;
#if defined(VELMORA_X86_GATHERS)
    if (level != GatherLevel::Scalar && FitsSixteenBitLanes(count, walk)) {
        switch (level) {
        case GatherLevel::Avx512:
            done = GatherAvx512(out, count, walk);
            break;
        case GatherLevel::Avx2:
            done = GatherAvx2(out, count, walk);
            break;
        default:
            done = GatherSse2(out, count, walk);
            break;
        }
    }
#else
    (void)level;
#endif
    GatherScalarFrom(done, out, count, walk);
}
