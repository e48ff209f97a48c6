// velmora-batch convert: any BMP the reader takes, rewritten as a 24-bit colour file.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "raster/Bmp.h"
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
    return RunForEachInput(options.Inputs, [&](const std::string& input) {
        const std::string output = OutputFor(options, input);
        RefuseOverwritingInput(input, output);
        RequireMemoryFor(PictureUse::Conversion, input);
        WriteBmpFile(AsColourSurface(ReadBmpFile(input)), output);
        return std::vector<std::string>{output};
    });
}
