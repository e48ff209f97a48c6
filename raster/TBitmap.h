// TBitmap, the colour or one-bit raster surface, and TCanvas, its drawing state and operations.
#pragma once

#include "raster/PixelStore.h"
#include "raster/TColor.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Left, top, right, bottom in pixels; right and bottom are exclusive.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    bool operator==(const TRect&) const = default;
};

inline TRect Rect(int left, int top, int right, int bottom) {
    return TRect{left, top, right, bottom};
}

enum class TPenStyle { psSolid, psClear };
enum class TFillStyle { fsBorder };

// Raster operations of the copy mode.
constexpr std::uint32_t cmSrcCopy = 0x00CC0020; // destination := source
constexpr std::uint32_t cmSrcAnd = 0x008800C6;  // destination := destination AND source

struct TBrush {
    TColor Color = clWhite;
};

struct TPen {
    TColor Color = clBlack;
    TPenStyle Style = TPenStyle::psSolid;
    int Width = 1;
};

class TBitmap;
struct LoadedPicture;

// The drawing state of one surface and the drawing operations on it. Every operation clips to
// the surface: what falls outside changes nothing and raises nothing.
class TCanvas {
  public:
    TBrush Brush;
    TPen Pen;
    std::uint32_t CopyMode = cmSrcCopy;

    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    TColor Pixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

    // Every pixel with left <= x < right and top <= y < bottom takes the brush colour.
    void FillRect(const TRect& rect);
    // Fills the ellipse inscribed in the box with the brush colour; a pixel belongs to it when
    // its centre lies inside. Only the clear pen is used by the system: no outline is drawn.
    void Ellipse(const TRect& box);
    void Ellipse(int left, int top, int right, int bottom) {
        Ellipse(Rect(left, top, right, bottom));
    }
    // Border mode: every pixel connected (4-neighbours) to (x, y) through pixels that are not
    // of the border colour takes the brush colour. Nothing happens when (x, y) has it.
    void FloodFill(int x, int y, TColor border, TFillStyle style = TFillStyle::fsBorder);
    // Scales the source rectangle to the destination's size (equal: pixel for pixel; enlarging
    // repeats pixels; shrinking ANDs the pixels that fall together) and combines it with the
    // destination by CopyMode. Clipping keeps the scale. Rectangles with a negative or zero
    // width or height copy nothing.
    void CopyRect(const TRect& dest, const TCanvas& source, const TRect& sourceRect);

    TBitmap& Surface() { return *owner_; }
    const TBitmap& Surface() const { return *owner_; }

  private:
    friend class TBitmap;
    explicit TCanvas(TBitmap* owner) : owner_(owner) {}
    void ResetState();
    TBitmap* owner_;
};

// Sets a canvas's copy mode for the lifetime of the object, then puts the previous one back.
class TCopyModeScope {
  public:
    TCopyModeScope(TCanvas& canvas, std::uint32_t mode) : canvas_(canvas), saved_(canvas.CopyMode) {
        canvas_.CopyMode = mode;
    }
    ~TCopyModeScope() { canvas_.CopyMode = saved_; }
    TCopyModeScope(const TCopyModeScope&) = delete;
    TCopyModeScope& operator=(const TCopyModeScope&) = delete;

  private:
    TCanvas& canvas_;
    std::uint32_t saved_;
};

// A width x height grid of colours. Pixels are stored as 0x00BBGGRR. Copies share their pixels
// until one of them is drawn on; the first drawing gives that one a private copy.
class TBitmap {
  public:
    TBitmap();
    // A new surface of the given size, all white.
    TBitmap(int width, int height);
    // A new surface of the given size, all of `colour`; the brush keeps its default.
    TBitmap(int width, int height, TColor colour);
    ~TBitmap();
    // A copy shares the pixels and starts with the default drawing state; an assignment shares
    // the pixels and keeps the receiver's own brush, pen and copy mode.
    TBitmap(const TBitmap& other);
    TBitmap& operator=(const TBitmap& other);
    TBitmap(TBitmap&& other) noexcept;
    TBitmap& operator=(TBitmap&& other) noexcept;
    void Assign(const TBitmap& other) { *this = other; }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !pixels_; }
    // Resizing: a new grid filled with the brush colour, the old pixels copied in at the
    // top-left. Setting the current value does nothing.
    void SetWidth(int width);
    void SetHeight(int height);
    // Width first, then height.
    void SetSize(int width, int height);

    bool Monochrome() const { return monochrome_; }
    // Only takes effect on a surface without pixels: every later sizing makes a one-bit surface.
    void SetMonochrome(bool monochrome);

    TCanvas& Canvas() { return canvas_; }
    const TCanvas& Canvas() const { return canvas_; }

    // Constant-time pixel access; a read outside returns kOutsidePixel, a write outside does
    // nothing.
    TColor Pixel(int x, int y) const {
        if (static_cast<unsigned>(x) >= static_cast<unsigned>(width_) ||
            static_cast<unsigned>(y) >= static_cast<unsigned>(height_)) {
            return kOutsidePixel;
        }
        return (*pixels_)[static_cast<std::size_t>(y) * width_ + x];
    }
    void SetPixel(int x, int y, TColor color) {
        if (static_cast<unsigned>(x) >= static_cast<unsigned>(width_) ||
            static_cast<unsigned>(y) >= static_cast<unsigned>(height_)) {
            return;
        }
        // Plain colours on a colour surface are stored as they are; only flagged colours and
        // one-bit surfaces need resolving (kept out of line so the common case stays small).
        const TColor stored = (color <= 0x00FFFFFF && !monochrome_) ? color : StoredValue(color);
        MutableRow(y)[x] = stored;
        Changed(Rect(x, y, x + 1, y + 1));
    }

    // Row access for bulk work. Row() never copies; MutableRow() first gives this surface a
    // private copy of shared pixels. Values written through MutableRow must be 0x00BBGGRR (and
    // only black or white on a monochrome surface); call Changed() when done.
    const std::uint32_t* Row(int y) const {
        return pixels_->data() + static_cast<std::size_t>(y) * width_;
    }
    std::uint32_t* MutableRow(int y) {
        if (pixels_.use_count() > 1) { // only shared pixels need the out-of-line copy
            Detach();
        }
        return pixels_->data() + static_cast<std::size_t>(y) * width_;
    }
    // Tells the observer (an image control) that the pixels changed: all of them, or only those
    // inside `area`, which the observer can read back as ChangedArea() to redraw no more.
    void Changed() { Changed(Rect(0, 0, width_, height_)); }
    void Changed(const TRect& area) {
        changedArea_ = area;
        if (OnChange) {
            OnChange();
        }
    }
    const TRect& ChangedArea() const { return changedArea_; }

    bool SharesPixelsWith(const TBitmap& other) const {
        return pixels_ && pixels_ == other.pixels_;
    }

    // The value stored for a colour: resolved, flag byte dropped, black or white when one-bit.
    TColor StoredValue(TColor color) const;

    // Reads a BMP file, or a PNG file when the name ends in ".png" in any letter case (any other
    // extension plays no part); the old content is replaced only when reading succeeds, and the
    // drawing state then starts again with the defaults.
    void LoadFromFile(const std::string& path);
    // Writes a BMP file: 24 bits per pixel, or 1 bit when monochrome; an empty file when the
    // surface holds no pixels.
    void SaveToFile(const std::string& path) const;

    // Called after every change of the pixels (ChangedArea() tells where); not copied with the
    // surface.
    std::function<void()> OnChange;

  private:
    friend class TCanvas;
    friend TBitmap DecodeBmp(const std::uint8_t* data, std::size_t size);
    friend LoadedPicture DecodePng(const std::uint8_t* data, std::size_t size);
    // A colour surface whose pixels hold whatever the memory held: only for a decoder that
    // writes every pixel before the surface leaves it.
    static TBitmap WithUnsetPixels(int width, int height);
    void Detach();
    void Reallocate(int width, int height);

    int width_ = 0;
    int height_ = 0;
    bool monochrome_ = false;
    std::shared_ptr<PixelStore> pixels_;
    TCanvas canvas_;
    TRect changedArea_;
};

// The most pixels one surface may hold (1 GiB of storage); larger requests are refused with the
// out-of-resources error before anything is allocated.
constexpr std::int64_t kMaxSurfacePixels = std::int64_t{1} << 28;
