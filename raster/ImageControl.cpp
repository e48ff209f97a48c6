// The image control's rules: automatic size and the drawing surface of an empty picture.
#include "raster/ImageControl.h"

TImageRules::TImageRules(int width, int height, bool autoSize)
    : width_(width), height_(height), autoSize_(autoSize) {
    picture_.OnChange = [this] { PictureChanged(); };
}

void TImageRules::SetSize(int width, int height) {
    if (width == width_ && height == height_) {
        return;
    }
    width_ = width;
    height_ = height;
    if (OnResize) {
        OnResize(width_, height_);
    }
}

void TImageRules::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    PictureChanged();
}

TCanvas& TImageRules::Canvas() {
    if (picture_.Empty()) {
        picture_.Assign(TBitmap(width_, height_));
    }
    return picture_.Bitmap()->Canvas();
}

void TImageRules::PictureChanged() {
    if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0) {
        SetSize(picture_.Width(), picture_.Height());
    }
    if (OnRepaint) {
        OnRepaint();
    }
}
