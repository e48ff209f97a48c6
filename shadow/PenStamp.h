// The soft pen: its three settings, the slider rule for the centre and the grey disc stamp.
#pragma once

#include "raster/TBitmap.h"

// The pen as the three sliders set it (the defaults are the sliders' start positions).
struct PenSettings {
    int PenWidth = 20;   // diameter in pixels, 0..50
    int CenterSize = 8;  // diameter of the solid centre in pixels
    int PenDensity = 75; // how dark the centre gets, 10..255
};

// Slider ranges and start positions.
constexpr int kPenWidthMin = 0, kPenWidthMax = 50, kPenWidthStart = 20;
constexpr int kCentreMin = 1, kCentreMax = 25, kCentreStart = 10;
constexpr int kDensityMin = 10, kDensityMax = 255, kDensityStart = 75;

// The stamp area of the pen settings window: (0,0)-(50,50), centre pixel (25,25).
constexpr int kStampAreaSize = 50;
constexpr int kStampCentre = 25;

// The centre slider counts in 25ths of the pen width: width * centre div 25.
constexpr int CenterSizeFor(int widthPosition, int centrePosition) {
    return widthPosition * centrePosition / 25;
}

// The settings the three slider positions give.
constexpr PenSettings PenSettingsFor(int widthPosition, int centrePosition, int densityPosition) {
    return PenSettings{widthPosition, CenterSizeFor(widthPosition, centrePosition),
                       densityPosition};
}

// Paints the stamp onto a surface of at least 50 x 50: the square (0,0)-(50,50) palette white,
// then the concentric grey discs from the rim inwards, each darker by the density step. Leaves
// the canvas with a clear pen and the last disc's brush colour.
void DrawPenStamp(TCanvas& area, const PenSettings& pen);

// One shadow editor's copy of the stamp: `penBitmap` becomes penWidth x penWidth and takes the
// square of the stamp area centred on (25,25) (stretched by one pixel when the width is odd).
void CopyPenStamp(const TCanvas& area, int penWidth, TBitmap& penBitmap);
