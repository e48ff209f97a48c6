// Colour and one-bit surfaces: sizing, sharing, pixel access and the drawing operations.
#include "raster/TBitmap.h"

#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/PictureFile.h"
#include "raster/PixelRows.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

// One-bit surfaces hold only black and white; any other colour goes to the nearer of the two.
TColor ToMonochrome(TColor rgb) {
    int sum = RedOf(rgb) + GreenOf(rgb) + BlueOf(rgb);
    return sum >= 3 * 128 ? clWhite : clBlack;
}

// Pixels left unset, for callers that write every one of them before anyone reads.
std::shared_ptr<PixelStore> AllocateUnsetPixels(int width, int height) {
    std::int64_t count = static_cast<std::int64_t>(width) * height;
    if (count > kMaxSurfacePixels) {
        throw EOutOfResources();
    }
    try {
        return std::make_shared<PixelStore>(static_cast<std::size_t>(count));
    } catch (const std::bad_alloc&) {
        throw EOutOfResources();
    }
}

std::shared_ptr<PixelStore> AllocatePixels(int width, int height, TColor fill) {
    auto pixels = AllocateUnsetPixels(width, height);
    FillPixels(pixels->data(), pixels->data() + pixels->size(), fill);
    return pixels;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TBitmap

TBitmap::TBitmap() : canvas_(this) {}

TBitmap::TBitmap(int width, int height) : canvas_(this) {
    SetSize(width, height);
}

TBitmap::TBitmap(int width, int height, TColor colour) : canvas_(this) {
    canvas_.Brush.Color = colour;
    SetSize(width, height);
    canvas_.Brush = TBrush{};
}

TBitmap::~TBitmap() = default;

TBitmap::TBitmap(const TBitmap& other)
    : width_(other.width_), height_(other.height_), monochrome_(other.monochrome_),
      pixels_(other.pixels_), canvas_(this) {}

TBitmap& TBitmap::operator=(const TBitmap& other) {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        monochrome_ = other.monochrome_;
        pixels_ = other.pixels_;
        Changed();
    }
    return *this;
}

TBitmap::TBitmap(TBitmap&& other) noexcept
    : width_(other.width_), height_(other.height_), monochrome_(other.monochrome_),
      pixels_(std::move(other.pixels_)), canvas_(this) {
    canvas_.Brush = other.canvas_.Brush;
    canvas_.Pen = other.canvas_.Pen;
    canvas_.CopyMode = other.canvas_.CopyMode;
    other.width_ = other.height_ = 0;
}

TBitmap& TBitmap::operator=(TBitmap&& other) noexcept {
    if (this != &other) {
        width_ = other.width_;
        height_ = other.height_;
        monochrome_ = other.monochrome_;
        pixels_ = std::move(other.pixels_);
        other.width_ = other.height_ = 0;
        Changed();
    }
    return *this;
}

TColor TBitmap::StoredValue(TColor color) const {
    TColor rgb = ResolveColor(color);
    return monochrome_ ? ToMonochrome(rgb) : rgb;
}

void TBitmap::SetMonochrome(bool monochrome) {
    if (!pixels_) {
        monochrome_ = monochrome;
    }
}

void TBitmap::SetWidth(int width) {
    width = std::max(width, 0);
    if (width != width_) {
        Reallocate(width, height_);
    }
}

void TBitmap::SetHeight(int height) {
    height = std::max(height, 0);
    if (height != height_) {
        Reallocate(width_, height);
    }
}

void TBitmap::SetSize(int width, int height) {
    SetWidth(width);
    SetHeight(height);
}

void TBitmap::Reallocate(int width, int height) {
    std::shared_ptr<PixelStore> fresh;
    if (width > 0 && height > 0) {
        fresh = AllocatePixels(width, height, StoredValue(canvas_.Brush.Color));
        if (pixels_) {
            int keepWidth = std::min(width, width_);
            int keepHeight = std::min(height, height_);
            for (int y = 0; y < keepHeight; ++y) {
                const std::uint32_t* from = Row(y);
                std::copy(from, from + keepWidth,
                          fresh->data() + static_cast<std::size_t>(y) * width);
            }
        }
    }
    width_ = width;
    height_ = height;
    pixels_ = std::move(fresh);
    Changed();
}

TBitmap TBitmap::WithUnsetPixels(int width, int height) {
    TBitmap bitmap;
    if (width > 0 && height > 0) {
        bitmap.pixels_ = AllocateUnsetPixels(width, height);
        bitmap.width_ = width;
        bitmap.height_ = height;
    }
    return bitmap;
}

void TBitmap::Detach() {
    if (pixels_ && pixels_.use_count() > 1) {
        try {
            pixels_ = std::make_shared<PixelStore>(*pixels_);
        } catch (const std::bad_alloc&) {
            throw EOutOfResources();
        }
    }
}

// A loaded surface starts again with the default drawing state, unlike an assigned one.
void TBitmap::LoadFromFile(const std::string& path) {
    *this = ReadPictureFile(path).Bitmap;
    canvas_.ResetState();
}

void TBitmap::SaveToFile(const std::string& path) const {
    WriteBmpFile(*this, path);
}

// ---------------------------------------------------------------------------------------------
// TCanvas

void TCanvas::ResetState() {
    Brush = TBrush{};
    Pen = TPen{};
    CopyMode = cmSrcCopy;
}

TColor TCanvas::Pixel(int x, int y) const {
    return owner_->Pixel(x, y);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    owner_->SetPixel(x, y, color);
}

void TCanvas::FillRect(const TRect& rect) {
    TBitmap& surface = *owner_;
    int left = std::max(rect.Left, 0);
    int top = std::max(rect.Top, 0);
    int right = std::min(rect.Right, surface.Width());
    int bottom = std::min(rect.Bottom, surface.Height());
    if (left >= right || top >= bottom) {
        return;
    }
    TColor value = surface.StoredValue(Brush.Color);
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = surface.MutableRow(y);
        FillPixels(row + left, row + right, value);
    }
    surface.Changed(Rect(left, top, right, bottom));
}

void TCanvas::Ellipse(const TRect& box) {
    TBitmap& surface = *owner_;
    int width = box.Width();
    int height = box.Height();
    if (width <= 0 || height <= 0) {
        return;
    }
    // A pixel is inside when its centre lies in the ellipse inscribed in the box. In units of
    // half pixels everything stays integral: centre offset (2x + 1 - (left + right)).
    const std::int64_t rx2 = static_cast<std::int64_t>(width) * width;
    const std::int64_t ry2 = static_cast<std::int64_t>(height) * height;
    TColor value = surface.StoredValue(Brush.Color);
    int top = std::max(box.Top, 0);
    int bottom = std::min(box.Bottom, surface.Height());
    bool changed = false;
    for (int y = top; y < bottom; ++y) {
        std::int64_t dy = 2 * static_cast<std::int64_t>(y) + 1 - (box.Top + box.Bottom);
        // dx^2 / w^2 + dy^2 / h^2 <= 1  <=>  dx^2 * h^2 <= w^2 * (h^2 - dy^2)
        std::int64_t limit = rx2 * (ry2 - dy * dy);
        if (limit < 0) {
            continue;
        }
        int left = std::max(box.Left, 0);
        int right = std::min(box.Right, surface.Width());
        std::uint32_t* row = nullptr;
        for (int x = left; x < right; ++x) {
            std::int64_t dx = 2 * static_cast<std::int64_t>(x) + 1 - (box.Left + box.Right);
            if (dx * dx * ry2 <= limit) {
                if (!row) {
                    row = surface.MutableRow(y);
                }
                row[x] = value;
                changed = true;
            }
        }
    }
    if (changed) {
        surface.Changed();
    }
}

void TCanvas::FloodFill(int x, int y, TColor border, TFillStyle) {
    TBitmap& surface = *owner_;
    const int width = surface.Width();
    const int height = surface.Height();
    if (surface.Pixel(x, y) == kOutsidePixel || surface.Pixel(x, y) == border) {
        return;
    }
    // Pixels already visited are tracked apart from their colour, so a brush colour that is
    // not the border colour cannot make the fill loop.
    std::vector<bool> visited(static_cast<std::size_t>(width) * height, false);
    std::vector<std::pair<int, int>> pending{{x, y}};
    TColor value = surface.StoredValue(Brush.Color);
    auto fillable = [&](int px, int py) {
        return !visited[static_cast<std::size_t>(py) * width + px] &&
               surface.Pixel(px, py) != border;
    };
    while (!pending.empty()) {
        auto [sx, sy] = pending.back();
        pending.pop_back();
        if (!fillable(sx, sy)) {
            continue;
        }
        int left = sx;
        while (left > 0 && fillable(left - 1, sy)) {
            --left;
        }
        int right = sx;
        while (right + 1 < width && fillable(right + 1, sy)) {
            ++right;
        }
        std::uint32_t* row = surface.MutableRow(sy);
        for (int px = left; px <= right; ++px) {
            visited[static_cast<std::size_t>(sy) * width + px] = true;
            row[px] = value;
        }
        for (int ny : {sy - 1, sy + 1}) {
            if (ny < 0 || ny >= height) {
                continue;
            }
            bool inRun = false;
            for (int px = left; px <= right; ++px) {
                bool open = fillable(px, ny);
                if (open && !inRun) {
                    pending.emplace_back(px, ny);
                }
                inRun = open;
            }
        }
    }
    surface.Changed();
}

namespace {

// For each destination offset d in [0, destSize): the source offsets [first, last) that fall
// onto it. Enlarging gives one source pixel per destination pixel (repeated); shrinking gives
// the run of source pixels that fall together.
struct SourceSpan {
    int First;
    int Last;
};

std::vector<SourceSpan> SpansFor(int destSize, int sourceSize) {
    std::vector<SourceSpan> spans(static_cast<std::size_t>(destSize));
    for (int d = 0; d < destSize; ++d) {
        std::int64_t first = static_cast<std::int64_t>(d) * sourceSize / destSize;
        std::int64_t last = static_cast<std::int64_t>(d + 1) * sourceSize / destSize;
        spans[d] = {static_cast<int>(first), static_cast<int>(std::max(last, first + 1))};
    }
    return spans;
}

// Pixel-for-pixel copy of the target rows y0..y1 and columns x0..x1 from the source pixels
// offset by (shiftX, shiftY), whole row spans at a time.
void CopyOneToOne(TBitmap& target, const TBitmap& from, int x0, int x1, int y0, int y1, int shiftX,
                  int shiftY, bool andMode) {
    x0 = std::max(x0, -shiftX);
    x1 = std::min(x1, from.Width() - shiftX);
    y0 = std::max(y0, -shiftY);
    y1 = std::min(y1, from.Height() - shiftY);
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const bool monochrome = target.Monochrome();
    for (int y = y0; y < y1; ++y) {
        const std::uint32_t* in = from.Row(y + shiftY) + shiftX;
        std::uint32_t* out = target.MutableRow(y);
        if (andMode) {
            for (int x = x0; x < x1; ++x) {
                out[x] &= in[x];
            }
        } else {
            std::copy(in + x0, in + x1, out + x0);
        }
        if (monochrome) {
            for (int x = x0; x < x1; ++x) {
                out[x] = target.StoredValue(out[x]);
            }
        }
    }
    target.Changed(Rect(x0, y0, x1, y1));
}

} // namespace

void TCanvas::CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    const int dw = dest.Width();
    const int dh = dest.Height();
    const int sw = sourceRect.Width();
    const int sh = sourceRect.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) {
        return;
    }
    TBitmap& target = *owner_;
    // Copying a surface onto itself reads the pixels as they were before the copy.
    const TBitmap sourceSnapshot = source.Surface();
    const TBitmap& from = sourceSnapshot;

    // Only the destination pixels that fall inside the target are visited; the mapping still
    // uses the whole rectangles, so clipping keeps the scale.
    const int x0 = std::max(dest.Left, 0);
    const int x1 = std::min(dest.Right, target.Width());
    const int y0 = std::max(dest.Top, 0);
    const int y1 = std::min(dest.Bottom, target.Height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const bool andMode = CopyMode == cmSrcAnd;
    const bool oneToOne = dw == sw && dh == sh;
    if (oneToOne) {
        CopyOneToOne(target, from, x0, x1, y0, y1, sourceRect.Left - dest.Left,
                     sourceRect.Top - dest.Top, andMode);
        return;
    }
    const std::vector<SourceSpan> columns = SpansFor(dw, sw);
    const std::vector<SourceSpan> rows = SpansFor(dh, sh);
    const int fromWidth = from.Width();
    const int fromHeight = from.Height();
    bool changed = false;
    for (int y = y0; y < y1; ++y) {
        const int dy = y - dest.Top;
        int syFirst = sourceRect.Top + rows[dy].First;
        int syLast = sourceRect.Top + rows[dy].Last;
        syFirst = std::max(syFirst, 0);
        syLast = std::min(syLast, fromHeight);
        if (syFirst >= syLast) {
            continue; // the source rows lie outside the source: nothing to draw
        }
        std::uint32_t* out = target.MutableRow(y);
        for (int x = x0; x < x1; ++x) {
            const int dx = x - dest.Left;
            int sxFirst = sourceRect.Left + columns[dx].First;
            int sxLast = sourceRect.Left + columns[dx].Last;
            sxFirst = std::max(sxFirst, 0);
            sxLast = std::min(sxLast, fromWidth);
            if (sxFirst >= sxLast) {
                continue;
            }
            std::uint32_t value = 0xFFFFFF;
            for (int sy = syFirst; sy < syLast; ++sy) {
                const std::uint32_t* in = from.Row(sy);
                for (int sx = sxFirst; sx < sxLast; ++sx) {
                    value &= in[sx];
                }
            }
            if (andMode) {
                value &= out[x];
            }
            out[x] = target.Monochrome() ? target.StoredValue(value) : value;
            changed = true;
        }
    }
    if (changed) {
        target.Changed(Rect(x0, y0, x1, y1));
    }
}
