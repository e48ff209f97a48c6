// The PNG reader: every colour type and depth against the same picture as BMP, damaged files,
// the size limits and the memory guard, transparency keyed to one colour, loading by extension.
#include "raster/Errors.h"
#include "raster/PictureFile.h"
#include "raster/PictureMemory.h"
#include "raster/TPicture.h"
#include "raster/TransparentKey.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/Files.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/PngPictures.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

std::string KindName(const PngKind& kind) {
    return "type" + std::to_string(kind.ColourType) + "-" + std::to_string(kind.BitDepth) +
           (kind.KeyChunk ? "-trns" : "") + (kind.Interlaced ? "-adam7" : "");
}

// The detail of the damage the reader names, or what it raised instead.
std::string DamageOf(const std::string& path) {
    try {
        ReadPictureFile(path);
    } catch (const EDamagedPng& damage) {
        return damage.Detail();
    } catch (const std::exception& other) {
        return std::string("not damage: ") + other.what();
    }
    return "(read)";
}

} // namespace

TEST(PngReader, EveryColourTypeAndDepthReadsAsTheSamePictureWrittenAsBmp) {
    const std::vector<PngKind> kinds = {
        {0, 1},
        {0, 2},
        {0, 4},
        {0, 8},
        {0, 16},
        {0, 2, false, true},
        {0, 16, false, true},
        {2, 8},
        {2, 16},
        {2, 8, false, true},
        {2, 16, false, true},
        {3, 1},
        {3, 2},
        {3, 4},
        {3, 8},
        {3, 1, false, true},
        {3, 8, false, true},
        {4, 8},
        {4, 16},
        {6, 8},
        {6, 16},
    };
    const ScratchFolder folder;
    for (PngKind kind : kinds) {
        for (bool interlaced : {false, true}) {
            kind.Interlaced = interlaced;
            const std::string name = KindName(kind);
            const PngPattern pattern = PatternPng(kind, 13, 9, kTransparentKey);
            WriteText(folder.Path(name + ".png"), pattern.Bytes);
            WriteBmpFile(pattern.Expected, folder.Path(name + ".bmp"));

            const LoadedPicture png = ReadPictureFile(folder.Path(name + ".png"));
            const LoadedPicture bmp = ReadPictureFile(folder.Path(name + ".bmp"));
            EXPECT_EQ(FirstDifference(png.Bitmap, bmp.Bitmap), "") << name;
            EXPECT_EQ(png.TransparentKey.has_value(), pattern.Transparent) << name;
            if (pattern.Transparent) {
                EXPECT_EQ(png.TransparentKey, kTransparentKey) << name;
            }
            EXPECT_FALSE(bmp.TransparentKey) << name;
        }
    }
}

TEST(PngReader, DamagedFilesFailWithTheInvalidBitmapMessageAndLeaveThePictureAsItWas) {
    const PngPattern keyed = PatternPng({3, 4, false, true}, 13, 9, kTransparentKey);
    const std::string& good = keyed.Bytes;
    const struct {
        const char* name;
        std::string bytes;
        const char* damage;
    } cases[] = {
        {"empty", "", "bad signature (not a PNG file)"},
        {"bmp-inside", BmpBytesOf(TBitmap(2, 2)), "bad signature (not a PNG file)"},
        {"header-crc", WithBrokenCrc(good, "IHDR"), "CRC error in a chunk"},
        {"trns-crc", WithBrokenCrc(good, "tRNS"), "CRC error in a chunk"},
        {"data-crc", WithBrokenCrc(good, "IDAT"), "CRC error in a chunk"},
        {"in-header", good.substr(0, 20), "file is cut short inside the header"},
        {"in-data", good.substr(0, good.size() - 30), "file is cut short"},
        {"no-end", good.substr(0, good.size() - 12), "file is cut short"},
        {"zlib", WithBrokenZlib(good), "zlib error in the picture data"},
    };
    const ScratchFolder folder;
    TPicture picture;
    picture.Assign(TBitmap(3, 3, clBlack));
    for (const auto& damaged : cases) {
        const std::string path = folder.Path(std::string(damaged.name) + ".png");
        WriteText(path, damaged.bytes);
        EXPECT_EQ(DamageOf(path), damaged.damage) << damaged.name;
        EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(path); }), msg::kInvalidBitmap)
            << damaged.name;
        EXPECT_EQ(FirstDifference(*picture.Bitmap(), TBitmap(3, 3, clBlack)), "") << damaged.name;
    }
}

TEST(PngReader, SizesBeyondTheLimitsAndThePictureMemoryAreRefusedBeforeAnythingIsMade) {
    const ScratchFolder folder;
    const struct {
        const char* name;
        std::string bytes;
        bool damaged; // else refused for its size
    } cases[] = {
        {"wide", PngHeaderOnly(70000, 1, 64), false},
        {"too-many-pixels", PngHeaderOnly(65535, 65535, 64), false},
        {"zero-width", PngHeaderOnly(0, 5, 64), true},
        {"announced-not-held", PngHeaderOnly(16000, 16000, 1000), true},
    };
    MemoryLimit limit(64 * kMiB); // none of these may take the gigabytes it announces
    for (const auto& refused : cases) {
        const std::string path = folder.Path(std::string(refused.name) + ".png");
        WriteText(path, refused.bytes);
        try {
            ReadPictureFile(path);
            ADD_FAILURE() << refused.name << " was read";
        } catch (const EDamagedPng&) {
            EXPECT_TRUE(refused.damaged) << refused.name;
        } catch (const EInvalidGraphic& error) {
            EXPECT_FALSE(refused.damaged) << refused.name;
            EXPECT_EQ(error.Flaw(), BmpFlaw::SizeOutOfRange) << refused.name;
        }
    }
    // Enough data that the picture could be there: the memory guard refuses it by its header.
    const std::string huge = folder.Path("huge.png");
    WriteText(huge, PngHeaderOnly(16000, 16000, 1 * kMiB));
    EXPECT_THROW(RequireMemoryFor(PictureUse::AccessoryData, huge), ENotEnoughMemory);
    EXPECT_EQ(PeekPictureFile(huge)->Width, 16000);
}

TEST(TransparentKey, TransparentPixelsTakeTheFirstColourOfTheOrderThatNoOpaquePixelHas) {
    constexpr std::uint32_t kOpaque = 0xFF000000;
    constexpr std::uint32_t kClear = 0x7F123456; // alpha 127, any colour underneath
    const TColor six[] = {0xFF00FF, 0x00FF00, 0xFFFF00, 0x00FFFF, 0xFF0000, 0x0000FF};
    const struct {
        const char* name;
        std::vector<TColor> opaque;
        std::optional<TColor> key;
    } cases[] = {
        {"magenta free", {0x000000, 0x00FF00}, 0xFF00FF},
        {"magenta taken", {0xFF00FF}, 0x00FF00},
        {"magenta and green taken", {0x00FF00, 0xFF00FF}, 0xFFFF00},
        {"the six taken", {six, six + 6}, 0x000000},
        {"the six and black taken",
         {0x000000, six[0], six[1], six[2], six[3], six[4], six[5]},
         0x000001},
    };
    for (const auto& picture : cases) {
        std::vector<std::uint32_t> pixels = {kClear};
        for (TColor colour : picture.opaque) {
            pixels.push_back(kOpaque | colour);
        }
        pixels.push_back(0x80000000 | 0x0000FF); // alpha 128 is opaque
        EXPECT_EQ(KeyTransparentPixels(pixels.data(), pixels.size()), picture.key) << picture.name;
        EXPECT_EQ(pixels.front(), *picture.key) << picture.name;
        EXPECT_EQ(pixels.back(), 0x0000FFu) << picture.name << ": opaque keeps its colour";
    }
    std::vector<std::uint32_t> opaque = {0xFFFF00FF, 0x80123456};
    EXPECT_EQ(KeyTransparentPixels(opaque.data(), opaque.size()), std::nullopt);
    EXPECT_EQ(opaque, (std::vector<std::uint32_t>{0xFF00FF, 0x123456}));
}

TEST(PictureFile, PngNamesInAnyLetterCaseReadAsPngEverywhereAndOutputsAreNamedBmp) {
    const ScratchFolder folder;
    const PngPattern pattern = PatternPng({6, 8}, 5, 4, kTransparentKey);
    for (const char* name : {"fish.png", "FISH.PNG", "Fish.Png"}) {
        const std::string path = folder.Path(name);
        WriteText(path, pattern.Bytes);
        TPicture picture;
        picture.LoadFromFile(path);
        EXPECT_EQ(FirstDifference(*picture.Bitmap(), pattern.Expected), "") << name;
        EXPECT_EQ(picture.TransparentKey(), kTransparentKey) << name;
        TBitmap surface;
        surface.LoadFromFile(path);
        EXPECT_EQ(FirstDifference(surface, pattern.Expected), "") << name;
        picture.Assign(surface);
        EXPECT_EQ(picture.TransparentKey(), std::nullopt) << name << ": an assigned surface";
    }
    const std::pair<const char*, const char*> names[] = {
        {"/p/fish.png", "/p/fish.bmp"},         {"/p/FISH.PNG", "/p/FISH.bmp"},
        {"/p/fish.bmp", "/p/fish.bmp"},         {"/p.png/fish", "/p.png/fish"},
        {"/p/fish.png.txt", "/p/fish.png.txt"},
    };
    for (const auto& [picture, output] : names) {
        EXPECT_EQ(BmpOutputName(picture), output) << picture;
    }
}
