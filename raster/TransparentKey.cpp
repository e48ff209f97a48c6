// One key colour for a picture's transparent pixels, chosen among the colours no opaque pixel has.
#include "raster/TransparentKey.h"

#include <array>
#include <vector>

namespace {

// Never a colour: its top byte is set. Transparent pixels hold it until the key is known.
constexpr std::uint32_t kPendingKey = 0xFFFFFFFF;
constexpr std::uint32_t kOpaqueAlpha = 128;

constexpr std::array<TColor, 6> kKeyOrder = {
    kTransparentKey,       0x00FF00 /* green */, 0xFFFF00 /* cyan */,
    0x00FFFF /* yellow */, 0xFF0000 /* blue */,  0x0000FF /* red */,
};

// The first colour of the order that no opaque pixel has; only needed when magenta is taken.
TColor FirstUnusedColour(const std::uint32_t* pixels, std::size_t count) {
    std::vector<std::uint64_t> used((std::size_t{1} << 24) / 64, 0);
    for (std::size_t i = 0; i < count; ++i) {
        if (pixels[i] != kPendingKey) {
            used[pixels[i] >> 6] |= std::uint64_t{1} << (pixels[i] & 63);
        }
    }
    auto isUsed = [&](TColor colour) { return (used[colour >> 6] >> (colour & 63)) & 1; };
    for (TColor colour : kKeyOrder) {
        if (!isUsed(colour)) {
            return colour;
        }
    }
    for (std::size_t word = 0; word < used.size(); ++word) {
        if (used[word] != ~std::uint64_t{0}) {
            for (TColor colour = static_cast<TColor>(word * 64);; ++colour) {
                if (!isUsed(colour)) {
                    return colour;
                }
            }
        }
    }
    return kTransparentKey;
}

} // namespace

std::optional<TColor> KeyTransparentPixels(std::uint32_t* pixels, std::size_t count) {
    bool transparent = false;
    bool keyTaken = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t pixel = pixels[i];
        if ((pixel >> 24) >= kOpaqueAlpha) {
            const std::uint32_t colour = pixel & 0x00FFFFFF;
            pixels[i] = colour;
            keyTaken |= colour == kTransparentKey;
        } else {
            pixels[i] = kPendingKey;
            transparent = true;
        }
    }
    if (!transparent) {
        return std::nullopt;
    }
    const TColor key = keyTaken ? FirstUnusedColour(pixels, count) : kTransparentKey;
    for (std::size_t i = 0; i < count; ++i) {
        if (pixels[i] == kPendingKey) {
            pixels[i] = key;
        }
    }
    return key;
}
