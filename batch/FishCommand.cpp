// velmora-batch fish: the fish data sheet of each picture, as the fish window's Save writes it.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "raster/PictureMemory.h"

namespace {

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// A painted shadow from its file, or the all-white shadow of a fresh editor.
TBitmap ShadowFor(const std::optional<std::string>& path, const char* option, int width, int height,
                  const TBitmap& picture, int zoom) {
    if (!path) {
        return TBitmap(width, height);
    }
    TBitmap shadow = ReadBmpFile(*path);
    if (shadow.Width() != width || shadow.Height() != height) {
        throw BatchFailure(std::string(option) + " " + *path + " is " +
                           SizeText(shadow.Width(), shadow.Height()) + " but must be " +
                           SizeText(width, height) + " (the picture's " +
                           SizeText(picture.Width(), picture.Height()) + " times zoom " +
                           std::to_string(zoom) + ")");
    }
    return shadow;
}

} // namespace

int RunFish(const Options& options) {
    return RunForEachInput(options.Inputs, [&](const std::string& input) {
        const std::string output = OutputFor(options, input);
        RefuseOverwritingInput(input, output);
        RequireMemoryFor(PictureUse::FishSheet, input);
        const TBitmap picture = ReadBmpFile(input);
        const TColor background = BackgroundFor(options.Background, picture, input);
        const int zoom = ZoomFactorFor(picture.Width(), picture.Height());
        const int width = zoom * picture.Width();
        const int height = zoom * picture.Height();
        const TBitmap shadow1 =
            ShadowFor(options.Shadow1, "--shadow1", width, height, picture, zoom);
        const TBitmap shadow2 =
            ShadowFor(options.Shadow2, "--shadow2", width, height, picture, zoom);
        TBitmap sheet;
        ComposeFishSheet(picture, background, shadow1, shadow2, zoom, sheet);
        WriteBmpFile(sheet, output);
        return std::vector<std::string>{output};
    });
}
