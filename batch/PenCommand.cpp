// velmora-batch pen: the 50 x 50 stamp area the pen settings window paints.
#include "batch/Commands.h"
#include "batch/Runner.h"
#include "raster/Bmp.h"
#include "shadow/PenStamp.h"

int RunPen(const Options& options) {
    return RunFileCommand(
        options, {""}, {}, [&](const std::string&) { return std::vector{*options.Output}; },
        [&](const PlannedFile& file, std::vector<std::string>&) {
            TBitmap area(kStampAreaSize, kStampAreaSize);
            DrawPenStamp(area.Canvas(),
                         PenSettingsFor(options.PenWidth, options.Centre, options.Density));
            WriteBmpFile(area, file.Outputs[0]);
        });
}
