// velmora-batch accessory: the cropped accessory picture and its one-bit mask.
#include "accessory/AccessoryCrop.h"
#include "batch/Background.h"
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "raster/PictureFile.h"
#include "raster/PictureMemory.h"

int RunAccessory(const Options& options) {
    return RunFileCommand(
        options, options.Inputs, {},
        [&](const std::string& input) {
            const AccessoryNames names = AccessoryFileNames(OutputFor(options, input));
            return std::vector{names.Mask, names.Picture}; // the order they are written in
        },
        [&](const PlannedFile& file, std::vector<std::string>&) {
            const MemoryReservation memory =
                ReserveMemoryFor(PictureUse::AccessoryData, file.Input);
            const LoadedPicture picture = ReadPictureFile(file.Input);
            const TColor background = BackgroundFor(options.Background, picture);
            WriteAccessoryFiles(CropAccessory(picture.Bitmap, background),
                                AccessoryNames{file.Outputs[1], file.Outputs[0]});
        });
}
