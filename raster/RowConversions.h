// Pixel rows between the surface's 0x00BBGGRR and the byte layouts of BMP files and of window
// images, with the widest byte shuffles the processor has.
#pragma once

#include <cstdint>

// Instruction sets the conversions can be written with, narrowest first.
enum class RowConversionLevel { Plain, Ssse3, Avx2 };

// One row's conversions at one level. Each converts `width` pixels and reads and writes nothing
// beyond them: a row's padding and the next row are left alone, and a row may end where its
// buffer ends.
struct RowConversions {
    // 24-bit file pixels (blue, green, red) to surface pixels.
    void (*FromBgr)(const std::uint8_t* in, std::uint32_t* out, int width);
    // 32-bit file pixels (blue, green, red, unused) to surface pixels.
    void (*FromBgrx)(const std::uint8_t* in, std::uint32_t* out, int width);
    // Colour-table indices of 8, 4 and 1 bits (the leftmost pixel in the highest bits) to the
    // table's colours; the table holds 256 surface pixels.
    void (*FromIndex8)(const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out,
                       int width);
    void (*FromIndex4)(const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out,
                       int width);
    void (*FromIndex1)(const std::uint8_t* in, const std::uint32_t* table, std::uint32_t* out,
                       int width);
    // Surface pixels to 24-bit file pixels; the flag byte is dropped.
    void (*ToBgr)(const std::uint32_t* in, std::uint8_t* out, int width);
    // Surface pixels to one-bit indices, white 1 and any other colour 0, the leftmost pixel in
    // the highest bit; the unused low bits of the last byte are 0.
    void (*ToIndex1)(const std::uint32_t* in, std::uint8_t* out, int width);
    // Surface pixels to opaque 0xFFRRGGBB, the layout of window images.
    void (*ToOpaqueArgb)(const std::uint32_t* in, std::uint32_t* out, int width);
};

// The widest level this processor runs (decided once).
RowConversionLevel BestRowConversionLevel();

// The conversions at the best level.
const RowConversions& RowConverter();

// The conversions at a chosen level, which the processor must support. The plain level is the
// reference the others are held to.
const RowConversions& RowConverterAt(RowConversionLevel level);
