// The image control's rules, kept free of any toolkit: its picture, automatic size and drawing
// surface. The Qt image control is a thin shell over this.
#pragma once

#include "raster/TPicture.h"

#include <functional>

class TImageRules {
  public:
    TImageRules(int width, int height, bool autoSize);
    TImageRules(const TImageRules&) = delete;
    TImageRules& operator=(const TImageRules&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetSize(int width, int height);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }

    // The drawing surface: an empty picture first gets a white colour surface of the control's
    // size; otherwise the picture's own surface.
    TCanvas& Canvas();

    // Called after every change of the picture (repaint) and of the control's size.
    std::function<void()> OnRepaint;
    std::function<void(int width, int height)> OnResize;

  private:
    void PictureChanged();
    int width_;
    int height_;
    bool autoSize_;
    TPicture picture_;
};
