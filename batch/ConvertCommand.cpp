// velmora-batch convert: any BMP or PNG the readers take, rewritten as a 24-bit colour BMP file.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "raster/Bmp.h"
#include "raster/PictureFile.h"
#include "raster/PictureMemory.h"

namespace {

// The same pixels on a colour surface, so the writer never chooses one bit per pixel.
TBitmap AsColourSurface(const TBitmap& picture) {
    if (!picture.Monochrome()) {
        return picture;
    }
    TBitmap colour(picture.Width(), picture.Height());
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* in = picture.Row(y);
        std::copy(in, in + picture.Width(), colour.MutableRow(y));
    }
    return colour;
}

} // namespace

int RunConvert(const Options& options) {
    return RunFileCommand(
        options, options.Inputs, {},
        [&](const std::string& input) { return std::vector{OutputFor(options, input)}; },
        [&](const PlannedFile& file, std::vector<std::string>&) {
            const MemoryReservation memory = ReserveMemoryFor(PictureUse::Conversion, file.Input);
            WriteBmpFile(AsColourSurface(ReadPictureFile(file.Input).Bitmap), file.Outputs[0]);
        });
}
