// velmora-batch accessory: the cropped accessory picture and its one-bit mask.
#include "accessory/AccessoryCrop.h"
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "raster/Bmp.h"
#include "raster/PictureMemory.h"

int RunAccessory(const Options& options) {
    return RunForEachInput(options.Inputs, [&](const std::string& input) {
        const AccessoryNames names = AccessoryFileNames(OutputFor(options, input));
        RefuseOverwritingInput(input, names.Picture);
        RefuseOverwritingInput(input, names.Mask);
        RequireMemoryFor(PictureUse::AccessoryData, input);
        const TBitmap picture = ReadBmpFile(input);
        const TColor background = BackgroundFor(options.Background, picture, input);
        WriteAccessoryFiles(CropAccessory(picture, background), names);
        return std::vector<std::string>{names.Picture, names.Mask};
    });
}
