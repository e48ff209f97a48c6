// The choice between the PNG and BMP readers by the file name's extension, in one place.
#include "raster/PictureFile.h"

#include "raster/TPicture.h"

namespace {
bool IsPngExtension(const std::string& extension) {
    return extension.size() == 3 && (extension[0] | 0x20) == 'p' && (extension[1] | 0x20) == 'n' &&
           (extension[2] | 0x20) == 'g';
}
} // namespace

bool IsPngName(const std::string& path) {
    return IsPngExtension(FileExtension(path));
}

LoadedPicture ReadPictureFile(const std::string& path) {
    if (IsPngName(path)) {
        return ReadPngFile(path);
    }
    return LoadedPicture{ReadBmpFile(path), std::nullopt};
}

std::optional<BmpFileSize> PeekPictureFile(const std::string& path) {
    return IsPngName(path) ? PeekPngFile(path) : PeekBmpFile(path);
}

std::string BmpOutputName(const std::string& path) {
    if (!IsPngName(path)) {
        return path;
    }
    return path.substr(0, path.size() - 3) + "bmp";
}
