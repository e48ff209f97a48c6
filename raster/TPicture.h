// TPicture, the picture holder of an image control: assign a surface, load a file by extension.
#pragma once

#include "raster/TBitmap.h"

#include <functional>
#include <optional>
#include <string>

class TPicture {
  public:
    TPicture() = default;
    // The holder observes its own surface, so it stays where it was made.
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    bool Empty() const { return !bitmap_.has_value(); }
    // The held colour surface, or nullptr while the picture is empty.
    TBitmap* Bitmap() { return bitmap_ ? &*bitmap_ : nullptr; }
    const TBitmap* Bitmap() const { return bitmap_ ? &*bitmap_ : nullptr; }
    int Width() const { return bitmap_ ? bitmap_->Width() : 0; }
    int Height() const { return bitmap_ ? bitmap_->Height() : 0; }

    // Stores a copy that shares the pixels until either side is drawn on; the previous picture
    // goes with its drawing state.
    void Assign(const TBitmap& bitmap);
    void Clear();

    // Loads by the file name's extension: "bmp" in any letter case reads a BMP file, "png" a PNG
    // file; any other extension raises EInvalidGraphicFormat. On failure the previous picture
    // stays.
    void LoadFromFile(const std::string& path);
    // The colour the transparent pixels of the loaded file took (see KeyTransparentPixels);
    // nothing for a file without transparency, an assigned surface or an empty picture.
    std::optional<TColor> TransparentKey() const { return transparentKey_; }

    // Called after every change of the picture: assignment, load, drawing on its surface.
    std::function<void()> OnChange;
    // The pixels the last change touched: the drawn area, or the whole picture.
    const TRect& ChangedArea() const { return changedArea_; }

  private:
    void Hook();
    void Notify();
    void NotifyWhole();
    std::optional<TBitmap> bitmap_;
    std::optional<TColor> transparentKey_;
    TRect changedArea_;
};

// The extension of a path's file name without the dot, as written ("" when there is none).
std::string FileExtension(const std::string& path);
