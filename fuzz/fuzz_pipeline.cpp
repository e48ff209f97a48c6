// Fuzz target: arbitrary bytes decoded as a picture and sent down every road a picture takes.
//
// Input: a 12-byte prefix of choices, then the BMP file.
//   0, 1   background pixel (x and y as 256ths of the picture's width and height)
//   2..5   rotation angle in degrees (int32, little-endian)
//   6..8   pen slider positions: width, centre, density
//   9..11  one stroke in each shadow (x and y as 256ths) and the stroke count
// The picture is refused above kMaxPixels before decoding so that a header asking for a huge
// picture costs nothing here; large pictures are the reader's unit tests' work.
#include "accessory/AccessoryCrop.h"
#include "fish/PreviewFrames.h"
#include "fish/SheetComposer.h"
#include "fuzz/AnnouncedSize.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "rotate/UpDownSheets.h"
#include "shadow/PenStamp.h"
#include "shadow/ShadowPaint.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kPrefix = 12;
constexpr std::int64_t kMaxPixels = 160 * 120;
constexpr std::int64_t kMaxSide = 1024;

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::int32_t ReadI32(const std::uint8_t* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return static_cast<std::int32_t>(v);
}

// What the writer writes, the reader reads back pixel for pixel.
void CheckRoundTrip(const TBitmap& bitmap) {
    const ByteStore encoded = EncodeBmp(bitmap);
    const TBitmap again = DecodeBmp(encoded.data(), encoded.size());
    Check(again.Width() == bitmap.Width() && again.Height() == bitmap.Height());
    for (int y = 0; y < bitmap.Height(); ++y) {
        Check(std::memcmp(again.Row(y), bitmap.Row(y), sizeof(std::uint32_t) * bitmap.Width()) ==
              0);
    }
}

bool IsGrey(std::uint32_t pixel) {
    return (pixel & 0xFF) * 0x010101u == pixel;
}

void CheckSheet(const TBitmap& picture, TColor background, const TBitmap& sheet) {
    const FishBoundingBox box = FindFishBox(picture, background);
    const int w = box.Width();
    const int h = box.Height();
    Check(sheet.Width() == 2 * w && sheet.Height() == 2 * h);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = sheet.Row(y);
        for (int x = 0; x < w; ++x) {
            const TColor source =
                box.Found() ? picture.Pixel(box.Left + x, box.Top + y) : background;
            const bool fish = source != background;
            Check(row[x] == (fish ? source : clBlack));
            Check(row[w + x] == (fish ? clBlack : clWhite));
        }
    }
    for (int y = h; y < 2 * h; ++y) {
        const std::uint32_t* row = sheet.Row(y);
        for (int x = 0; x < 2 * w; ++x) {
            Check(IsGrey(row[x]));
        }
    }
}

void CheckAccessory(const TBitmap& picture, TColor background) {
    const FishBoundingBox box = FindFishBox(picture, background);
    try {
        const AccessoryData data = CropAccessory(picture, background);
        Check(box.Found());
        Check(data.Mask.Monochrome() && !data.Picture.Monochrome());
        Check(data.Picture.Width() == box.Width() && data.Picture.Height() == box.Height());
        Check(data.Mask.Width() == box.Width() && data.Mask.Height() == box.Height());
        for (int y = 0; y < box.Height(); ++y) {
            for (int x = 0; x < box.Width(); ++x) {
                const TColor source = picture.Pixel(box.Left + x, box.Top + y);
                const bool decoration = source != background;
                Check(data.Picture.Pixel(x, y) == (decoration ? source : clBlack));
                Check(data.Mask.Pixel(x, y) == (decoration ? clBlack : clWhite));
            }
        }
        CheckRoundTrip(data.Picture);
        CheckRoundTrip(data.Mask);
    } catch (const ENoAccessoryPixel&) {
        Check(!box.Found());
    }
}

// The up and down sheets are whole sheets: even sizes, a black pixel in each mask quadrant.
void CheckUpDown(const TBitmap& source, int angle) {
    TBitmap upBitmap;
    TBitmap downBitmap;
    try {
        const UpDownSheets sheets = BuildUpDownSheets(source, angle, upBitmap, downBitmap);
        for (const TBitmap* sheet : {&sheets.Up, &sheets.Down}) {
            Check(sheet->Width() >= 2 && sheet->Width() % 2 == 0);
            Check(sheet->Height() >= 2 && sheet->Height() % 2 == 0);
            const int w = sheet->Width() / 2;
            const int h = sheet->Height() / 2;
            bool black = false;
            for (int y = 0; y < h && !black; ++y) {
                for (int x = w; x < 2 * w && !black; ++x) {
                    black = sheet->Pixel(x, y) == clBlack;
                }
            }
            Check(black);
            CheckRoundTrip(*sheet);
        }
    } catch (const ENoBlackInMask&) {
        // A picture that is no fish data sheet: refused with the system's message.
    }
}

void CheckPreview(const TBitmap& sheet) {
    TBitmap preview;
    BuildPreviewFrames(sheet, preview);
    Check(preview.Width() == sheet.Width() && preview.Height() == sheet.Height() / 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kPrefix) {
        return 0;
    }
    const std::uint8_t* bmp = data + kPrefix;
    const std::size_t bmpSize = size - kPrefix;
    if (fuzz_support::AnnouncesMoreThan(bmp, bmpSize, kMaxSide, kMaxPixels)) {
        return 0;
    }
    TBitmap picture;
    try {
        picture = DecodeBmp(bmp, bmpSize);
    } catch (const EVelmoraError&) {
        return 0;
    }
    Check(picture.Width() <= kMaxSide && picture.Height() <= kMaxSide);
    const int angle = ReadI32(data + 2);

    // The fish window takes its background from a click on the picture.
    const int bx = data[0] * picture.Width() / 256;
    const int by = data[1] * picture.Height() / 256;
    const TColor background = picture.Empty() ? clWhite : picture.Pixel(bx, by);

    // The shadow editor's hidden shadows and view, zoomed as the editor zooms them.
    const int zoom = ZoomFactorFor(picture.Width(), picture.Height());
    const int sw = zoom * picture.Width();
    const int sh = zoom * picture.Height();
    TBitmap shadow1(sw, sh);
    TBitmap shadow2(sw, sh);
    TBitmap view(sw, sh);
    TBitmap area(kStampAreaSize, kStampAreaSize);
    const PenSettings pen =
        PenSettingsFor(data[6] % (kPenWidthMax + 1), kCentreMin + data[7] % kCentreMax,
                       kDensityMin + data[8] % (kDensityMax - kDensityMin + 1));
    DrawPenStamp(area.Canvas(), pen);
    TBitmap penBitmap;
    CopyPenStamp(area.Canvas(), pen.PenWidth, penBitmap);
    for (int stroke = 0; stroke < data[11] % 4; ++stroke) {
        const int x = (data[9] + 37 * stroke) % 256 * sw / 256;
        const int y = (data[10] + 91 * stroke) % 256 * sh / 256;
        PaintShadowStep(area.Canvas(), penBitmap.Width(), x, y, shadow1, view);
        PaintShadowStep(area.Canvas(), penBitmap.Width(), sw - 1 - x, y, shadow2, view);
    }

    TBitmap sheet;
    ComposeFishSheet(picture, background, shadow1, shadow2, zoom, sheet);
    CheckSheet(picture, background, sheet);
    CheckRoundTrip(sheet);
    CheckPreview(sheet);
    CheckUpDown(sheet, angle);

    // A picture opened in the rotation window is taken as a sheet whatever it holds.
    CheckUpDown(picture, angle);
    CheckPreview(picture);
    CheckAccessory(picture, background);
    return 0;
}
