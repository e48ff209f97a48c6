// velmora-batch check: whether data files keep the rules the aquarium program relies on.
#include "accessory/AccessoryCrop.h"
#include "batch/Commands.h"
#include "batch/Messages.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/PictureFile.h"
#include "raster/PictureMemory.h"
#include "raster/Platform.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace {

// One broken rule: how many pixels break it and the first of them (none for size rules).
struct Breach {
    std::string Rule;
    long long Count = 0;
    int X = -1;
    int Y = -1;
};

class Breaches {
  public:
    void Rule(const std::string& rule) { list_.push_back({rule}); }
    void Pixel(const std::string& rule, int x, int y) {
        for (Breach& breach : list_) {
            if (breach.Rule == rule) {
                ++breach.Count;
                return;
            }
        }
        list_.push_back({rule, 1, x, y});
    }
    const std::vector<Breach>& List() const { return list_; }

  private:
    std::vector<Breach> list_;
};

bool BlackOrWhite(TColor c) {
    return c == clBlack || c == clWhite;
}

bool Grey(TColor c) {
    return RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
}

const char* const kMaskColours = "mask holds colours other than black and white";
const char* const kImageNotBlack = "image is not black where the mask is white";

// A fish data sheet or an up/down sheet: four equal quadrants (image, mask, shadow 1, shadow 2).
Breaches SheetBreaches(const TBitmap& sheet) {
    Breaches breaches;
    if (sheet.Empty()) {
        breaches.Rule("the sheet holds no pixels");
        return breaches;
    }
    if (sheet.Width() % 2 != 0 || sheet.Height() % 2 != 0) {
        breaches.Rule("width and height are not both even (" + std::to_string(sheet.Width()) +
                      " x " + std::to_string(sheet.Height()) + ")");
    }
    const int w = sheet.Width() / 2;
    const int h = sheet.Height() / 2;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const TColor mask = sheet.Pixel(w + x, y);
            if (!BlackOrWhite(mask)) {
                breaches.Pixel(kMaskColours, w + x, y);
            } else if (mask == clWhite && sheet.Pixel(x, y) != clBlack) {
                breaches.Pixel(kImageNotBlack, x, y);
            }
        }
    }
    for (int y = h; y < 2 * h; ++y) {
        for (int x = 0; x < 2 * w; ++x) {
            if (!Grey(sheet.Pixel(x, y))) {
                breaches.Pixel("shadow quadrants hold colours that are not grey", x, y);
            }
        }
    }
    return breaches;
}

// The bits per pixel a BMP file's header states, or 0 when the file is too short to tell.
int FileBitCount(const std::string& path) {
    std::ifstream in(platform::PathOf(path), std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    if (bytes.size() < 18) {
        return 0;
    }
    const unsigned headerSize =
        bytes[14] | (bytes[15] << 8) | (bytes[16] << 16) | (unsigned(bytes[17]) << 24);
    const std::size_t at = headerSize == 12 ? 24 : 28; // the old core header is shorter
    if (bytes.size() < at + 2) {
        return 0;
    }
    return bytes[at] | (bytes[at + 1] << 8);
}

// An accessory picture and the mask the name rule puts beside it.
Breaches AccessoryBreaches(const std::string& path, const TBitmap& picture) {
    const std::string maskPath = AccessoryFileNames(path).Mask;
    const TBitmap mask = ReadBmpFile(maskPath);
    Breaches breaches;
    if (picture.Empty()) {
        breaches.Rule("the picture holds no pixels");
    }
    if (mask.Width() != picture.Width() || mask.Height() != picture.Height()) {
        breaches.Rule("the mask " + maskPath + " is " + std::to_string(mask.Width()) + " x " +
                      std::to_string(mask.Height()) + ", the picture " +
                      std::to_string(picture.Width()) + " x " + std::to_string(picture.Height()));
    }
    const int bits = FileBitCount(maskPath);
    if (bits != 1) {
        breaches.Rule("the mask " + maskPath + " has " + std::to_string(bits) +
                      " bits per pixel, not 1");
    }
    const int width = std::min(mask.Width(), picture.Width());
    const int height = std::min(mask.Height(), picture.Height());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const TColor m = mask.Pixel(x, y);
            if (!BlackOrWhite(m)) {
                breaches.Pixel(kMaskColours, x, y);
            } else if (m == clWhite && picture.Pixel(x, y) != clBlack) {
                breaches.Pixel("picture is not black where the mask is white", x, y);
            }
        }
    }
    return breaches;
}

void Report(const std::string& path, const Breaches& breaches) {
    const std::vector<Breach>& list = breaches.List();
    if (list.empty()) {
        std::cout << path << ": ok\n";
        return;
    }
    std::cout << path << ": breaks " << list.size() << (list.size() == 1 ? " rule" : " rules")
              << "\n";
    for (const Breach& breach : list) {
        std::cout << "  " << breach.Rule;
        if (breach.Count > 0) {
            std::cout << ": " << breach.Count << (breach.Count == 1 ? " pixel" : " pixels")
                      << ", first at (" << breach.X << ", " << breach.Y << ")";
        }
        std::cout << "\n";
    }
}

} // namespace

int RunCheck(const Options& options) {
    int status = 0;
    for (const std::string& path : options.Inputs) {
        try {
            RequireMemoryFor(PictureUse::Check, path);
            const TBitmap file = ReadPictureFile(path).Bitmap;
            const Breaches breaches =
                options.Accessory ? AccessoryBreaches(path, file) : SheetBreaches(file);
            Report(path, breaches);
            if (!breaches.List().empty()) {
                status = 1;
            }
        } catch (const std::exception& error) {
            // A file that cannot be read breaks no rule: it says so, and why on stderr.
            std::cout << path << ": cannot be checked\n" << std::flush;
            std::cerr << FailureMessage(error, path) << "\n";
            status = 1;
        }
    }
    return status;
}
