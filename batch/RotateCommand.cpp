// velmora-batch rotate: the up and down sheets of each fish data sheet.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "raster/Bmp.h"
#include "raster/PictureFile.h"
#include "raster/PictureMemory.h"
#include "rotate/UpDownSheets.h"

int RunRotate(const Options& options) {
    return RunFileCommand(
        options, options.Inputs, {},
        [&](const std::string& input) {
            const UpDownNames names = UpDownFileNames(input);
            if (options.OutDir) {
                return std::vector{InFolder(*options.OutDir, names.Up),
                                   InFolder(*options.OutDir, names.Down)};
            }
            return std::vector{names.Up, names.Down};
        },
        [&](const PlannedFile& file, std::vector<std::string>&) {
            const MemoryReservation memory = ReserveMemoryFor(PictureUse::UpDownSheets, file.Input);
            const TBitmap source = ReadPictureFile(file.Input).Bitmap;
            TBitmap upBitmap;
            TBitmap downBitmap;
            const UpDownSheets sheets =
                BuildUpDownSheets(source, options.Angle, upBitmap, downBitmap);
            WriteBmpFile(sheets.Up, file.Outputs[0]);
            WriteBmpFile(sheets.Down, file.Outputs[1]);
        });
}
