// The fixed-point rotation of one sheet quadrant into its up and down copies.
#pragma once

#include "raster/TBitmap.h"
#include "raster/TColor.h"

// Sine and cosine of an angle as whole multiples of 1/1024, truncated toward zero.
struct RotationFactors {
    int S = 0;
    int C = 1024;
    bool operator==(const RotationFactors&) const = default;
};

// A single-precision value truncated toward zero (values beyond the 32-bit range saturate).
int RealToInt(float value);

// theta = angle * 3.1416 / 180 rounded to single precision; s and c are the single-precision
// products sin(theta) * 1024 and cos(theta) * 1024, truncated.
RotationFactors QuantisedFactors(int angle);

// The side of both square outputs for a quadrant of w2 x h2: the single-precision square root
// of w2^2 + h2^2 plus one, truncated (a 50 x 40 quadrant gives 65, 0 x 0 gives 1).
int OutputSide(int w2, int h2);

// The colour given to output pixels whose source lies outside the quadrant: black for the
// image quadrant 0, white for the mask and shadow quadrants 1..3.
TColor QuadrantFill(int quadrant);

// Turns quadrant 0..3 of `source` (the sheet halved by integer division; an odd last row or
// column belongs to no quadrant) by `angle` degrees about its centre. `upBitmap` gets the copy
// turned clockwise on screen, `downBitmap` the copy turned counter-clockwise; both become S x S
// (OutputSide) and every pixel is rewritten: each one is exactly one source pixel, found by
// turning its offset from the output centre back with the quantised factors and truncating each
// quotient by 1024 toward zero, or the quadrant's fill when that point lies outside the
// quadrant. Both outputs must be colour surfaces, distinct from each other; `source` may be
// either of them.
void RotateQuadrant(const TBitmap& source, int angle, int quadrant, TBitmap& upBitmap,
                    TBitmap& downBitmap);
