// The stand-in for the PNG decoder in a build made without the PNG library: every PNG file is
// refused with a message that says so.
#include "raster/Errors.h"
#include "raster/Png.h"

LoadedPicture DecodePng(const std::uint8_t*, std::size_t) {
    throw EPngUnsupported();
}
