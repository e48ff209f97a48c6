// The picture holder: assignment with shared pixels and loading by the file name's extension.
#include "raster/TPicture.h"

#include "raster/Errors.h"
#include "raster/PictureFile.h"

#include <algorithm>

std::string FileExtension(const std::string& path) {
    std::size_t nameStart = path.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) {
        return "";
    }
    return path.substr(dot + 1);
}

void TPicture::Assign(const TBitmap& bitmap) {
    TBitmap copy(bitmap); // the argument may be this holder's own surface
    bitmap_.emplace(std::move(copy));
    transparentKey_.reset();
    Hook();
    NotifyWhole();
}

void TPicture::Clear() {
    bitmap_.reset();
    transparentKey_.reset();
    NotifyWhole();
}

void TPicture::LoadFromFile(const std::string& path) {
    std::string extension = FileExtension(path);
    std::string lower = extension;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    });
    if (lower != "bmp" && lower != "png") {
        throw EInvalidGraphicFormat(extension);
    }
    LoadedPicture loaded = ReadPictureFile(path);
    bitmap_.emplace(std::move(loaded.Bitmap));
    transparentKey_ = loaded.TransparentKey;
    Hook();
    NotifyWhole();
}

// Drawing on the held surface is a change of the picture.
void TPicture::Hook() {
    bitmap_->OnChange = [this] {
        changedArea_ = bitmap_->ChangedArea();
        Notify();
    };
}

void TPicture::NotifyWhole() {
    changedArea_ = Rect(0, 0, Width(), Height());
    Notify();
}

void TPicture::Notify() {
    if (OnChange) {
        OnChange();
    }
}
