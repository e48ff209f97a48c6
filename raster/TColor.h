// TColor: the 32-bit colour value 0x00BBGGRR with its flag byte, and the colours the system uses.
#pragma once

#include <cstdint>

using TColor = std::uint32_t;

// Flag byte values (bits 24-31).
constexpr TColor kPaletteRelativeFlag = 0x02000000;
constexpr TColor kSystemColorFlag = 0x80000000;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clPaletteBlack = 0x02000000;
constexpr TColor clPaletteWhite = 0x02FFFFFF;
constexpr TColor clWindowBackground = 0x404040; // 4210752, the dark grey of every window

// What a pixel read outside a surface returns: no pixel ever holds it.
constexpr TColor kOutsidePixel = 0xFFFFFFFF;

// The palette-relative grey of level v (0..255): red = green = blue = v.
constexpr TColor PaletteGrey(int v) {
    return clPaletteBlack + static_cast<TColor>(v) * 0x010101u;
}

constexpr int RedOf(TColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}
constexpr TColor RGB(int r, int g, int b) {
    return static_cast<TColor>(r & 0xFF) | (static_cast<TColor>(g & 0xFF) << 8) |
           (static_cast<TColor>(b & 0xFF) << 16);
}

// Window-system colours: kSystemColorFlag plus an index.
constexpr TColor clWindowText = kSystemColorFlag | 8;
constexpr TColor clBtnFace = kSystemColorFlag | 15;
constexpr TColor clWindow = kSystemColorFlag | 5;

// Applying a colour: a window-system colour becomes its current red, green and blue; any other
// value keeps only red, green and blue on a true-colour surface (the flag byte stores nothing).
TColor ResolveColor(TColor c);
