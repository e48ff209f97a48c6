// PNG test files encoded by libspng from patterns that every colour type and depth can hold.
#include "tests/support/PngPictures.h"

#include <spng.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace test_support {
namespace {

struct Pixel {
    std::uint16_t Samples[4] = {0, 0, 0, 0}; // as the file stores them, in its channel order
    TColor Colour = 0;                       // what the reader must give when opaque
    bool Transparent = false;
};

int ChannelsOf(int colourType) {
    switch (colourType) {
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 1;
    }
}

// A 16-bit sample whose high byte is `value` and whose low byte differs from it.
std::uint16_t Wide(int value) {
    return static_cast<std::uint16_t>((value << 8) | ((value + 0x5A) & 0xFF));
}

std::uint16_t Sample(int value, int depth) {
    return depth == 16 ? Wide(value) : static_cast<std::uint16_t>(value);
}

spng_plte_entry PaletteEntry(int index) {
    return {static_cast<std::uint8_t>(index * 53 & 255),
            static_cast<std::uint8_t>(index * 101 & 255),
            static_cast<std::uint8_t>(index * 29 % 200), 255};
}

// Palette transparency: every third entry clear, the others just below and at the limit; the
// last entry is left out of the chunk and so stays opaque.
std::uint8_t PaletteAlpha(int index) {
    return index % 3 == 0 ? 0 : index % 3 == 1 ? 127 : 128;
}

Pixel PatternPixel(const PngKind& kind, int x, int y) {
    Pixel pixel;
    const int depth = kind.BitDepth;
    const int levels = depth >= 8 ? 256 : 1 << depth;
    const int alpha = (x * 31 + y * 17) & 255;
    switch (kind.ColourType) {
    case 0:
    case 4: {
        const int level = (x * 5 + y * 3) % levels;
        const int grey = depth >= 8 ? level : level * 255 / (levels - 1);
        pixel.Samples[0] = Sample(level, depth);
        pixel.Colour = RGB(grey, grey, grey);
        if (kind.ColourType == 4) {
            pixel.Samples[1] = Sample(alpha, depth);
            pixel.Transparent = alpha < 128;
        }
        break;
    }
    case 3: {
        const int index = (x + 3 * y) % levels;
        const spng_plte_entry entry = PaletteEntry(index);
        pixel.Samples[0] = static_cast<std::uint16_t>(index);
        pixel.Colour = RGB(entry.red, entry.green, entry.blue);
        pixel.Transparent = kind.KeyChunk && index < levels - 1 && PaletteAlpha(index) < 128;
        break;
    }
    default: {
        const int red = x * 40 & 255;
        const int green = y * 60 & 255;
        const int blue = (x * y * 7) % 200;
        pixel.Samples[0] = Sample(red, depth);
        pixel.Samples[1] = Sample(green, depth);
        pixel.Samples[2] = Sample(blue, depth);
        pixel.Colour = RGB(red, green, blue);
        if (kind.ColourType == 6) {
            pixel.Samples[3] = Sample(alpha, depth);
            pixel.Transparent = alpha < 128;
        }
        break;
    }
    }
    return pixel;
}

// The rows in the file's own layout: samples packed most significant bit first below 8 bits,
// 16-bit samples in the machine's byte order (what the encoder takes).
std::vector<std::uint8_t> PackRows(const PngKind& kind, int width, int height,
                                   const std::vector<Pixel>& pixels) {
    const int channels = ChannelsOf(kind.ColourType);
    const std::size_t rowBytes =
        (static_cast<std::size_t>(width) * channels * kind.BitDepth + 7) / 8;
    std::vector<std::uint8_t> rows(rowBytes * height, 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = rows.data() + rowBytes * y;
        for (int x = 0; x < width; ++x) {
            const Pixel& pixel = pixels[static_cast<std::size_t>(y) * width + x];
            for (int c = 0; c < channels; ++c) {
                const std::size_t index = static_cast<std::size_t>(x) * channels + c;
                const std::uint16_t value = pixel.Samples[c];
                if (kind.BitDepth == 16) {
                    std::memcpy(row + 2 * index, &value, 2);
                } else if (kind.BitDepth == 8) {
                    row[index] = static_cast<std::uint8_t>(value);
                } else {
                    const std::size_t bit = index * kind.BitDepth;
                    row[bit / 8] |=
                        static_cast<std::uint8_t>(value << (8 - kind.BitDepth - bit % 8));
                }
            }
        }
    }
    return rows;
}

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

void Require(int result, const char* what) {
    if (result != 0) {
        throw std::runtime_error(std::string("PNG encoder: ") + what + ": " +
                                 spng_strerror(result));
    }
}

std::string Encode(const PngKind& kind, int width, int height,
                   const std::vector<std::uint8_t>& rows, const spng_trns* transparency) {
    std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(SPNG_CTX_ENCODER));
    spng_ctx* png = context.get();
    Require(spng_set_option(png, SPNG_ENCODE_TO_BUFFER, 1), "buffer");
    spng_ihdr header{static_cast<std::uint32_t>(width),
                     static_cast<std::uint32_t>(height),
                     static_cast<std::uint8_t>(kind.BitDepth),
                     static_cast<std::uint8_t>(kind.ColourType),
                     0,
                     0,
                     static_cast<std::uint8_t>(kind.Interlaced ? 1 : 0)};
    Require(spng_set_ihdr(png, &header), "header");
    if (kind.ColourType == 3) {
        spng_plte palette{};
        palette.n_entries = 1u << kind.BitDepth;
        for (std::uint32_t i = 0; i < palette.n_entries; ++i) {
            palette.entries[i] = PaletteEntry(static_cast<int>(i));
        }
        Require(spng_set_plte(png, &palette), "palette");
    }
    if (transparency) {
        spng_trns copy = *transparency;
        Require(spng_set_trns(png, &copy), "transparency");
    }
    Require(spng_encode_image(png, rows.data(), rows.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE),
            "image");
    std::size_t size = 0;
    int error = 0;
    void* buffer = spng_get_png_buffer(png, &size, &error);
    Require(error, "output");
    std::string bytes(static_cast<const char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::uint32_t U32(const std::string& bytes, std::size_t at) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data() + at);
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
    }
}

// Where the chunk of `type` starts (at its length field).
std::size_t FindChunk(const std::string& png, const char* type) {
    for (std::size_t at = 8; at + 12 <= png.size(); at += 12 + U32(png, at)) {
        if (png.compare(at + 4, 4, type) == 0) {
            return at;
        }
    }
    throw std::runtime_error(std::string("no ") + type + " chunk");
}

void FixCrc(std::string& png, std::size_t chunk) {
    const std::uint32_t length = U32(png, chunk);
    const auto* typeAndData = reinterpret_cast<const std::uint8_t*>(png.data() + chunk + 4);
    PutU32(png, chunk + 8 + length, Crc32(typeAndData, length + 4));
}

} // namespace

PngPattern PatternPng(const PngKind& kind, int width, int height, TColor transparentAs) {
    std::vector<Pixel> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            pixels.push_back(PatternPixel(kind, x, y));
        }
    }
    spng_trns transparency{};
    const bool keyedSamples = kind.KeyChunk && (kind.ColourType == 0 || kind.ColourType == 2);
    if (kind.KeyChunk && kind.ColourType == 3) {
        transparency.n_type3_entries = (1u << kind.BitDepth) - 1;
        for (std::uint32_t i = 0; i < transparency.n_type3_entries; ++i) {
            transparency.type3_alpha[i] = PaletteAlpha(static_cast<int>(i));
        }
    } else if (keyedSamples) {
        // The samples of pixel (1, 0) are transparent wherever they recur.
        const Pixel& keyed = pixels[1];
        transparency.gray = keyed.Samples[0];
        transparency.red = keyed.Samples[0];
        transparency.green = keyed.Samples[1];
        transparency.blue = keyed.Samples[2];
        for (Pixel& pixel : pixels) {
            pixel.Transparent = std::equal(
                pixel.Samples, pixel.Samples + ChannelsOf(kind.ColourType), keyed.Samples);
        }
    }
    PngPattern pattern;
    pattern.Bytes = Encode(kind, width, height, PackRows(kind, width, height, pixels),
                           kind.KeyChunk ? &transparency : nullptr);
    pattern.Expected = TBitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Pixel& pixel = pixels[static_cast<std::size_t>(y) * width + x];
            pattern.Transparent |= pixel.Transparent;
            pattern.Expected.SetPixel(x, y, pixel.Transparent ? transparentAs : pixel.Colour);
        }
    }
    return pattern;
}

std::string TransparentPng(const TBitmap& colours, TColor transparent) {
    const int width = colours.Width();
    const int height = colours.Height();
    std::vector<std::uint8_t> rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const TColor colour = colours.Pixel(x, y);
            const bool clear = colour == transparent;
            const TColor shown = clear ? RGB(x * 7 & 255, y * 13 & 255, 40) : colour;
            rows.insert(rows.end(),
                        {static_cast<std::uint8_t>(RedOf(shown)),
                         static_cast<std::uint8_t>(GreenOf(shown)),
                         static_cast<std::uint8_t>(BlueOf(shown)),
                         static_cast<std::uint8_t>(clear ? (x + y) % 128 : 128 + (x * y) % 128)});
        }
    }
    return Encode(PngKind{6, 8, false, false}, width, height, rows, nullptr);
}

std::string WithBrokenCrc(std::string png, const char* type) {
    const std::size_t chunk = FindChunk(png, type);
    png[chunk + 8 + U32(png, chunk)] ^= 0x55;
    return png;
}

std::string WithBrokenZlib(std::string png) {
    const std::size_t chunk = FindChunk(png, "IDAT");
    const std::uint32_t length = U32(png, chunk);
    // Past the two-byte zlib header: a block type that does not exist (both type bits set).
    for (std::uint32_t i = 2; i < length; ++i) {
        png[chunk + 8 + i] = static_cast<char>(0xFF);
    }
    FixCrc(png, chunk);
    return png;
}

std::string PngHeaderOnly(std::uint32_t width, std::uint32_t height, std::size_t idatBytes) {
    std::string png("\x89PNG\r\n\x1a\n", 8);
    png +=
        std::string("\0\0\0\x0dIHDR", 8) + std::string(8, '\0') + std::string("\x08\x06\0\0\0", 5);
    PutU32(png, 16, width);
    PutU32(png, 20, height);
    png += std::string(4, '\0');
    FixCrc(png, 8);
    if (idatBytes > 0) {
        png += std::string(4, '\0') + "IDAT" + std::string(idatBytes, '\0') + std::string(4, '\0');
        PutU32(png, 33, static_cast<std::uint32_t>(idatBytes));
        FixCrc(png, 33);
    }
    return png;
}

} // namespace test_support
