// The PNG decoder over libspng: the header checked first, then the whole picture decoded straight
// into the surface's pixels as RGBA, then its transparent pixels keyed.
#include "raster/Errors.h"
#include "raster/Png.h"
#include "raster/TransparentKey.h"

#include <bit>
#include <memory>
#include <spng.h>

// Decoded RGBA bytes read as one 32-bit pixel 0xAABBGGRR only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

namespace {

// Ancillary chunks (text, colour profiles) are skipped but still read; none needs more than this.
constexpr std::size_t kChunkLimitBytes = std::size_t{64} << 20;

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// The library's failures in this tool's words: the kinds of damage a user can act on by name.
std::string DamageText(int error) {
    switch (error) {
    case SPNG_ESIGNATURE:
        return "bad signature (not a PNG file)";
    case SPNG_ECHUNK_CRC:
        return "CRC error in a chunk";
    case SPNG_IO_EOF:
    case SPNG_EOF:
    case SPNG_EIDAT_TOO_SHORT:
        return "file is cut short";
    case SPNG_EZLIB:
    case SPNG_EIDAT_STREAM:
        return "zlib error in the picture data";
    default:
        return spng_strerror(error);
    }
}

void Check(int result) {
    if (result == SPNG_EMEM) {
        throw EOutOfResources();
    }
    if (result != SPNG_OK) {
        throw EDamagedPng(DamageText(result));
    }
}

} // namespace

LoadedPicture DecodePng(const std::uint8_t* data, std::size_t size) {
    const png::Header header = png::ParseHeader(data, size, size);
    std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(0));
    if (!context) {
        throw EOutOfResources();
    }
    spng_ctx* png = context.get();
    // A CRC error is damage in every chunk: a transparency chunk dropped for one would change
    // the picture.
    Check(spng_set_crc_action(png, SPNG_CRC_ERROR, SPNG_CRC_ERROR));
    Check(spng_set_chunk_limits(png, kChunkLimitBytes, kChunkLimitBytes));
    Check(spng_set_png_buffer(png, data, size));

    const std::size_t pixels = static_cast<std::size_t>(header.Width) * header.Height;
    LoadedPicture picture{TBitmap::WithUnsetPixels(header.Width, header.Height), std::nullopt};
    std::uint32_t* out = picture.Bitmap.MutableRow(0);
    Check(spng_decode_image(png, out, pixels * 4, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS));
    // The chunks after the picture data, up to the end chunk: a file cut short there is damaged.
    Check(spng_decode_chunks(png));
    picture.TransparentKey = KeyTransparentPixels(out, pixels);
    return picture;
}
