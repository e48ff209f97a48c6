// velmora-batch fish: the fish data sheet of each picture, as the fish window's Save writes it.
#include "batch/Background.h"
#include "batch/Commands.h"
#include "batch/Messages.h"
#include "batch/Runner.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/PictureFile.h"
#include "raster/PictureMemory.h"

namespace {

std::string SizeText(int width, int height) {
    return std::to_string(width) + " x " + std::to_string(height);
}

// A painted shadow, read once for every picture; one that cannot be read stops the run before
// any file is touched.
struct Shadow {
    const char* Option;
    std::optional<std::string> Path;
    TBitmap Picture;
};

Shadow ReadShadow(const char* option, const std::optional<std::string>& path) {
    Shadow shadow{option, path, {}};
    if (path) {
        try {
            shadow.Picture = ReadPictureFile(*path).Bitmap;
        } catch (const EVelmoraError& error) {
            throw UsageError(std::string(option) + " " + FailureMessage(error, *path), "fish");
        }
    }
    return shadow;
}

// The painted shadow, or the all-white shadow of a fresh editor; it must cover the editor's
// surface exactly.
TBitmap ShadowFor(const Shadow& shadow, int width, int height, const TBitmap& picture, int zoom) {
    if (!shadow.Path) {
        return TBitmap(width, height);
    }
    const TBitmap& painted = shadow.Picture;
    if (painted.Width() != width || painted.Height() != height) {
        throw BatchFailure(std::string(shadow.Option) + " " + *shadow.Path + " is " +
                           SizeText(painted.Width(), painted.Height()) + " but must be " +
                           SizeText(width, height) + " (the picture's " +
                           SizeText(picture.Width(), picture.Height()) + " times zoom " +
                           std::to_string(zoom) + ")");
    }
    return painted;
}

} // namespace

int RunFish(const Options& options) {
    const Shadow shadow1 = ReadShadow("--shadow1", options.Shadow1);
    const Shadow shadow2 = ReadShadow("--shadow2", options.Shadow2);
    std::vector<std::string> shadowFiles;
    for (const Shadow* shadow : {&shadow1, &shadow2}) {
        if (shadow->Path) {
            shadowFiles.push_back(*shadow->Path);
        }
    }
    return RunFileCommand(
        options, options.Inputs, shadowFiles,
        [&](const std::string& input) { return std::vector{OutputFor(options, input)}; },
        [&](const PlannedFile& file, std::vector<std::string>& notes) {
            const MemoryReservation memory = ReserveMemoryFor(PictureUse::FishSheet, file.Input);
            const LoadedPicture loaded = ReadPictureFile(file.Input);
            const TBitmap& picture = loaded.Bitmap;
            const TColor background = BackgroundFor(options.Background, loaded);
            if (auto warning = BackgroundNotOnBorder(picture, background, file.Input)) {
                notes.push_back(*warning);
            }
            const int zoom = ZoomFactorFor(picture.Width(), picture.Height());
            const int width = zoom * picture.Width();
            const int height = zoom * picture.Height();
            TBitmap sheet;
            ComposeFishSheet(picture, background, ShadowFor(shadow1, width, height, picture, zoom),
                             ShadowFor(shadow2, width, height, picture, zoom), zoom, sheet);
            WriteBmpFile(sheet, file.Outputs[0]);
        });
}
