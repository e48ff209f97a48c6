// The fish data sheet composer: bounding-box scans, the zoom rule and the 2 x 2 sheet itself.
#include "fish/SheetComposer.h"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool Picks(std::uint32_t pixel, TColor colour, BoxRule rule) {
    return rule == BoxRule::Equals ? pixel == colour : pixel != colour;
}

// Pixels are tested sixteen at a time: whether any of a block is picked costs a few vector
// compares, and only the block that holds the answer is searched pixel by pixel.
constexpr int kBlock = 16;

bool BlockPicks(const std::uint32_t* block, TColor colour, BoxRule rule) {
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi32(static_cast<int>(colour));
    __m128i equal = _mm_set1_epi32(-1);
    __m128i any = _mm_setzero_si128();
    for (int k = 0; k < kBlock; k += 4) {
        const __m128i same =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(block + k)), wanted);
        equal = _mm_and_si128(equal, same);
        any = _mm_or_si128(any, same);
    }
    return rule == BoxRule::Equals ? _mm_movemask_epi8(any) != 0
                                   : _mm_movemask_epi8(equal) != 0xFFFF;
#else
    for (int k = 0; k < kBlock; ++k) {
        if (Picks(block[k], colour, rule)) {
            return true;
        }
    }
    return false;
#endif
}

// The first x in [from, to) whose pixel is picked, or -1.
int FirstPick(const std::uint32_t* row, int from, int to, TColor colour, BoxRule rule) {
    int x = from;
    for (; x + kBlock <= to && !BlockPicks(row + x, colour, rule); x += kBlock) {
    }
    for (; x < to; ++x) {
        if (Picks(row[x], colour, rule)) {
            return x;
        }
    }
    return -1;
}

// The last x in [from, to) whose pixel is picked, or -1.
int LastPick(const std::uint32_t* row, int from, int to, TColor colour, BoxRule rule) {
    int x = to;
    for (; x - kBlock >= from && !BlockPicks(row + x - kBlock, colour, rule); x -= kBlock) {
    }
    for (--x; x >= from; --x) {
        if (Picks(row[x], colour, rule)) {
            return x;
        }
    }
    return -1;
}

bool RowHolds(const std::uint32_t* row, int width, TColor colour, BoxRule rule) {
    return FirstPick(row, 0, width, colour, rule) >= 0;
}

} // namespace

FishBoundingBox ScanBox(const TBitmap& surface, TColor colour, BoxRule rule) {
    FishBoundingBox box;
    const int width = surface.Width();
    const int height = surface.Height();
    if (surface.Empty()) {
        return box;
    }
    for (int y = 0; y < height && box.Top < 0; ++y) {
        if (RowHolds(surface.Row(y), width, colour, rule)) {
            box.Top = y;
        }
    }
    if (box.Top < 0) {
        return box;
    }
    for (int y = height - 1; y >= box.Top && box.Bottom < 0; --y) {
        if (RowHolds(surface.Row(y), width, colour, rule)) {
            box.Bottom = y;
        }
    }
    // Only the rows between top and bottom can hold a picked pixel; each row is searched only
    // where it could still widen the box, so the whole scan reads every pixel at most once.
    int left = width;
    int right = -1;
    for (int y = box.Top; y <= box.Bottom; ++y) {
        const std::uint32_t* row = surface.Row(y);
        const int first = FirstPick(row, 0, left, colour, rule);
        if (first >= 0) {
            left = first;
        }
        const int last = LastPick(row, std::max(right + 1, left), width, colour, rule);
        if (last >= 0) {
            right = last;
        }
    }
    box.Left = left;
    box.Right = right;
    return box;
}

int ZoomFactorFor(int width, int height) {
    return width < 150 && height < 110 ? 2 : 1;
}

void ComposeFishSheet(const TBitmap& picture, TColor background, const TBitmap& shadow1,
                      const TBitmap& shadow2, int zoom, TBitmap& sheet) {
    const FishBoundingBox box = FindFishBox(picture, background);
    const int w = box.Width();
    const int h = box.Height();
    sheet.SetWidth(2 * w);
    sheet.SetHeight(2 * h);

    if (!box.Found()) {
        // Every source lies outside the surfaces: the sheet of a fish with no pixel at all.
        sheet.SetPixel(0, 0, clPaletteBlack);
        sheet.SetPixel(1, 0, clPaletteWhite);
        sheet.SetPixel(0, 1, PaletteGrey(255));
        sheet.SetPixel(1, 1, PaletteGrey(255));
        return;
    }

    TCanvas& canvas = sheet.Canvas();
    TCopyModeScope plainCopy(canvas, cmSrcCopy);
    canvas.CopyRect(Rect(0, 0, w, h), picture.Canvas(),
                    Rect(box.Left, box.Top, box.Right + 1, box.Bottom + 1));

    // The background test reads the copied pixel before it is blackened.
    for (int y = 0; y < h; ++y) {
        std::uint32_t* row = sheet.MutableRow(y);
        for (int x = 0; x < w; ++x) {
            if (row[x] == background) {
                row[w + x] = clWhite;
                row[x] = clBlack;
            } else {
                row[w + x] = clBlack;
            }
        }
    }

    const TRect shadowSource =
        Rect(zoom * box.Left, zoom * box.Top, zoom * (box.Right + 1), zoom * (box.Bottom + 1));
    canvas.CopyRect(Rect(0, h, w, 2 * h), shadow1.Canvas(), shadowSource);
    canvas.CopyRect(Rect(w, h, 2 * w, 2 * h), shadow2.Canvas(), shadowSource);

    // Only the red level of a shadow pixel counts.
    for (int y = h; y < 2 * h; ++y) {
        std::uint32_t* row = sheet.MutableRow(y);
        for (int x = 0; x < 2 * w; ++x) {
            row[x] = (row[x] & 0xFF) * 0x010101u;
        }
    }
    sheet.Changed();
}
