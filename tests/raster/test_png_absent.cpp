// A build without the PNG library: PNG files are refused with a message that says so, BMP
// files read as ever.
#include "raster/Errors.h"
#include "raster/PictureFile.h"
#include "raster/TPicture.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

using namespace test_support;

TEST(PngAbsent, PngFilesAreRefusedAsUnsupportedAndThePictureStays) {
    const ScratchFolder folder;
    const std::string png = folder.Path("fish.PNG");
    WriteText(png, std::string("\x89PNG\r\n\x1a\n", 8));
    const std::string bmp = folder.Path("fish.bmp");
    WriteBmpFile(TBitmap(2, 2, clBlack), bmp);
    TPicture picture;
    picture.LoadFromFile(bmp);
    EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(png); }),
              "PNG pictures are not supported in this build");
    EXPECT_EQ(picture.Bitmap()->Pixel(1, 1), clBlack);
}
