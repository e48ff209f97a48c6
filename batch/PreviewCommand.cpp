// velmora-batch preview: the animation preview's two frames of a sheet, side by side.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "fish/PreviewFrames.h"
#include "raster/Bmp.h"
#include "raster/PictureFile.h"
#include "raster/PictureMemory.h"

int RunPreview(const Options& options) {
    return RunFileCommand(
        options, options.Inputs, {},
        [&](const std::string&) { return std::vector{*options.Output}; },
        [&](const PlannedFile& file, std::vector<std::string>&) {
            const MemoryReservation memory =
                ReserveMemoryFor(PictureUse::PreviewFrames, file.Input);
            TBitmap preview;
            BuildPreviewFrames(ReadPictureFile(file.Input).Bitmap, preview);
            WriteBmpFile(preview, file.Outputs[0]);
        });
}
