// velmora-batch rotate: the up and down sheets of each fish data sheet.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "raster/Bmp.h"
#include "raster/PictureMemory.h"
#include "rotate/UpDownSheets.h"

int RunRotate(const Options& options) {
    return RunForEachInput(options.Inputs, [&](const std::string& input) {
        UpDownNames names = UpDownFileNames(input);
        if (options.OutDir) {
            names = {InFolder(*options.OutDir, names.Up), InFolder(*options.OutDir, names.Down)};
        }
        RefuseOverwritingInput(input, names.Up);
        RefuseOverwritingInput(input, names.Down);
        RequireMemoryFor(PictureUse::UpDownSheets, input);
        const TBitmap source = ReadBmpFile(input);
        TBitmap upBitmap;
        TBitmap downBitmap;
        const UpDownSheets sheets = BuildUpDownSheets(source, options.Angle, upBitmap, downBitmap);
        WriteBmpFile(sheets.Up, names.Up);
        WriteBmpFile(sheets.Down, names.Down);
        return std::vector<std::string>{names.Up, names.Down};
    });
}
