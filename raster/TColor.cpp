// Resolution of window-system colours to the red, green and blue they stand for.
#include "raster/TColor.h"

namespace {
// The classic window-system colour scheme, indexed as the window system numbers its colours.
constexpr TColor kSystemColors[] = {
    0xC8D0D4, // 0 scroll bar
    0x984E00, // 1 background
    0x6A240A, // 2 active caption
    0x808080, // 3 inactive caption
    0xC8D0D4, // 4 menu
    0xFFFFFF, // 5 window
    0x000000, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0xFFFFFF, // 9 caption text
    0xC8D0D4, // 10 active border
    0xC8D0D4, // 11 inactive border
    0x808080, // 12 application workspace
    0x6A240A, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xC8D0D4, // 15 button face
    0x808080, // 16 button shadow
    0x808080, // 17 grey text
    0x000000, // 18 button text
    0xC8D0D4, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x404040, // 21 3D dark shadow
    0xC8D0D4, // 22 3D light
    0x000000, // 23 info text
    0xE1FFFF, // 24 info background
};
} // namespace

TColor ResolveColor(TColor c) {
    if (c & kSystemColorFlag) {
        TColor index = c & 0xFF;
        if (index < sizeof(kSystemColors) / sizeof(kSystemColors[0])) {
            return kSystemColors[index];
        }
        return clBlack;
    }
    return c & 0x00FFFFFF;
}
