// Pictures too large for the memory: refused from their headers before any surface is made, by
// the pixels a file announces but does not hold and by the memory a command would need.
#include "raster/Bmp.h"
#include "raster/BmpFormat.h"
#include "raster/Errors.h"
#include "raster/MemoryGuard.h"
#include "raster/PictureMemory.h"
#include "raster/Sanitizers.h"
#include "raster/TBitmap.h"
#include "tests/support/Files.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

namespace fs = std::filesystem;
using namespace test_support;

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

void Put(std::string& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        b.push_back(static_cast<char>(v >> (8 * i)));
    }
}

// A file with a 40-byte header, no colour table, then `pixelBytes` zero bytes (or, for run
// length, an end-of-picture code).
std::string BmpFile(int width, int height, int bits, std::uint32_t compression,
                    std::size_t pixelBytes) {
    std::string b = "BM";
    Put(b, 0, 4);
    Put(b, 0, 4);
    Put(b, 54 + (bits == 8 ? 1024 : 0), 4);
    Put(b, 40, 4);
    Put(b, static_cast<std::uint32_t>(width), 4);
    Put(b, static_cast<std::uint32_t>(height), 4);
    Put(b, 1, 2);
    Put(b, static_cast<std::uint32_t>(bits), 2);
    Put(b, compression, 4);
    b.append(4 * 5, '\0'); // image size, resolution, colours used and important
    if (compression == bmp::kBitFields) {
        Put(b, 0x00FF0000, 4);
        Put(b, 0x0000FF00, 4);
        Put(b, 0x000000FF, 4);
    }
    if (bits == 8) {
        b.append(1024, '\0');
    }
    if (compression == bmp::kRle8) {
        b.append({'\0', '\1'});
    }
    b.append(pixelBytes, '\0');
    return b;
}

bool HeadersAccepted(const std::string& file) {
    try {
        bmp::ParseHeaders(reinterpret_cast<const std::uint8_t*>(file.data()), file.size());
        return true;
    } catch (const EInvalidGraphic&) {
        return false;
    }
}

} // namespace

TEST(AnnouncedPixels, UncompressedLargePicturesHoldingAlmostNoneOfTheirPixelsAreRefused) {
    // 4097 x 4097 is just over 2^24 pixels; a 24-bit row of it is 12292 bytes.
    constexpr std::size_t kAnnounced = std::size_t{12292} * 4097;
    constexpr std::size_t kThousandth = (kAnnounced + 999) / 1000;
    const struct {
        const char* name;
        std::string file;
        bool accepted;
    } rows[] = {
        {"100 bytes announcing 16000 x 16000", BmpFile(16000, 16000, 24, bmp::kRgb, 46), false},
        {"the same top-down", BmpFile(16000, -16000, 24, bmp::kRgb, 46), false},
        {"32-bit bit fields", BmpFile(8000, 8000, 32, bmp::kBitFields, 100), false},
        {"one byte in a thousand held", BmpFile(4097, 4097, 24, bmp::kRgb, kThousandth), true},
        {"one byte fewer", BmpFile(4097, 4097, 24, bmp::kRgb, kThousandth - 1), false},
        {"2^24 pixels, no pixel data: merely cut short", BmpFile(4096, 4096, 24, bmp::kRgb, 0),
         true},
        {"run length describing 16000 x 16000 in two bytes",
         BmpFile(16000, 16000, 8, bmp::kRle8, 0), true},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HeadersAccepted(row.file), row.accepted) << row.name;
    }
    // The message is the invalid bitmap's, from the file's own reading too.
    const ScratchFolder folder;
    const std::string hundred = folder.Path("hundred.bmp");
    WriteText(hundred, rows[0].file);
    ASSERT_EQ(fs::file_size(hundred), 100u);
    try {
        ReadBmpFile(hundred);
        ADD_FAILURE() << "the 100-byte file was read";
    } catch (const EInvalidGraphic& error) {
        EXPECT_STREQ(error.what(), msg::kInvalidBitmap);
    }
}

TEST(MemoryGuard, AvailableMemoryStaysWithinTheDataAndAddressSpaceLimits) {
    const std::uint64_t unlimited = AvailableMemory();
    EXPECT_GT(unlimited, 0u);
    {
        MemoryLimit limit(64 * kMiB);
        if (!limit.Holds()) {
            GTEST_SKIP() << MemoryLimit::kDoesNotHold;
        }
        const std::uint64_t available = AvailableMemory();
        EXPECT_LE(available, 64 * kMiB);
        EXPECT_GT(available, 32 * kMiB);
        EXPECT_NO_THROW(RequireMemory(8 * kMiB));
        try {
            RequireMemory(kMiB << 10);
            ADD_FAILURE() << "a gibibyte fitted under a limit of 64 MiB";
        } catch (const ENotEnoughMemory& error) {
            EXPECT_STREQ(error.what(), msg::kOutOfResources);
            EXPECT_EQ(error.Needed(), kMiB << 10);
            EXPECT_LE(error.Available(), 64 * kMiB);
        }
    }
    EXPECT_GT(AvailableMemory(), 64 * kMiB) << "the limit is gone with its scope";
}

// Released pictures' memory stays with the program for the next picture; the guard counts it as
// available, not as taken. (The sanitizer's own allocator holds released memory back on purpose.)
TEST(MemoryGuard, MemoryKeptForTheNextPictureCountsAsAvailable) {
#if defined(VELMORA_ADDRESS_SANITIZER)
    GTEST_SKIP() << "the address sanitizer keeps released memory in quarantine";
#endif
    MemoryLimit limit(160 * kMiB);
    if (!limit.Holds()) {
        GTEST_SKIP() << MemoryLimit::kDoesNotHold;
    }
    {
        TBitmap released(4096, 4096, clWhite); // 64 MiB, all of it touched
    }
    EXPECT_NO_THROW(RequireMemory(128 * kMiB));
}

TEST(MemoryGuard, EveryCommandRefusesAPictureTooLargeForTheMemoryLeftAndTakesASmallOne) {
    const ScratchFolder folder;
    const std::string huge = folder.Path("huge.bmp");
    const std::string small = folder.Path("small.bmp");
    const std::string absent = folder.Path("absent.bmp");
    WriteText(huge, BmpFile(16000, 16000, 8, bmp::kRle8, 0));
    WriteText(small, BmpFile(100, 100, 24, bmp::kRgb, 300 * 100));
    WriteText(absent, BmpFile(16000, 16000, 24, bmp::kRgb, 46));
    MemoryLimit limit(256 * kMiB);
    if (!limit.Holds()) {
        GTEST_SKIP() << MemoryLimit::kDoesNotHold;
    }
    for (PictureUse use :
         {PictureUse::FishWorkspace, PictureUse::FishSheet, PictureUse::ShadowSheet,
          PictureUse::UpDownSheets, PictureUse::AccessoryData, PictureUse::PreviewFrames,
          PictureUse::Conversion, PictureUse::Check}) {
        const int index = static_cast<int>(use);
        EXPECT_THROW(RequireMemoryFor(use, huge), ENotEnoughMemory) << index;
        EXPECT_NO_THROW(RequireMemoryFor(use, small)) << index;
        // Files that are no pictures pass the memory check: reading them says what is wrong.
        EXPECT_NO_THROW(RequireMemoryFor(use, absent)) << index;
        EXPECT_NO_THROW(RequireMemoryFor(use, "/nonexistent/fish.bmp")) << index;
        // Every command keeps at least the picture itself and the file while reading it.
        EXPECT_GE(MemoryNeeded(use, 16000, 16000, 1000), 4u * 16000 * 16000 + 1000) << index;
    }
}

TEST(MemoryGuard, WorkBesideOtherWorkWaitsForItsReservationsAndFailsOnlyAlone) {
    MemoryLimit limit(256 * kMiB);
    if (!limit.Holds()) {
        GTEST_SKIP() << MemoryLimit::kDoesNotHold;
    }
    const std::uint64_t available = AvailableMemory();
    std::atomic<bool> granted{false};
    std::thread second;
    {
        const MemoryReservation first = ReserveMemory(available * 3 / 5);
        // Beside the first, three fifths more do not fit: the second waits for the first.
        second = std::thread([&] {
            const MemoryReservation mine = ReserveMemory(available * 3 / 5);
            granted = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(granted) << "granted beside the first reservation";
        // What fits in what is left is granted at once.
        EXPECT_NO_THROW(const MemoryReservation small = ReserveMemory(available / 10));
    }
    second.join();
    EXPECT_TRUE(granted);
    // With nothing reserved, more than is available fails at once.
    EXPECT_THROW(const MemoryReservation whole = ReserveMemory(available * 2), ENotEnoughMemory);
}
