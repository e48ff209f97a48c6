// Picture holders and the image control's rules: sharing, load by extension, drawing surface.
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/ImageControl.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

using namespace test_support;

TEST(Picture, AssignedSurfaceAndPictureDoNotSeeEachOthersDrawing) {
    TBitmap surface(4, 4);
    TPicture picture;
    picture.Assign(surface);
    surface.Canvas().Brush.Color = clBlack;
    surface.Canvas().FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(picture.Bitmap()->Pixel(0, 0), clWhite);

    picture.Bitmap()->SetPixel(1, 1, 0x123456);
    EXPECT_EQ(surface.Pixel(1, 1), clBlack);
}

TEST(Picture, AssignmentDiscardsThePreviousDrawingState) {
    TPicture picture;
    picture.Assign(TBitmap(2, 2));
    picture.Bitmap()->Canvas().Brush.Color = clBlack;
    picture.Bitmap()->Canvas().CopyMode = cmSrcAnd;
    picture.Assign(TBitmap(3, 3));
    EXPECT_EQ(picture.Bitmap()->Canvas().Brush.Color, clWhite);
    EXPECT_EQ(picture.Bitmap()->Canvas().CopyMode, cmSrcCopy);
    EXPECT_EQ(picture.Width(), 3);
}

TEST(Picture, LoadByExtensionAcceptsBmpInAnyCaseAndRefusesOthers) {
    TBitmap source(3, 2);
    source.SetPixel(2, 1, 0x0000FF);
    const ScratchFolder folder;
    std::string upper = folder.Path("FISH.BMP");
    WriteBmpFile(source, upper);

    TPicture picture;
    picture.LoadFromFile(upper);
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.Bitmap()->Pixel(2, 1), 0x0000FFu);

    std::string text = folder.Path("notes.txt");
    WriteText(text, "hello");
    EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(text); }),
              "拡張子 .txt の画像形式は処理できません");
    EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(folder.Path("fish")); }),
              "拡張子 . の画像形式は処理できません");
    EXPECT_EQ(ErrorOf([&] { picture.LoadFromFile(folder.Path("Fish.Ico")); }),
              "拡張子 .Ico の画像形式は処理できません");
    EXPECT_EQ(picture.Width(), 3) << "a failed load keeps the previous picture";
}

TEST(Picture, ExtensionIsTakenFromTheFileNameOnly) {
    EXPECT_EQ(FileExtension("/data/x.bmp/fish"), "");
    EXPECT_EQ(FileExtension("/data/fish.tar.Bmp"), "Bmp");
    EXPECT_EQ(FileExtension("fish."), "");
}

TEST(ImageRules, EmptyControlsDrawingSurfaceIsAWhiteSurfaceOfItsSize) {
    TImageRules image(41, 25, false);
    TCanvas& canvas = image.Canvas();
    EXPECT_EQ(canvas.Surface().Width(), 41);
    EXPECT_EQ(canvas.Surface().Height(), 25);
    EXPECT_EQ(canvas.Pixel(40, 24), clWhite);
    EXPECT_EQ(&image.Canvas(), &canvas) << "a picture that exists is drawn on directly";
}

TEST(ImageRules, AutoSizeTakesThePicturesSizeAndEveryChangeRepaints) {
    TImageRules image(191, 166, true);
    int repaints = 0;
    int resizes = 0;
    image.OnRepaint = [&] { ++repaints; };
    image.OnResize = [&](int, int) { ++resizes; };
    image.Picture().Assign(TBitmap(30, 20));
    EXPECT_EQ(image.Width(), 30);
    EXPECT_EQ(image.Height(), 20);
    EXPECT_EQ(resizes, 1);
    int before = repaints;
    image.Canvas().SetPixel(3, 3, clBlack);
    EXPECT_GT(repaints, before);

    TImageRules swatch(41, 25, false);
    swatch.Picture().Assign(TBitmap(5, 5));
    EXPECT_EQ(swatch.Width(), 41) << "a fixed-size control keeps its designed size";
}
