// The background colour --background chooses for a picture, and the sign it was forgotten.
#include "batch/Background.h"

#include "batch/Messages.h"

#include <cstdio>

namespace {

bool OnBorder(const TBitmap& picture, TColor colour) {
    const int right = picture.Width() - 1;
    const int bottom = picture.Height() - 1;
    for (int x = 0; x <= right; ++x) {
        if (picture.Pixel(x, 0) == colour || picture.Pixel(x, bottom) == colour) {
            return true;
        }
    }
    for (int y = 0; y <= bottom; ++y) {
        if (picture.Pixel(0, y) == colour || picture.Pixel(right, y) == colour) {
            return true;
        }
    }
    return false;
}

std::string ColourText(TColor colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(colour), GreenOf(colour),
                  BlueOf(colour));
    return text;
}

} // namespace

TColor BackgroundFor(const BackgroundChoice& choice, const LoadedPicture& loaded) {
    const TBitmap& picture = loaded.Bitmap;
    switch (choice.From) {
    case BackgroundChoice::Kind::Colour:
        return choice.Colour;
    case BackgroundChoice::Kind::Pixel:
        if (choice.X >= picture.Width() || choice.Y >= picture.Height()) {
            throw BatchFailure("--background " + std::to_string(choice.X) + "," +
                               std::to_string(choice.Y) + " lies outside the picture (" +
                               std::to_string(picture.Width()) + " x " +
                               std::to_string(picture.Height()) + ")");
        }
        return picture.Pixel(choice.X, choice.Y);
    case BackgroundChoice::Kind::Default:
        break;
    }
    return loaded.TransparentKey.value_or(clBlack);
}

std::optional<std::string> BackgroundNotOnBorder(const TBitmap& picture, TColor background,
                                                 const std::string& input) {
    if (picture.Empty() || OnBorder(picture, background)) {
        return std::nullopt;
    }
    return input + ": background " + ColourText(background) +
           " is not on the picture's border; the whole picture becomes the fish";
}
