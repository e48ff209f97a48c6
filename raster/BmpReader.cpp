// The BMP reader: header validation, then every depth and compression decoded into colour.
#include "raster/Bmp.h"
#include "raster/BmpFormat.h"
#include "raster/Errors.h"
#include "raster/FileBytes.h"
#include "raster/Platform.h"
#include "raster/RowConversions.h"
#include "raster/SideBySide.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace bmp {
namespace {

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(U32(p));
}

void Require(std::size_t size, std::uint64_t needed, BmpFlaw shortOf = BmpFlaw::EndsInInfoHeader) {
    if (needed > size) {
        throw EReadError(shortOf);
    }
}

} // namespace

Layout ParseHeaders(const std::uint8_t* data, std::size_t size, std::uint64_t fileSize) {
    Require(size, kFileHeaderSize, BmpFlaw::EndsInFileHeader);
    if (data[0] != 'B' || data[1] != 'M') {
        throw EInvalidGraphic(BmpFlaw::NotBmp);
    }
    Require(size, kFileHeaderSize + 4);
    const std::uint32_t headerSize = U32(data + kFileHeaderSize);
    const std::uint8_t* h = data + kFileHeaderSize;

    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t planes = 0;
    Layout layout;
    std::uint32_t clrUsed = 0;
    std::uint32_t sizeImage = 0;
    if (headerSize == kCoreHeaderSize) {
        Require(size, kFileHeaderSize + kCoreHeaderSize);
        width = U16(h + 4);
        height = U16(h + 6);
        planes = U16(h + 8);
        layout.BitCount = U16(h + 10);
        layout.PaletteEntrySize = 3;
    } else {
        if (headerSize < kInfoHeaderSize) {
            throw EInvalidGraphic(BmpFlaw::BadHeader);
        }
        Require(size, std::uint64_t{kFileHeaderSize} + headerSize);
        width = I32(h + 4);
        height = I32(h + 8);
        planes = U16(h + 12);
        layout.BitCount = U16(h + 14);
        layout.CompressionKind = U32(h + 16);
        sizeImage = U32(h + 20);
        clrUsed = U32(h + 32);
    }
    if (planes != 1) {
        throw EInvalidGraphic(BmpFlaw::BadHeader);
    }
    std::size_t offset = kFileHeaderSize + headerSize;

    const int bits = layout.BitCount;
    const std::uint32_t compression = layout.CompressionKind;
    const bool depthKnown =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool compressionFits = compression == kRgb || (compression == kRle8 && bits == 8) ||
                                 (compression == kRle4 && bits == 4) ||
                                 (compression == kBitFields && (bits == 16 || bits == 32));
    if (!depthKnown || !compressionFits) {
        throw EInvalidGraphic(BmpFlaw::UnsupportedKind);
    }

    if (compression == kBitFields) {
        if (headerSize == kInfoHeaderSize) {
            Require(size, std::uint64_t{offset} + 12, BmpFlaw::EndsInColourMasks);
            for (int i = 0; i < 3; ++i) {
                layout.Masks[i] = U32(data + offset + 4 * i);
            }
            offset += 12;
        } else if (headerSize >= 52) {
            for (int i = 0; i < 3; ++i) {
                layout.Masks[i] = U32(h + 40 + 4 * i);
            }
        }
    } else if (bits == 16) {
        layout.Masks[0] = 0x7C00;
        layout.Masks[1] = 0x03E0;
        layout.Masks[2] = 0x001F;
    } else if (bits == 32) {
        layout.Masks[0] = 0x00FF0000;
        layout.Masks[1] = 0x0000FF00;
        layout.Masks[2] = 0x000000FF;
    }

    std::uint64_t entries = clrUsed;
    if (entries == 0 && bits <= 8) {
        entries = std::uint64_t{1} << bits;
    }
    layout.PaletteOffset = offset;
    Require(size, offset + entries * layout.PaletteEntrySize, BmpFlaw::EndsInColourTable);
    layout.PaletteEntries = static_cast<std::size_t>(entries);
    offset += static_cast<std::size_t>(entries * layout.PaletteEntrySize);
    layout.PixelOffset = offset;

    if (height < 0) {
        layout.TopDown = true;
        height = -height;
    }
    if (width < 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxSurfacePixels) {
        throw EInvalidGraphic(BmpFlaw::SizeOutOfRange);
    }
    layout.Width = static_cast<int>(width);
    layout.Height = static_cast<int>(height);
    layout.RowBytes = (width * bits + 31) / 32 * 4;
    // Run-length data is as long as it is; without a stated size it runs to the file's end.
    const bool runLength = compression == kRle8 || compression == kRle4;
    if (sizeImage != 0) {
        layout.PixelBytes = sizeImage;
    } else if (runLength) {
        layout.PixelBytes = size - offset;
    } else {
        layout.PixelBytes = static_cast<std::uint64_t>(layout.RowBytes * height);
    }
    if (!runLength && width * height > kLargePicturePixels) {
        const std::uint64_t announced = static_cast<std::uint64_t>(layout.RowBytes * height);
        const std::uint64_t held =
            fileSize > offset ? std::min<std::uint64_t>(fileSize - offset, layout.PixelBytes) : 0;
        if (held * kLeastHeldFraction < announced) {
            throw EInvalidGraphic(BmpFlaw::PixelsAbsent);
        }
    }
    return layout;
}

namespace {

using Palette = std::array<std::uint32_t, 256>;

Palette ReadPalette(const std::uint8_t* data, const Layout& layout) {
    Palette palette{}; // indices beyond the table read as black
    std::size_t count = std::min<std::size_t>(layout.PaletteEntries, palette.size());
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* e = data + layout.PaletteOffset + i * layout.PaletteEntrySize;
        palette[i] = RGB(e[2], e[1], e[0]);
    }
    return palette;
}

// One colour channel of a bit-field pixel, scaled to 8 bits by replicating its top bits.
struct Channel {
    int Shift = 0;
    int Bits = 0;
    std::uint32_t Mask = 0;

    explicit Channel(std::uint32_t mask) : Mask(mask) {
        if (mask == 0) {
            return;
        }
        while (!(mask & 1u)) {
            mask >>= 1;
            ++Shift;
        }
        while (mask & 1u) {
            mask >>= 1;
            ++Bits;
        }
    }
    int Value(std::uint32_t pixel) const {
        if (Bits == 0) {
            return 0;
        }
        std::uint32_t v = (pixel & Mask) >> Shift;
        if (Bits >= 8) {
            return static_cast<int>(v >> (Bits - 8));
        }
        // Replicate the bits down to fill 8: a full channel stays full, zero stays zero.
        std::uint32_t out = 0;
        int filled = 0;
        while (filled < 8) {
            out = (out << Bits) | v;
            filled += Bits;
        }
        return static_cast<int>(out >> (filled - 8));
    }
};

// The pixel rows as stored; bytes the file does not hold read as 0.
class PixelSource {
  public:
    PixelSource(const std::uint8_t* data, std::size_t size, const Layout& layout) {
        begin_ = data + std::min(layout.PixelOffset, size);
        available_ =
            std::min<std::uint64_t>(layout.PixelBytes, size - std::min(layout.PixelOffset, size));
    }
    std::uint8_t At(std::uint64_t index) const { return index < available_ ? begin_[index] : 0; }
    const std::uint8_t* Span(std::uint64_t index, std::uint64_t length) const {
        return index + length <= available_ ? begin_ + index : nullptr;
    }
    std::uint64_t Available() const { return available_; }

  private:
    const std::uint8_t* begin_;
    std::uint64_t available_;
};

int TargetRow(const Layout& layout, int storedRow) {
    return layout.TopDown ? storedRow : layout.Height - 1 - storedRow;
}

// Decodes the stored rows [first, last) into the picture whose top row starts at `pixels`.
void DecodeRows(const PixelSource& source, const Layout& layout, const Palette& palette,
                std::uint32_t* pixels, int first, int last) {
    const int width = layout.Width;
    const int bits = layout.BitCount;
    const Channel red(layout.Masks[0]), green(layout.Masks[1]), blue(layout.Masks[2]);
    // Bit fields that name the usual eight-bit channels read like the plain layout.
    const bool plainThirtyTwo = layout.Masks[0] == 0x00FF0000 && layout.Masks[1] == 0x0000FF00 &&
                                layout.Masks[2] == 0x000000FF;
    const RowConversions& convert = RowConverter();
    std::vector<std::uint8_t> padded;
    for (int r = first; r < last; ++r) {
        const std::uint64_t start = static_cast<std::uint64_t>(r) * layout.RowBytes;
        const std::uint8_t* row = source.Span(start, layout.RowBytes);
        if (!row) {
            // A row the file holds only partly: the missing bytes are 0.
            padded.assign(static_cast<std::size_t>(layout.RowBytes), 0);
            for (std::int64_t i = 0; i < layout.RowBytes; ++i) {
                padded[i] = source.At(start + i);
            }
            row = padded.data();
        }
        std::uint32_t* target = pixels + static_cast<std::size_t>(TargetRow(layout, r)) *
                                             static_cast<std::size_t>(width);
        switch (bits) {
        case 24:
            convert.FromBgr(row, target, width);
            break;
        case 32:
            if (plainThirtyTwo) {
                convert.FromBgrx(row, target, width);
                break;
            }
            for (int x = 0; x < width; ++x) {
                std::uint32_t v = U32(row + 4 * x);
                target[x] = RGB(red.Value(v), green.Value(v), blue.Value(v));
            }
            break;
        case 16:
            for (int x = 0; x < width; ++x) {
                std::uint32_t v = U16(row + 2 * x);
                target[x] = RGB(red.Value(v), green.Value(v), blue.Value(v));
            }
            break;
        case 8:
            convert.FromIndex8(row, palette.data(), target, width);
            break;
        case 4:
            convert.FromIndex4(row, palette.data(), target, width);
            break;
        case 1:
            convert.FromIndex1(row, palette.data(), target, width);
            break;
        }
    }
}

// Below this many pixels a second thread costs more than the half of the rows it takes over.
constexpr std::int64_t kPixelsWorthASecondThread = std::int64_t{1} << 20;

// The rows convert independently, so large pictures decode in two bands side by side: a
// decode is bound by the memory it writes, and a second core brings its own share of it.
void DecodeUncompressed(const PixelSource& source, const Layout& layout, const Palette& palette,
                        TBitmap& out) {
    // The picture's pixels are made private here, on the calling thread; the bands only write.
    std::uint32_t* pixels = out.MutableRow(0);
    const int half = layout.Height / 2;
    RunSideBySide(
        std::int64_t{layout.Width} * layout.Height >= kPixelsWorthASecondThread,
        [&] { DecodeRows(source, layout, palette, pixels, half, layout.Height); },
        [&] { DecodeRows(source, layout, palette, pixels, 0, half); });
}

// Run-length data: runs that pass the row's end are clipped, a delta or a row past the picture
// ends the decoding, and data that ends early leaves the rest at colour 0.
//
// The column never passes the row's end: a file of millions of deltas along one row would
// otherwise carry it past any integer's range and back to a place before the row. The row stops
// the decoding as soon as it passes the picture, so it stays below height + 256.
void DecodeRunLength(const PixelSource& source, const Layout& layout, const Palette& palette,
                     TBitmap& out) {
    const bool four = layout.CompressionKind == kRle4;
    const int width = layout.Width;
    const int height = layout.Height;
    int x = 0;   // 0 to width: at width, every pixel up to the next end of line is dropped
    int row = 0; // stored row: 0 is the bottom row of a bottom-up picture
    std::uint64_t i = 0;
    const std::uint64_t end = source.Available();
    auto put = [&](int index) {
        if (x < width) {
            out.MutableRow(TargetRow(layout, row))[x] = palette[static_cast<std::size_t>(index)];
            ++x;
        }
    };
    while (i + 1 < end && row < height) {
        const std::uint8_t count = source.At(i);
        const std::uint8_t value = source.At(i + 1);
        i += 2;
        if (count > 0) {
            for (int n = 0; n < count && x < width; ++n) {
                put(four ? (n % 2 == 0 ? value >> 4 : value & 0x0F) : value);
            }
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta
            if (i + 1 >= end) {
                break;
            }
            x = std::min(width, x + source.At(i));
            row += source.At(i + 1);
            i += 2;
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            const int pixels = value;
            const std::uint64_t bytes = four ? (pixels + 1) / 2 : pixels;
            for (int n = 0; n < pixels && x < width; ++n) {
                std::uint8_t b = source.At(i + (four ? n / 2 : n));
                put(four ? (n % 2 == 0 ? b >> 4 : b & 0x0F) : b);
            }
            i += bytes + (bytes & 1);
        }
    }
}

} // namespace
} // namespace bmp

TBitmap DecodeBmp(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return TBitmap();
    }
    const bmp::Layout layout = bmp::ParseHeaders(data, size);
    if (layout.Width == 0 || layout.Height == 0) {
        return TBitmap();
    }
    const bmp::Palette palette = bmp::ReadPalette(data, layout);
    const bmp::PixelSource source(data, size, layout);
    if (layout.CompressionKind == bmp::kRle8 || layout.CompressionKind == bmp::kRle4) {
        // Runs may skip pixels, which keep colour 0.
        TBitmap out;
        out.Canvas().Brush.Color = palette[0];
        out.SetSize(layout.Width, layout.Height);
        out.Canvas().Brush.Color = clWhite;
        bmp::DecodeRunLength(source, layout, palette, out);
        return out;
    }
    // Every pixel of every row is decoded (a row the file holds only partly reads as zeros), so
    // the surface need not be painted first.
    TBitmap out = TBitmap::WithUnsetPixels(layout.Width, layout.Height);
    bmp::DecodeUncompressed(source, layout, palette, out);
    return out;
}

namespace {
// No valid picture needs more than its largest pixel data plus headers and a full table.
constexpr std::uint64_t kMaxUsefulFileBytes = (std::uint64_t{1} << 30) + (std::uint64_t{1} << 20);
// Every header and colour table a sane file has fits here; longer ones are read whole.
constexpr std::uint64_t kHeaderPeekBytes = std::uint64_t{64} << 10;
} // namespace

ByteStore ReadFileStart(const std::string& path, std::uint64_t limit, std::uint64_t* fileSize) {
    const platform::ReadFile file(path);
    if (!file.Open()) {
        throw EFOpenError(path, file.Error());
    }
    *fileSize = file.Size();
    ByteStore bytes;
    try {
        const std::uint64_t want = std::min(*fileSize, limit);
        bytes.resize(static_cast<std::size_t>(want));
        std::size_t got = want ? std::fread(bytes.data(), 1, bytes.size(), file.Get()) : 0;
        bytes.resize(got);
    } catch (const std::bad_alloc&) {
        throw EOutOfResources();
    }
    return bytes;
}

TBitmap ReadBmpFile(const std::string& path) {
    return DecodeFileStart(path, kMaxUsefulFileBytes, DecodeBmp);
}

std::optional<BmpFileSize> PeekBmpFile(const std::string& path) {
    try {
        std::uint64_t fileSize = 0;
        ByteStore start = ReadFileStart(path, kHeaderPeekBytes, &fileSize);
        if (start.empty()) {
            return std::nullopt;
        }
        bmp::Layout layout;
        try {
            layout = bmp::ParseHeaders(start.data(), start.size(), fileSize);
        } catch (const EReadError&) {
            if (start.size() >= fileSize) {
                throw;
            }
            start = ReadFileStart(path, kMaxUsefulFileBytes, &fileSize);
            layout = bmp::ParseHeaders(start.data(), start.size(), fileSize);
        }
        const bool runLength =
            layout.CompressionKind == bmp::kRle8 || layout.CompressionKind == bmp::kRle4;
        const std::uint64_t pixels = runLength ? layout.PixelBytes
                                               : static_cast<std::uint64_t>(layout.RowBytes) *
                                                     static_cast<std::uint64_t>(layout.Height);
        return BmpFileSize{layout.Width, layout.Height, fileSize, layout.PixelOffset + pixels};
    } catch (const EVelmoraError&) {
        return std::nullopt;
    }
}
