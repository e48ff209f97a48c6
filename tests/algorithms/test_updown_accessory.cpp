// Up and down sheets and accessory data: crops, refusals, file names and the files written.
#include "accessory/AccessoryCrop.h"
#include "raster/Bmp.h"
#include "rotate/RotationTransform.h"
#include "rotate/UpDownSheets.h"

#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace test_support;
namespace fs = std::filesystem;

namespace {

// A 40 x 30 fish data sheet whose mask is a diagonal bar, so turning it clockwise and
// counter-clockwise gives boxes of different sizes.
TBitmap DiagonalFishSheet() {
    std::mt19937 random(9);
    TBitmap sheet = RandomColours(random, 40, 30);
    for (int y = 0; y < 15; ++y) {
        for (int x = 20; x < 40; ++x) {
            sheet.SetPixel(x, y, clWhite);
        }
    }
    for (int x = 0; x < 20; ++x) {
        sheet.SetPixel(20 + x, x * 14 / 19, clBlack);
    }
    return sheet;
}

// Each quadrant of a built sheet is the box of that quadrant turned on its own.
void ExpectQuadrantsAreTheBoxOfEachTurn(const TBitmap& source, int angle, const TBitmap& built,
                                        bool upward) {
    TBitmap up, down;
    RotateQuadrant(source, angle, 1, up, down);
    const FishBoundingBox box = MaskBox(upward ? up : down);
    ASSERT_EQ(built.Width(), 2 * box.Width());
    ASSERT_EQ(built.Height(), 2 * box.Height());
    const int place[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        RotateQuadrant(source, angle, quadrant, up, down);
        const TBitmap& turned = upward ? up : down;
        for (int y = 0; y < box.Height(); ++y) {
            for (int x = 0; x < box.Width(); ++x) {
                ASSERT_EQ(built.Pixel(place[quadrant][0] * box.Width() + x,
                                      place[quadrant][1] * box.Height() + y),
                          turned.Pixel(box.Left + x, box.Top + y))
                    << "quadrant " << quadrant << " at " << x << "," << y;
            }
        }
    }
}

class AccessoryFiles : public ::testing::Test {
  protected:
    ScratchFolder folder;
};

} // namespace

TEST(UpDownSheets, EachDirectionIsCroppedToItsOwnTurnedMask) {
    const TBitmap source = DiagonalFishSheet();
    TBitmap up, down;
    const UpDownSheets sheets = BuildUpDownSheets(source, 30, up, down);
    EXPECT_NE(sheets.Up.Width(), sheets.Down.Width()) << "an asymmetric mask turns unequally";
    ExpectQuadrantsAreTheBoxOfEachTurn(source, 30, sheets.Up, true);
    ExpectQuadrantsAreTheBoxOfEachTurn(source, 30, sheets.Down, false);

    TBitmap lastUp, lastDown;
    RotateQuadrant(source, 30, 3, lastUp, lastDown);
    EXPECT_EQ(FirstDifference(up, lastUp), "") << "working surfaces keep quadrant 3";
    EXPECT_EQ(FirstDifference(down, lastDown), "");
}

TEST(UpDownSheets, MinusThirtyUpIsThirtyDown) {
    const TBitmap source = DiagonalFishSheet();
    TBitmap up, down;
    const UpDownSheets minus = BuildUpDownSheets(source, -30, up, down);
    const UpDownSheets plus = BuildUpDownSheets(source, 30, up, down);
    EXPECT_EQ(FirstDifference(minus.Up, plus.Down), "");
    EXPECT_EQ(FirstDifference(minus.Down, plus.Up), "");
}

TEST(UpDownSheets, MaskWithoutBlackIsRefused) {
    TBitmap up, down;
    for (const TBitmap& source : {TBitmap(40, 30, 0x010101), TBitmap()}) {
        try {
            BuildUpDownSheets(source, 30, up, down);
            ADD_FAILURE() << "a sheet without a black mask pixel was accepted";
        } catch (const ENoBlackInMask& error) {
            EXPECT_STREQ(error.what(),
                         "ﾏｽｸﾊﾟﾀｰﾝに黒い点がないため上向き下向きﾃﾞｰﾀを作成できません");
        }
    }
}

TEST(UpDownNames, DropTheFileNamesExtensionOnly) {
    struct Case {
        const char* Source;
        const char* Up;
        const char* Down;
    };
    const Case cases[] = {
        {"/data/Fish01.BMP", "/data/Fish01u.bmp", "/data/Fish01d.bmp"},
        {"/data/fish.dib", "/data/fishu.bmp", "/data/fishd.bmp"},
        {"/a/x.bmp/f.bmp", "/a/x.bmp/fu.bmp", "/a/x.bmp/fd.bmp"},
        {"/a/x.bmp/plain", "/a/x.bmp/plainu.bmp", "/a/x.bmp/plaind.bmp"},
        {"sheet.tar.bmp", "sheet.taru.bmp", "sheet.tard.bmp"},
        {"/a/.hidden", "/a/.hiddenu.bmp", "/a/.hiddend.bmp"},
    };
    for (const Case& c : cases) {
        const UpDownNames names = UpDownFileNames(c.Source);
        EXPECT_EQ(names.Up, c.Up) << c.Source;
        EXPECT_EQ(names.Down, c.Down) << c.Source;
    }
}

TEST(AccessoryCrop, KeepsTheDecorationOnBlackWithAOneBitMask) {
    TBitmap picture(6, 5, 0x00FF00);
    picture.SetPixel(1, 1, 0x123456);
    picture.SetPixel(4, 3, clBlack); // black decoration pixels stay decoration
    const AccessoryData data = CropAccessory(picture, 0x00FF00);
    ASSERT_EQ(data.Picture.Width(), 4);
    ASSERT_EQ(data.Picture.Height(), 3);
    ASSERT_EQ(data.Mask.Width(), 4);
    ASSERT_EQ(data.Mask.Height(), 3);
    EXPECT_TRUE(data.Mask.Monochrome());
    EXPECT_FALSE(data.Picture.Monochrome());
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const TColor p = picture.Pixel(1 + x, 1 + y);
            const bool decoration = p != 0x00FF00;
            EXPECT_EQ(data.Picture.Pixel(x, y), decoration ? p : clBlack) << x << "," << y;
            EXPECT_EQ(data.Mask.Pixel(x, y), decoration ? clBlack : clWhite) << x << "," << y;
        }
    }
}

TEST(AccessoryCrop, SinglePixelAndFullPictureBoxes) {
    TBitmap one(9, 7, clWhite);
    one.SetPixel(8, 0, 0x0000FF);
    const AccessoryData single = CropAccessory(one, clWhite);
    ASSERT_EQ(single.Picture.Width(), 1);
    ASSERT_EQ(single.Picture.Height(), 1);
    EXPECT_EQ(single.Picture.Pixel(0, 0), 0x0000FFu);
    EXPECT_EQ(single.Mask.Pixel(0, 0), clBlack);

    TBitmap corners(9, 7, clWhite);
    corners.SetPixel(0, 6, 1);
    corners.SetPixel(8, 0, 2);
    EXPECT_EQ(CropAccessory(corners, clWhite).Picture.Width(), 9);
    EXPECT_EQ(CropAccessory(corners, clWhite).Mask.Height(), 7);
}

TEST(AccessoryNames, LowerCaseTheFileNameAndDropOnlyAFinalBmp) {
    struct Case {
        const char* Chosen;
        const char* Picture;
        const char* Mask;
    };
    const Case cases[] = {
        {"/TANK/Rock.BMP", "/TANK/rock.bmp", "/TANK/rockm.bmp"},
        {"/TANK/Rock", "/TANK/rock", "/TANK/rockm.bmp"},
        {"Plant.Bmp", "plant.bmp", "plantm.bmp"},
        {"/T/Stone.dib", "/T/stone.dib", "/T/stone.dibm.bmp"},
        {"/T/Weed.PNG", "/T/weed.bmp", "/T/weedm.bmp"},
        {"/T/\xE7\x9F\xB3"
         "A.BMP",
         "/T/\xE7\x9F\xB3"
         "a.bmp",
         "/T/\xE7\x9F\xB3"
         "am.bmp"},
        {"/T/.BMP", "/T/.bmp", "/T/m.bmp"},
    };
    for (const Case& c : cases) {
        const AccessoryNames names = AccessoryFileNames(c.Chosen);
        EXPECT_EQ(names.Picture, c.Picture) << c.Chosen;
        EXPECT_EQ(names.Mask, c.Mask) << c.Chosen;
    }
}

TEST_F(AccessoryFiles, PictureWithoutDecorationIsRefusedBeforeAnythingIsWritten) {
    const std::string chosen = folder.Path("Rock.bmp");
    for (const TBitmap& picture : {TBitmap(5, 5, clBlack), TBitmap()}) {
        try {
            SaveAccessory(picture, clBlack, chosen);
            ADD_FAILURE() << "a picture of background only was accepted";
        } catch (const ENoAccessoryPixel& error) {
            EXPECT_STREQ(error.what(), "背景色以外の点がないためｱｸｾｻﾘﾃﾞｰﾀを作成できません");
        }
    }
    EXPECT_TRUE(fs::is_empty(folder.Root()));
}

TEST_F(AccessoryFiles, SaveWritesTheOneBitMaskBesideTheLowerCasedPicture) {
    TBitmap picture(8, 8, clBlack);
    picture.SetPixel(2, 3, 0x3366CC);
    picture.SetPixel(5, 6, 0x3366CC);
    SaveAccessory(picture, clBlack, folder.Path("Rock.BMP"));
    const ByteStore mask = FileBytes(folder.Path("rockm.bmp"));
    ASSERT_GT(mask.size(), 30u);
    EXPECT_EQ(mask[28], 1) << "the mask file holds one bit per pixel";
    const TBitmap back = ReadBmpFile(folder.Path("rock.bmp"));
    EXPECT_EQ(back.Width(), 4);
    EXPECT_EQ(back.Height(), 4);
    EXPECT_EQ(back.Pixel(0, 0), 0x3366CCu);
    EXPECT_EQ(back.Pixel(1, 0), clBlack);
    EXPECT_EQ(fs::exists(folder.Path("Rock.BMP")), IgnoresCase(folder.Root()))
        << "only the lower-cased name is written";
}

TEST_F(AccessoryFiles, MaskIsWrittenBeforeThePicture) {
    TBitmap picture(3, 3, clWhite);
    picture.SetPixel(1, 1, clBlack);
    const AccessoryData data = CropAccessory(picture, clWhite);
    const AccessoryNames names{folder.Path("missing/rock.bmp"), folder.Path("rockm.bmp")};
    EXPECT_THROW(WriteAccessoryFiles(data, names), EVelmoraError);
    EXPECT_TRUE(fs::exists(folder.Path("rockm.bmp")));
}
