// Accessory data: the picture cropped to the decoration, its one-bit mask, and their files.
#include "accessory/AccessoryCrop.h"

#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "raster/PictureFile.h"

AccessoryData CropAccessory(const TBitmap& picture, TColor background) {
    const FishBoundingBox box = FindFishBox(picture, background);
    if (!box.Found()) {
        throw ENoAccessoryPixel();
    }
    const int w = box.Width();
    const int h = box.Height();
    AccessoryData data;
    data.Picture.SetSize(w, h);
    data.Mask.SetMonochrome(true);
    data.Mask.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* in = picture.Row(box.Top + y) + box.Left;
        std::uint32_t* out = data.Picture.MutableRow(y);
        std::uint32_t* mask = data.Mask.MutableRow(y);
        for (int x = 0; x < w; ++x) {
            const bool isBackground = in[x] == background;
            out[x] = isBackground ? clBlack : in[x];
            mask[x] = isBackground ? clWhite : clBlack;
        }
    }
    data.Picture.Changed();
    data.Mask.Changed();
    return data;
}

AccessoryNames AccessoryFileNames(const std::string& chosenName) {
    const std::size_t slash = chosenName.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string lowered = chosenName;
    for (std::size_t i = nameStart; i < lowered.size(); ++i) {
        const char ch = lowered[i];
        if (ch >= 'A' && ch <= 'Z') {
            lowered[i] = static_cast<char>(ch - 'A' + 'a');
        }
    }
    lowered = BmpOutputName(lowered); // a picture's ".png" name gives BMP files too
    const std::string extension = ".bmp";
    std::string maskBase = lowered;
    if (lowered.size() - nameStart >= extension.size() &&
        lowered.compare(lowered.size() - extension.size(), extension.size(), extension) == 0) {
        maskBase.resize(lowered.size() - extension.size());
    }
    return AccessoryNames{lowered, maskBase + "m.bmp"};
}

void WriteAccessoryFiles(const AccessoryData& data, const AccessoryNames& names) {
    WriteBmpFile(data.Mask, names.Mask);
    WriteBmpFile(data.Picture, names.Picture);
}

void SaveAccessory(const TBitmap& picture, TColor background, const std::string& chosenName) {
    const AccessoryData data = CropAccessory(picture, background);
    WriteAccessoryFiles(data, AccessoryFileNames(chosenName));
}
