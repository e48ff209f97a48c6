// Pixel rows between the surface's 0x00BBGGRR and the byte layouts of BMP files and of window
// images: plain loops, and byte shuffles with SSSE3 and AVX2 chosen once from the processor.
#include "raster/RowConversions.h"

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define VELMORA_X86_SHUFFLES 1
#endif

namespace {

// The plain loops, from pixel `x` on: the reference, and the tails the vector kernels leave.

void FromBgrPlain(const std::uint8_t* in, std::uint32_t* out, int x, int width) {
    for (; x < width; ++x) {
        const std::uint8_t* p = in + 3 * x;
        out[x] = static_cast<std::uint32_t>(p[2]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                 (static_cast<std::uint32_t>(p[0]) << 16);
    }
}

void FromBgrxPlain(const std::uint8_t* in, std::uint32_t* out, int x, int width) {
    for (; x < width; ++x) {
        const std::uint8_t* p = in + 4 * x;
        out[x] = static_cast<std::uint32_t>(p[2]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                 (static_cast<std::uint32_t>(p[0]) << 16);
    }
}

void FromIndex8Plain(const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out, int x,
                     int width) {
    for (; x < width; ++x) {
        out[x] = table[in[x]];
    }
}

void FromIndex4Plain(const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out, int x,
                     int width) {
    for (; x < width; ++x) {
        const std::uint8_t b = in[x / 2];
        out[x] = table[x % 2 == 0 ? b >> 4 : b & 0x0F];
    }
}

void FromIndex1Plain(const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out, int x,
                     int width) {
    for (; x < width; ++x) {
        out[x] = table[(in[x / 8] >> (7 - x % 8)) & 1];
    }
}

void ToBgrPlain(const std::uint32_t* in, std::uint8_t* out, int x, int width) {
    for (; x < width; ++x) {
        const std::uint32_t c = in[x];
        out[3 * x] = static_cast<std::uint8_t>(c >> 16);
        out[3 * x + 1] = static_cast<std::uint8_t>(c >> 8);
        out[3 * x + 2] = static_cast<std::uint8_t>(c);
    }
}

// From a whole byte on (x a multiple of 8).
void ToIndex1Plain(const std::uint32_t* in, std::uint8_t* out, int x, int width) {
    for (; x < width; x += 8) {
        std::uint8_t byte = 0;
        for (int i = 0; i < 8 && x + i < width; ++i) {
            if (in[x + i] == 0x00FFFFFF) {
                byte |= static_cast<std::uint8_t>(0x80 >> i);
            }
        }
        out[x / 8] = byte;
    }
}

void ToOpaqueArgbPlain(const std::uint32_t* in, std::uint32_t* out, int x, int width) {
    for (; x < width; ++x) {
        const std::uint32_t c = in[x];
        out[x] = 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
}

constexpr RowConversions kPlain{
    [](const std::uint8_t* in, std::uint32_t* out, int width) { FromBgrPlain(in, out, 0, width); },
    [](const std::uint8_t* in, std::uint32_t* out, int width) { FromBgrxPlain(in, out, 0, width); },
    [](const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out, int width) {
        FromIndex8Plain(in, table, out, 0, width);
    },
    [](const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out, int width) {
        FromIndex4Plain(in, table, out, 0, width);
    },
    [](const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out, int width) {
        FromIndex1Plain(in, table, out, 0, width);
    },
    [](const std::uint32_t* in, std::uint8_t* out, int width) { ToBgrPlain(in, out, 0, width); },
    [](const std::uint32_t* in, std::uint8_t* out, int width) { ToIndex1Plain(in, out, 0, width); },
    [](const std::uint32_t* in, std::uint32_t* out, int width) {
        ToOpaqueArgbPlain(in, out, 0, width);
    },
};

#if defined(VELMORA_X86_SHUFFLES)

// Every kernel converts whole vectors from pixel `x` on, touching only bytes of the row's own
// pixels, and returns where it stopped; the plain loop finishes the row.

template <class T> __m128i Load16(const T* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
template <class T> void Store16(T* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

// --- SSSE3: sixteen bytes a shuffle ---------------------------------------------------------

// Blue, green, red in the file to red, green, blue and a zero byte in memory, four pixels.
__attribute__((target("ssse3"))) __m128i BgrOrder128() {
    return _mm_setr_epi8(2, 1, 0, -128, 5, 4, 3, -128, 8, 7, 6, -128, 11, 10, 9, -128);
}
// Red, green, blue, flag of four surface pixels to twelve bytes of blue, green, red.
__attribute__((target("ssse3"))) __m128i ToBgrOrder128() {
    return _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -128, -128, -128, -128);
}
// Swaps the first and third byte of each pixel and clears the fourth.
__attribute__((target("ssse3"))) __m128i SwapOrder128() {
    return _mm_setr_epi8(2, 1, 0, -128, 6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128);
}

__attribute__((target("ssse3"))) int FromBgrSsse3Kernel(const std::uint8_t* in, std::uint32_t* out,
                                                        int x, int width) {
    const __m128i order = BgrOrder128();
    // Sixteen pixels from exactly their 48 bytes.
    for (; width - x >= 16; x += 16) {
        const std::uint8_t* p = in + 3 * x;
        const __m128i a = Load16(p);
        const __m128i b = Load16(p + 16);
        const __m128i c = Load16(p + 32);
        Store16(out + x, _mm_shuffle_epi8(a, order));
        Store16(out + x + 4, _mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), order));
        Store16(out + x + 8, _mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), order));
        Store16(out + x + 12, _mm_shuffle_epi8(_mm_srli_si128(c, 4), order));
    }
    // Four pixels from a 16-byte load, while six pixels' bytes remain to cover it.
    for (; width - x >= 6; x += 4) {
        Store16(out + x, _mm_shuffle_epi8(Load16(in + 3 * x), order));
    }
    return x;
}

__attribute__((target("ssse3"))) int ToBgrSsse3Kernel(const std::uint32_t* in, std::uint8_t* out,
                                                      int x, int width) {
    const __m128i order = ToBgrOrder128();
    // Sixteen pixels into exactly their 48 bytes.
    for (; width - x >= 16; x += 16) {
        const __m128i a = _mm_shuffle_epi8(Load16(in + x), order);
        const __m128i b = _mm_shuffle_epi8(Load16(in + x + 4), order);
        const __m128i c = _mm_shuffle_epi8(Load16(in + x + 8), order);
        const __m128i d = _mm_shuffle_epi8(Load16(in + x + 12), order);
        std::uint8_t* p = out + 3 * x;
        Store16(p, _mm_or_si128(a, _mm_slli_si128(b, 12)));
        Store16(p + 16, _mm_or_si128(_mm_srli_si128(b, 4), _mm_slli_si128(c, 8)));
        Store16(p + 32, _mm_or_si128(_mm_srli_si128(c, 8), _mm_slli_si128(d, 4)));
    }
    // Four pixels as a 16-byte store whose last four bytes the next two pixels write again.
    for (; width - x >= 6; x += 4) {
        Store16(out + 3 * x, _mm_shuffle_epi8(Load16(in + x), order));
    }
    return x;
}

__attribute__((target("ssse3"))) int FromBgrxSsse3Kernel(const std::uint8_t* in, std::uint32_t* out,
                                                         int x, int width) {
    const __m128i order = SwapOrder128();
    for (; width - x >= 4; x += 4) {
        Store16(out + x, _mm_shuffle_epi8(Load16(in + 4 * x), order));
    }
    return x;
}

__attribute__((target("ssse3"))) int ToOpaqueArgbSsse3Kernel(const std::uint32_t* in,
                                                             std::uint32_t* out, int x, int width) {
    const __m128i order = SwapOrder128();
    const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
    for (; width - x >= 4; x += 4) {
        Store16(out + x, _mm_or_si128(_mm_shuffle_epi8(Load16(in + x), order), opaque));
    }
    return x;
}

// Eight colours looked up one by one but stored sixteen bytes at a time: a table of 256
// entries does not fit a shuffle, and this beats both the one-store-a-pixel loop and the
// vector gathers.
__attribute__((target("ssse3"))) int FromIndex8Ssse3Kernel(const std::uint8_t* in,
                                                           const std::uint32_t* table,
                                                           std::uint32_t* out, int x, int width) {
    const int* colours = reinterpret_cast<const int*>(table);
    for (; width - x >= 8; x += 8) {
        const std::uint8_t* p = in + x;
        Store16(out + x,
                _mm_setr_epi32(colours[p[0]], colours[p[1]], colours[p[2]], colours[p[3]]));
        Store16(out + x + 4,
                _mm_setr_epi32(colours[p[4]], colours[p[5]], colours[p[6]], colours[p[7]]));
    }
    return x;
}

// The first sixteen colours of a table as four byte planes, for shuffles to look them up.
struct SixteenColourPlanes {
    alignas(16) std::uint8_t Bytes[4][16];

    explicit SixteenColourPlanes(const std::uint32_t* table) {
        for (int i = 0; i < 16; ++i) {
            for (int plane = 0; plane < 4; ++plane) {
                Bytes[plane][i] = static_cast<std::uint8_t>(table[i] >> (8 * plane));
            }
        }
    }
};

// Sixteen pixels' colours from their sixteen indices, one byte plane a shuffle.
__attribute__((target("ssse3"))) void ExpandSixteen(const SixteenColourPlanes& planes,
                                                    __m128i indices, std::uint32_t* out) {
    const __m128i r = _mm_shuffle_epi8(Load16(planes.Bytes[0]), indices);
    const __m128i g = _mm_shuffle_epi8(Load16(planes.Bytes[1]), indices);
    const __m128i b = _mm_shuffle_epi8(Load16(planes.Bytes[2]), indices);
    const __m128i f = _mm_shuffle_epi8(Load16(planes.Bytes[3]), indices);
    const __m128i rgLow = _mm_unpacklo_epi8(r, g);
    const __m128i rgHigh = _mm_unpackhi_epi8(r, g);
    const __m128i bfLow = _mm_unpacklo_epi8(b, f);
    const __m128i bfHigh = _mm_unpackhi_epi8(b, f);
    Store16(out, _mm_unpacklo_epi16(rgLow, bfLow));
    Store16(out + 4, _mm_unpackhi_epi16(rgLow, bfLow));
    Store16(out + 8, _mm_unpacklo_epi16(rgHigh, bfHigh));
    Store16(out + 12, _mm_unpackhi_epi16(rgHigh, bfHigh));
}

__attribute__((target("ssse3"))) int FromIndex4Ssse3Kernel(const std::uint8_t* in,
                                                           const std::uint32_t* table,
                                                           std::uint32_t* out, int x, int width) {
    const SixteenColourPlanes planes(table);
    const __m128i nibble = _mm_set1_epi8(0x0F);
    // x stays even, so each byte holds the next two pixels, the left one in its high half.
    for (; width - x >= 32; x += 32) {
        const __m128i bytes = Load16(in + x / 2);
        const __m128i left = _mm_and_si128(_mm_srli_epi16(bytes, 4), nibble);
        const __m128i right = _mm_and_si128(bytes, nibble);
        ExpandSixteen(planes, _mm_unpacklo_epi8(left, right), out + x);
        ExpandSixteen(planes, _mm_unpackhi_epi8(left, right), out + x + 16);
    }
    return x;
}

// Four pixels of a one-bit row: the second colour where the byte has the pixel's bit.
inline __m128i PickOneBit(__m128i byte, __m128i bits, __m128i zero, __m128i one) {
    const __m128i set = _mm_cmpeq_epi32(_mm_and_si128(byte, bits), bits);
    return _mm_or_si128(_mm_and_si128(set, one), _mm_andnot_si128(set, zero));
}

__attribute__((target("ssse3"))) int FromIndex1Ssse3Kernel(const std::uint8_t* in,
                                                           const std::uint32_t* table,
                                                           std::uint32_t* out, int x, int width) {
    const __m128i zero = _mm_set1_epi32(static_cast<int>(table[0]));
    const __m128i one = _mm_set1_epi32(static_cast<int>(table[1]));
    const __m128i leftBits = _mm_setr_epi32(0x80, 0x40, 0x20, 0x10);
    const __m128i rightBits = _mm_setr_epi32(0x08, 0x04, 0x02, 0x01);
    for (; width - x >= 8; x += 8) {
        const __m128i byte = _mm_set1_epi32(in[x / 8]);
        Store16(out + x, PickOneBit(byte, leftBits, zero, one));
        Store16(out + x + 4, PickOneBit(byte, rightBits, zero, one));
    }
    return x;
}

// Sixteen pixels to two bytes: each pixel's comparison narrowed to a byte, the bytes of each
// eight reversed so that the leftmost pixel lands in the highest bit of the mask.
__attribute__((target("ssse3"))) int ToIndex1Ssse3Kernel(const std::uint32_t* in, std::uint8_t* out,
                                                         int x, int width) {
    const __m128i white = _mm_set1_epi32(0x00FFFFFF);
    const __m128i reverse = _mm_setr_epi8(7, 6, 5, 4, 3, 2, 1, 0, 15, 14, 13, 12, 11, 10, 9, 8);
    for (; width - x >= 16; x += 16) {
        const __m128i a = _mm_cmpeq_epi32(Load16(in + x), white);
        const __m128i b = _mm_cmpeq_epi32(Load16(in + x + 4), white);
        const __m128i c = _mm_cmpeq_epi32(Load16(in + x + 8), white);
        const __m128i d = _mm_cmpeq_epi32(Load16(in + x + 12), white);
        const __m128i bytes = _mm_packs_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
        const int bits = _mm_movemask_epi8(_mm_shuffle_epi8(bytes, reverse));
        out[x / 8] = static_cast<std::uint8_t>(bits);
        out[x / 8 + 1] = static_cast<std::uint8_t>(bits >> 8);
    }
    return x;
}

// --- AVX2: thirty-two bytes a shuffle ---------------------------------------------------------

template <class T> __attribute__((target("avx2"))) __m256i Load32(const T* p) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
}
template <class T> __attribute__((target("avx2"))) void Store32(T* p, __m256i v) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
}

// Four 24-bit pixels from `p` in the low half, the next four in the high half.
__attribute__((target("avx2"))) __m256i BgrHalves(const std::uint8_t* p) {
    return _mm256_inserti128_si256(_mm256_castsi128_si256(Load16(p)), Load16(p + 12), 1);
}

__attribute__((target("avx2"))) int FromBgrAvx2Kernel(const std::uint8_t* in, std::uint32_t* out,
                                                      int x, int width) {
    const __m256i order = _mm256_broadcastsi128_si256(BgrOrder128());
    // Four pixels in each half of a register, loaded straight into the halves (cheaper than
    // spreading one 32-byte load across them); sixteen pixels a round, while eighteen pixels'
    // bytes remain to cover its last 16-byte load.
    for (; width - x >= 18; x += 16) {
        Store32(out + x, _mm256_shuffle_epi8(BgrHalves(in + 3 * x), order));
        Store32(out + x + 8, _mm256_shuffle_epi8(BgrHalves(in + 3 * x + 24), order));
    }
    return FromBgrSsse3Kernel(in, out, x, width);
}

__attribute__((target("avx2"))) int ToBgrAvx2Kernel(const std::uint32_t* in, std::uint8_t* out,
                                                    int x, int width) {
    const __m256i order = _mm256_broadcastsi128_si256(ToBgrOrder128());
    // The two halves' twelve bytes side by side.
    const __m256i gather = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 7, 7);
    // Eight pixels as a 32-byte store whose last eight bytes the next three pixels write again.
    for (; width - x >= 11; x += 8) {
        const __m256i bytes = _mm256_shuffle_epi8(Load32(in + x), order);
        Store32(out + 3 * x, _mm256_permutevar8x32_epi32(bytes, gather));
    }
    return ToBgrSsse3Kernel(in, out, x, width);
}

__attribute__((target("avx2"))) int FromBgrxAvx2Kernel(const std::uint8_t* in, std::uint32_t* out,
                                                       int x, int width) {
    const __m256i order = _mm256_broadcastsi128_si256(SwapOrder128());
    for (; width - x >= 8; x += 8) {
        Store32(out + x, _mm256_shuffle_epi8(Load32(in + 4 * x), order));
    }
    return FromBgrxSsse3Kernel(in, out, x, width);
}

__attribute__((target("avx2"))) int ToOpaqueArgbAvx2Kernel(const std::uint32_t* in,
                                                           std::uint32_t* out, int x, int width) {
    const __m256i order = _mm256_broadcastsi128_si256(SwapOrder128());
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    for (; width - x >= 8; x += 8) {
        Store32(out + x, _mm256_or_si256(_mm256_shuffle_epi8(Load32(in + x), order), opaque));
    }
    return ToOpaqueArgbSsse3Kernel(in, out, x, width);
}

__attribute__((target("avx2"))) int FromIndex1Avx2Kernel(const std::uint8_t* in,
                                                         const std::uint32_t* table,
                                                         std::uint32_t* out, int x, int width) {
    const __m256i zero = _mm256_set1_epi32(static_cast<int>(table[0]));
    const __m256i one = _mm256_set1_epi32(static_cast<int>(table[1]));
    const __m256i bits = _mm256_setr_epi32(0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01);
    for (; width - x >= 8; x += 8) {
        const __m256i byte = _mm256_set1_epi32(in[x / 8]);
        const __m256i set = _mm256_cmpeq_epi32(_mm256_and_si256(byte, bits), bits);
        Store32(out + x, _mm256_blendv_epi8(zero, one, set));
    }
    return x;
}

// Each level's row functions: its kernels, then the plain loop for the rest of the row.
template <int (*Kernel)(const std::uint8_t*, std::uint32_t*, int, int),
          void (*Tail)(const std::uint8_t*, std::uint32_t*, int, int)>
void FromBytes(const std::uint8_t* in, std::uint32_t* out, int width) {
    Tail(in, out, Kernel(in, out, 0, width), width);
}

template <int (*Kernel)(const std::uint8_t*, const std::uint32_t*, std::uint32_t*, int, int),
          void (*Tail)(const std::uint8_t*, const std::uint32_t*, std::uint32_t*, int, int)>
void FromIndices(const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out,
                 int width) {
    Tail(in, table, out, Kernel(in, table, out, 0, width), width);
}

template <class Out, int (*Kernel)(const std::uint32_t*, Out*, int, int),
          void (*Tail)(const std::uint32_t*, Out*, int, int)>
void FromPixels(const std::uint32_t* in, Out* out, int width) {
    Tail(in, out, Kernel(in, out, 0, width), width);
}

constexpr RowConversions kSsse3{
    FromBytes<FromBgrSsse3Kernel, FromBgrPlain>,
    FromBytes<FromBgrxSsse3Kernel, FromBgrxPlain>,
    FromIndices<FromIndex8Ssse3Kernel, FromIndex8Plain>,
    FromIndices<FromIndex4Ssse3Kernel, FromIndex4Plain>,
    FromIndices<FromIndex1Ssse3Kernel, FromIndex1Plain>,
    FromPixels<std::uint8_t, ToBgrSsse3Kernel, ToBgrPlain>,
    FromPixels<std::uint8_t, ToIndex1Ssse3Kernel, ToIndex1Plain>,
    FromPixels<std::uint32_t, ToOpaqueArgbSsse3Kernel, ToOpaqueArgbPlain>,
};

constexpr RowConversions kAvx2{
    FromBytes<FromBgrAvx2Kernel, FromBgrPlain>,
    FromBytes<FromBgrxAvx2Kernel, FromBgrxPlain>,
    kSsse3.FromIndex8,
    kSsse3.FromIndex4,
    FromIndices<FromIndex1Avx2Kernel, FromIndex1Plain>,
    FromPixels<std::uint8_t, ToBgrAvx2Kernel, ToBgrPlain>,
    kSsse3.ToIndex1,
    FromPixels<std::uint32_t, ToOpaqueArgbAvx2Kernel, ToOpaqueArgbPlain>,
};

// Every load and store of the shuffles is an ordinary one that the address sanitizer checks (no
// gathers here), so unlike the rotation's vector levels these stay on under it.
RowConversionLevel DetectLevel() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) {
        return RowConversionLevel::Avx2;
    }
    if (__builtin_cpu_supports("ssse3")) {
        return RowConversionLevel::Ssse3;
    }
    return RowConversionLevel::Plain;
}

#else

RowConversionLevel DetectLevel() {
    return RowConversionLevel::Plain;
}

#endif

} // namespace

RowConversionLevel BestRowConversionLevel() {
    static const RowConversionLevel best = DetectLevel();
    return best;
}

const RowConversions& RowConverter() {
    static const RowConversions& best = RowConverterAt(BestRowConversionLevel());
    return best;
}

const RowConversions& RowConverterAt(RowConversionLevel level) {
#if defined(VELMORA_X86_SHUFFLES)
    switch (level) {
    case RowConversionLevel::Avx2:
        return kAvx2;
    case RowConversionLevel::Ssse3:
        return kSsse3;
    default:
        break;
    }
#else
    (void)level;
#endif
    return kPlain;
}
