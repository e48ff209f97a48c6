// velmora-batch run as a program: outputs byte for byte, names, refusals, exit codes, check.
#include "accessory/AccessoryCrop.h"
#include "fish/PreviewFrames.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "shadow/PenStamp.h"
#include "tests/support/Files.h"
#include "tests/support/Programs.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;
using namespace test_support;

namespace {

// A fish of a few colours on a plain background, touching no edge.
TBitmap FishPicture(int width, int height, TColor background) {
    TBitmap picture = Filled(width, height, background);
    for (int y = height / 4; y < height * 3 / 4; ++y) {
        for (int x = width / 5; x < width * 4 / 5; ++x) {
            picture.SetPixel(x, y, (x + y) % 3 == 0 ? clBlack : RGB(x * 7, y * 5, 200));
        }
    }
    return picture;
}

class Batch : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return folder_.Path(name); }

    std::string Write(const std::string& name, const TBitmap& bitmap) const {
        WriteBmpFile(bitmap, Path(name));
        return Path(name);
    }

    ProgramRun Invoke(const std::vector<std::string>& arguments) const {
        return RunProgram(VELMORA_BATCH, arguments);
    }

    void ExpectPassesCheck(const std::vector<std::string>& files, bool accessory = false) const {
        std::vector<std::string> arguments{"check"};
        if (accessory) {
            arguments.push_back("--accessory");
        }
        arguments.insert(arguments.end(), files.begin(), files.end());
        const ProgramRun run = Invoke(arguments);
        EXPECT_EQ(run.Status, 0) << run.Out << run.Err;
    }

    ScratchFolder folder_;
};

} // namespace

TEST_F(Batch, FishWritesTheSheetTheWindowWouldSave) {
    const TColor background = RGB(10, 200, 30);
    const TBitmap picture = FishPicture(40, 30, background); // zoom 2
    TBitmap shadow1 = Filled(80, 60, clWhite);
    TBitmap shadow2 = Filled(80, 60, clWhite);
    Fill(shadow1, Rect(20, 20, 50, 40), PaletteGrey(120));
    Fill(shadow2, Rect(30, 10, 70, 50), RGB(90, 0, 255));
    const std::string input = Write("Fish.bmp", picture);
    const ProgramRun run =
        Invoke({"fish", input, "-o", Path("sheet.bmp"), "--background", "0,0", "--shadow1",
                Write("s1.bmp", shadow1), "--shadow2", Write("s2.bmp", shadow2)});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "") << "a single input prints no progress";
    TBitmap expected;
    ComposeFishSheet(picture, background, shadow1, shadow2, 2, expected);
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("sheet.bmp")), EncodeBmp(expected)), "");
    ExpectPassesCheck({Path("sheet.bmp")});
}

TEST_F(Batch, FishBackgroundColourIsRedGreenBlueAndDefaultsToBlack) {
    const std::string onColour =
        Write("coloured.bmp", FishPicture(200, 120, RGB(0x11, 0x22, 0x33)));
    ASSERT_EQ(Invoke({"fish", onColour, "-o", Path("a.bmp"), "--background", "#112233"}).Status, 0);
    const TBitmap sheet = ReadBmpFile(Path("a.bmp"));
    EXPECT_EQ(sheet.Width(), 2 * (159 - 40 + 1)) << "only the fish is boxed";
    EXPECT_EQ(sheet.Height(), 2 * (89 - 30 + 1));

    const std::string onBlack = Write("black.bmp", FishPicture(200, 120, clBlack));
    ASSERT_EQ(Invoke({"fish", onBlack, "-o", Path("b.bmp")}).Status, 0);
    EXPECT_EQ(ReadBmpFile(Path("b.bmp")).Width(), sheet.Width());
}

TEST_F(Batch, FishRefusesShadowsOfTheWrongSize) {
    const std::string input = Write("fish.bmp", FishPicture(40, 30, clWhite));
    const ProgramRun run = Invoke({"fish", input, "-o", Path("sheet.bmp"), "--background", "0,0",
                                   "--shadow2", Write("small.bmp", Filled(40, 30, clWhite))});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("40 x 30"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("80 x 60"), std::string::npos) << run.Err;
    EXPECT_FALSE(fs::exists(Path("sheet.bmp")));
}

TEST_F(Batch, SeveralInputsReportEachFileAndCarryOnAfterAFailure) {
    const std::string first = Write("fish01.bmp", FishPicture(40, 30, clBlack));
    const std::string third = Write("fish03.bmp", FishPicture(300, 200, clBlack));
    fs::create_directories(Path("out"));
    const ProgramRun run =
        Invoke({"fish", first, Path("fish02.bmp"), third, "--out-dir", Path("out")});
    EXPECT_EQ(run.Status, 1);
    std::istringstream lines(run.Err);
    std::string line1, line2, line3, extra;
    std::getline(lines, line1);
    std::getline(lines, line2);
    std::getline(lines, line3);
    EXPECT_FALSE(std::getline(lines, extra)) << run.Err;
    EXPECT_EQ(line1, "[1/3] " + first + " -> " + Path("out/fish01.bmp"));
    EXPECT_EQ(line2,
              "[2/3] " + Path("fish02.bmp") + ": ﾌｧｲﾙ " + Path("fish02.bmp") + " は開けません");
    EXPECT_EQ(line3, "[3/3] " + third + " -> " + Path("out/fish03.bmp"));
    ExpectPassesCheck({Path("out/fish01.bmp"), Path("out/fish03.bmp")});
}

TEST_F(Batch, UnrunnableCommandLinesExitTwoWithOneLine) {
    const std::string a = Write("a.bmp", FishPicture(20, 20, clBlack));
    const std::string b = Write("b.bmp", FishPicture(20, 20, clBlack));
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"paint", a},
        {"fish", a},
        {"fish", a, b, "-o", Path("x.bmp")},
        {"fish", a, "-o", Path("x.bmp"), "--out-dir", Path("")},
        {"fish", a, "-o", Path("x.bmp"), "--background", "20,3"},
        {"fish", a, "-o", Path("x.bmp"), "--background", "#12345"},
        {"fish", a, "-o", Path("x.bmp"), "--angle", "30"},
        {"rotate", a, "--angle", "45 "},
        {"rotate", a, "--angle", "99999999999"},
        {"pen", "-o", Path("x.bmp"), "--width", "51"},
        {"pen", "-o", Path("x.bmp"), "--centre", "0"},
        {"pen", "-o", Path("x.bmp"), "--density", "9"},
        {"pen"},
        {"preview", a, b, "-o", Path("x.bmp")},
        {"check"},
    };
    for (const std::vector<std::string>& arguments : lines) {
        const ProgramRun run = Invoke(arguments);
        std::string shown;
        for (const std::string& argument : arguments) {
            shown += argument + " ";
        }
        EXPECT_EQ(run.Status, 2) << shown;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << shown << run.Err;
        EXPECT_NE(run.Err.find("--help"), std::string::npos) << shown;
    }
    EXPECT_FALSE(fs::exists(Path("x.bmp")));
}

TEST_F(Batch, HelpExitsZeroForTheToolAndEachCommand) {
    for (const char* command :
         {"fish", "rotate", "accessory", "preview", "pen", "convert", "check"}) {
        const ProgramRun run = Invoke({command, "--help"});
        EXPECT_EQ(run.Status, 0) << command;
        EXPECT_EQ(run.Out.rfind(std::string("Usage: velmora-batch ") + command, 0), 0u) << run.Out;
    }
    const ProgramRun run = Invoke({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("velmora-batch check"), std::string::npos);
}

TEST_F(Batch, RotateWritesUpAndDownSheetsThatPassCheck) {
    const TBitmap picture = FishPicture(120, 80, clWhite);
    TBitmap sheet;
    ComposeFishSheet(picture, clWhite, Filled(240, 160, clWhite), Filled(240, 160, clWhite), 2,
                     sheet);
    const std::string input = Write("Fish01.BMP", sheet);
    ProgramRun run = Invoke({"rotate", input});
    ASSERT_EQ(run.Status, 0) << run.Err;
    ExpectPassesCheck({Path("Fish01u.bmp"), Path("Fish01d.bmp")});

    fs::create_directories(Path("turned"));
    run = Invoke({"rotate", input, "--angle", "-45", "--out-dir", Path("turned")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::exists(Path("turned/Fish01u.bmp")));
    EXPECT_TRUE(fs::exists(Path("turned/Fish01d.bmp")));
}

TEST_F(Batch, RotateRefusesASheetWithoutBlackMaskAndWritesNothing) {
    const std::string input = Write("plain.bmp", Filled(40, 30, RGB(1, 1, 1)));
    const ProgramRun run = Invoke({"rotate", input});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, input + ": ﾏｽｸﾊﾟﾀｰﾝに黒い点がないため上向き下向きﾃﾞｰﾀを作成できません\n");
    EXPECT_FALSE(fs::exists(Path("plainu.bmp")));
    EXPECT_FALSE(fs::exists(Path("plaind.bmp")));
}

TEST_F(Batch, AccessoryWritesLowerCasedPictureAndOneBitMask) {
    TBitmap picture = Filled(30, 20, RGB(0, 0, 255));
    Fill(picture, Rect(5, 4, 25, 18), RGB(90, 90, 90));
    picture.SetPixel(6, 5, clBlack);
    const std::string input = Write("decor.bmp", picture);
    const ProgramRun run =
        Invoke({"accessory", input, "-o", Path("Rock.BMP"), "--background", "0,0"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const TBitmap cropped = CropAccessory(picture, RGB(0, 0, 255)).Picture;
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("rock.bmp")), EncodeBmp(cropped)), "");
    EXPECT_EQ(FileBytes(Path("rockm.bmp"))[28], 1);
    ExpectPassesCheck({Path("rock.bmp")}, true);
}

TEST_F(Batch, AccessoryNeverOverwritesItsInputAndRefusesAPlainPicture) {
    TBitmap picture = Filled(10, 10, clBlack);
    picture.SetPixel(3, 3, clWhite);
    const std::string input = Write("rock.bmp", picture);
    const ByteStore before = FileBytes(input);
    ProgramRun run = Invoke({"accessory", input, "--out-dir", folder_.Root().string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("overwrite"), std::string::npos) << run.Err;
    EXPECT_EQ(FileBytes(input), before);
    EXPECT_FALSE(fs::exists(Path("rockm.bmp")));

    const std::string plain = Write("plain.bmp", Filled(10, 10, clBlack));
    run = Invoke({"accessory", plain, "-o", Path("out.bmp")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, plain + ": 背景色以外の点がないためｱｸｾｻﾘﾃﾞｰﾀを作成できません\n");
    EXPECT_FALSE(fs::exists(Path("out.bmp")));
    EXPECT_FALSE(fs::exists(Path("outm.bmp")));
}

TEST_F(Batch, PreviewAndPenWriteTheSurfacesTheWindowsDraw) {
    TBitmap sheet;
    ComposeFishSheet(FishPicture(30, 20, clBlack), clBlack, Filled(60, 40, PaletteGrey(200)),
                     Filled(60, 40, clWhite), 2, sheet);
    ASSERT_EQ(Invoke({"preview", Write("sheet.bmp", sheet), "-o", Path("frames.bmp")}).Status, 0);
    TBitmap preview;
    BuildPreviewFrames(sheet, preview);
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("frames.bmp")), EncodeBmp(preview)), "");

    ASSERT_EQ(Invoke({"pen", "--width", "30", "--centre", "5", "--density", "200", "-o",
                      Path("stamp.bmp")})
                  .Status,
              0);
    TBitmap area(50, 50);
    DrawPenStamp(area.Canvas(), PenSettingsFor(30, 5, 200));
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("stamp.bmp")), EncodeBmp(area)), "");
    ASSERT_EQ(Invoke({"pen", "-o", Path("default.bmp")}).Status, 0);
    EXPECT_EQ(ReadBmpFile(Path("default.bmp")).Pixel(25, 25), 0xB7B7B7u);
}

TEST_F(Batch, ConvertWritesColourFilesThatKeepTheirPixels) {
    TBitmap mono;
    mono.SetMonochrome(true);
    mono.SetSize(8, 4);
    mono.SetPixel(2, 1, clBlack);
    const std::string input = Write("mono.bmp", mono);
    ASSERT_EQ(FileBytes(input)[28], 1);
    ASSERT_EQ(Invoke({"convert", input, "-o", Path("colour.bmp")}).Status, 0);
    EXPECT_EQ(FileBytes(Path("colour.bmp"))[28], 24);
    const TBitmap back = ReadBmpFile(Path("colour.bmp"));
    EXPECT_EQ(back.Pixel(2, 1), clBlack);
    EXPECT_EQ(back.Pixel(3, 1), clWhite);
}

TEST_F(Batch, CheckNamesEachBrokenRuleWithItsCountAndFirstPixel) {
    TBitmap sheet = Filled(6, 4, clBlack);
    Fill(sheet, Rect(3, 0, 6, 2), clWhite); // mask all white
    sheet.SetPixel(1, 0, RGB(5, 5, 5));     // image not black under white mask
    sheet.SetPixel(2, 1, RGB(5, 5, 5));
    sheet.SetPixel(4, 1, RGB(255, 0, 0)); // mask colour
    sheet.SetPixel(0, 3, RGB(1, 2, 3));   // not grey
    const std::string broken = Write("broken.bmp", sheet);
    const std::string odd = Write("odd.bmp", Filled(5, 4, clWhite));
    const ProgramRun run = Invoke({"check", broken, odd});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out,
              broken + ": breaks 3 rules\n" +
                  "  image is not black where the mask is white: 2 pixels, first at (1, 0)\n"
                  "  mask holds colours other than black and white: 1 pixel, first at (4, 1)\n"
                  "  shadow quadrants hold colours that are not grey: 1 pixel, first at (0, 3)\n" +
                  odd + ": breaks 2 rules\n" +
                  "  width and height are not both even (5 x 4)\n"
                  "  image is not black where the mask is white: 4 pixels, first at (0, 0)\n");
}

TEST_F(Batch, CheckAccessoryWantsAOneBitMaskOfTheSameSize) {
    TBitmap picture = Filled(4, 3, clBlack);
    picture.SetPixel(0, 0, clWhite);
    Write("stone.bmp", picture);
    Write("stonem.bmp", Filled(4, 3, clWhite)); // 24 bits; white over a white pixel
    ProgramRun run = Invoke({"check", "--accessory", Path("stone.bmp")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find("24 bits per pixel, not 1"), std::string::npos) << run.Out;
    EXPECT_NE(
        run.Out.find("picture is not black where the mask is white: 1 pixel, first at (0, 0)"),
        std::string::npos)
        << run.Out;

    fs::remove(Path("stonem.bmp"));
    run = Invoke({"check", "--accessory", Path("stone.bmp")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find(Path("stonem.bmp")), std::string::npos) << run.Err;
}
