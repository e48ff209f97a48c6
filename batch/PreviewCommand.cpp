// velmora-batch preview: the animation preview's two frames of a sheet, side by side.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "fish/PreviewFrames.h"
#include "raster/Bmp.h"
#include "raster/PictureMemory.h"

int RunPreview(const Options& options) {
    return RunForEachInput(options.Inputs, [&](const std::string& input) {
        RefuseOverwritingInput(input, *options.Output);
        RequireMemoryFor(PictureUse::PreviewFrames, input);
        TBitmap preview;
        BuildPreviewFrames(ReadBmpFile(input), preview);
        WriteBmpFile(preview, *options.Output);
        return std::vector<std::string>{*options.Output};
    });
}
