// velmora-batch run as a program: outputs byte for byte, names, refusals, exit codes, check.
#include "BatchRun.h"
#include "accessory/AccessoryCrop.h"
#include "fish/PreviewFrames.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "shadow/PenStamp.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"
#include "version/Version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;
using namespace batch_run;
using namespace test_support;

namespace {

class Batch : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return folder_.Path(name); }

    std::string Write(const std::string& name, const TBitmap& bitmap) const {
        WriteBmpFile(bitmap, Path(name));
        return Path(name);
    }

    Outcome Invoke(const std::vector<std::string>& arguments) const { return RunBatch(arguments); }

    void ExpectPassesCheck(const std::vector<std::string>& files, bool accessory = false) const {
        std::vector<std::string> arguments{"check"};
        if (accessory) {
            arguments.push_back("--accessory");
        }
        arguments.insert(arguments.end(), files.begin(), files.end());
        const Outcome run = Invoke(arguments);
        EXPECT_EQ(run.Status, 0) << run.Out << run.Err;
    }

    ScratchFolder folder_;
};

} // namespace

TEST_F(Batch, FishWritesTheSheetTheWindowWouldSave) {
    const TColor background = RGB(10, 200, 30);
    const TBitmap picture = FishPicture(40, 30, background); // zoom 2
    TBitmap shadow1(80, 60, clWhite);
    TBitmap shadow2(80, 60, clWhite);
    Fill(shadow1, Rect(20, 20, 50, 40), PaletteGrey(120));
    Fill(shadow2, Rect(30, 10, 70, 50), RGB(90, 0, 255));
    const std::string input = Write("Fish.bmp", picture);
    const Outcome run =
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
    const Outcome run = Invoke({"fish", input, "-o", Path("sheet.bmp"), "--background", "0,0",
                                "--shadow2", Write("small.bmp", TBitmap(40, 30, clWhite))});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("40 x 30"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("80 x 60"), std::string::npos) << run.Err;
    EXPECT_FALSE(fs::exists(Path("sheet.bmp")));
}

TEST_F(Batch, SeveralInputsReportEachFileAndCarryOnAfterAFailure) {
    const std::string first = Write("fish01.bmp", FishPicture(40, 30, clBlack));
    const std::string third = Write("fish03.bmp", FishPicture(300, 200, clBlack));
    const Outcome run =
        Invoke({"fish", first, Path("fish02.bmp"), third, "--out-dir", Path("out"), "--jobs", "1"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Lines(run.Err),
              (std::vector<std::string>{
                  "[1/3] " + first + " -> " + Path("out/fish01.bmp"),
                  "[2/3] " + Path("fish02.bmp") + ": cannot open: No such file or directory",
                  "[3/3] " + third + " -> " + Path("out/fish03.bmp"),
                  "velmora-batch: 1 of 3 files failed",
              }));
    ExpectPassesCheck({Path("out/fish01.bmp"), Path("out/fish03.bmp")});
}

TEST_F(Batch, AProblemOfOnePictureFailsThatPictureOnly) {
    TBitmap big(200, 120, RGB(0, 0, 255));
    Fill(big, Rect(20, 20, 60, 50), RGB(255, 0, 0));
    const std::string a = Write("a.bmp", big);
    const std::string b = Write("b.bmp", TBitmap(100, 50, RGB(0, 0, 255)));
    const std::string c = Write("c.bmp", big);
    const Outcome run =
        Invoke({"accessory", a, b, c, "--background", "150,100", "--out-dir", Path("out")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(
        run.Err.find("] " + b + ": --background 150,100 lies outside the picture (100 x 50)\n"),
        std::string::npos)
        << run.Err;
    EXPECT_EQ(Lines(run.Err).back(), "velmora-batch: 1 of 3 files failed");
    for (const char* written : {"out/a.bmp", "out/am.bmp", "out/c.bmp", "out/cm.bmp"}) {
        EXPECT_TRUE(fs::exists(Path(written))) << written;
    }
    EXPECT_FALSE(fs::exists(Path("out/b.bmp")));
}

TEST_F(Batch, UnrunnableCommandLinesExitTwoWithOneLineAndTouchNothing) {
    const std::string a = Write("a.bmp", FishPicture(20, 20, clBlack));
    const std::string b = Write("b.bmp", FishPicture(20, 20, clBlack));
    const std::string x = Path("x.bmp");
    const std::string out = Path("out");
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"paint", a},
        {"--bogus"},
        {"fish", a},
        {"fish", a, b, "-o", x},
        {"fish", a, "-o", x, "--out-dir", out},
        {"fish", a, "--out-dir", ""},
        {"fish", a, "-o", x, "--background", "#12345"},
        {"fish", a, "-o", x, "--background", "20;3"},
        {"fish", a, "-o", x, "--angle", "30"},
        {"fish", a, "-o", x, "--jobs", "0"},
        {"fish", a, "--out-dir", out, "--shadow1", Path("missing.bmp")},
        {"fish", a, "--out-dir", b},
        {"rotate", a, "--angle", "45 "},
        {"rotate", a, "--angle", "99999999999"},
        {"pen", "-o", x, "--width", "51"},
        {"pen", "-o", x, "--centre", "0"},
        {"pen", "-o", x, "--density", "9"},
        {"pen"},
        {"pen", a, "-o", x},
        {"preview", a, b, "-o", x},
        {"check"},
    };
    for (const std::vector<std::string>& arguments : lines) {
        const Outcome run = Invoke(arguments);
        std::string shown;
        for (const std::string& argument : arguments) {
            shown += argument + " ";
        }
        EXPECT_EQ(run.Status, 2) << shown;
        EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << shown << run.Err;
        EXPECT_EQ(run.Err.rfind("velmora-batch: ", 0), 0u) << shown << run.Err;
        EXPECT_NE(run.Err.find("--help')"), std::string::npos) << shown << run.Err;
        EXPECT_FALSE(fs::exists(x)) << shown;
        EXPECT_FALSE(fs::exists(out)) << shown;
    }
}

TEST_F(Batch, TwoOutputsOfOneNameAreRefusedBeforeAnythingIsWritten) {
    fs::create_directories(Path("a"));
    fs::create_directories(Path("b"));
    const std::string first = Write("a/x.bmp", FishPicture(40, 30, clBlack));
    const std::string second = Write("b/x.bmp", FishPicture(40, 30, clBlack));
    const std::string third = Write("b/Rock.BMP", FishPicture(40, 30, clBlack));
    const std::string fourth = Write("a/rock.bmp", FishPicture(40, 30, clBlack));
    const struct {
        std::vector<std::string> arguments;
        std::string clash;
    } runs[] = {
        {{"rotate", first, second, "--out-dir", Path("out")}, first + " and " + second},
        {{"fish", first, first, "--out-dir", Path("out")}, first + " and " + first},
        {{"accessory", third, first, fourth, "--out-dir", Path("out")}, third + " and " + fourth},
    };
    for (const auto& run : runs) {
        const Outcome outcome = Invoke(run.arguments);
        EXPECT_EQ(outcome.Status, 2) << run.clash;
        EXPECT_NE(outcome.Err.find(run.clash + " would both write " + Path("out/")),
                  std::string::npos)
            << outcome.Err;
        EXPECT_FALSE(fs::exists(Path("out"))) << run.clash;
    }
}

TEST_F(Batch, AnOutputThatIsAnotherInputIsRefusedAndTheRestDone) {
    TBitmap sheet;
    ComposeFishSheet(FishPicture(40, 30, clWhite), clWhite, TBitmap(80, 60, clWhite),
                     TBitmap(80, 60, clWhite), 2, sheet);
    const std::string source = Write("x.bmp", sheet);
    const std::string alsoInput = Write("xu.bmp", sheet); // x's up sheet would replace it
    const ByteStore before = FileBytes(alsoInput);
    const Outcome run = Invoke({"rotate", source, alsoInput, "--jobs", "1"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("[1/2] " + alsoInput +
                           ": is an input of this run; refusing to "
                           "overwrite it\n"),
              std::string::npos)
        << run.Err;
    EXPECT_EQ(FileBytes(alsoInput), before);
    EXPECT_FALSE(fs::exists(Path("xd.bmp")));
    EXPECT_TRUE(fs::exists(Path("xuu.bmp")));
}

TEST_F(Batch, OutDirIsMadeWhenMissing) {
    const std::string input = Write("fish.bmp", FishPicture(40, 30, clBlack));
    const Outcome run = Invoke({"convert", input, "--out-dir", Path("made/deeper")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::exists(Path("made/deeper/fish.bmp")));
}

TEST_F(Batch, FishWarnsWhenTheBackgroundIsNotOnTheBorderAndStillWrites) {
    const std::string input = Write("fish.bmp", FishPicture(40, 30, RGB(0, 0, 200)));
    const Outcome run = Invoke({"fish", input, "-o", Path("sheet.bmp")});
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Err, input + ": background #000000 is not on the picture's border; the whole "
                               "picture becomes the fish\n");
    EXPECT_EQ(ReadBmpFile(Path("sheet.bmp")).Width(), 80);

    EXPECT_EQ(Invoke({"fish", input, "-o", Path("sheet.bmp"), "--background", "#0000C8"}).Err, "");
}

TEST_F(Batch, ParallelJobsWriteWhatOneJobWritesWithWholeLinesAndTheSummaryLast) {
    std::vector<std::string> inputs;
    for (int i = 0; i < 40; ++i) {
        const std::string name = "fish" + std::to_string(100 + i) + ".bmp";
        inputs.push_back(Write(name, FishPicture(60 + 7 * i, 40 + 5 * i, RGB(i, 2 * i, 3 * i))));
    }
    inputs.push_back(Path("missing.bmp"));
    std::map<std::string, std::string> results[2];
    for (int jobs : {1, 2}) {
        const std::string out = Path("out" + std::to_string(jobs));
        std::vector<std::string> arguments{"fish",   "--background",      "0,0", "--out-dir", out,
                                           "--jobs", std::to_string(jobs)};
        arguments.insert(arguments.end(), inputs.begin(), inputs.end());
        const Outcome run = Invoke(arguments);
        EXPECT_EQ(run.Status, 1);
        const std::vector<std::string> lines = Lines(run.Err);
        ASSERT_EQ(lines.size(), 42u) << run.Err;
        std::set<std::string> reported;
        for (std::size_t k = 0; k < 41; ++k) {
            const std::string counter = "[" + std::to_string(k + 1) + "/41] ";
            ASSERT_EQ(lines[k].rfind(counter, 0), 0u) << lines[k];
            // The path ends at the arrow or at the colon of a failure (not at a drive's colon).
            const std::size_t end = std::min(lines[k].find(" -> ", counter.size()),
                                             lines[k].find(": ", counter.size()));
            const std::string input = lines[k].substr(counter.size(), end - counter.size());
            reported.insert(input);
            if (input != Path("missing.bmp")) {
                EXPECT_EQ(lines[k], counter + input + " -> " + out + "/" +
                                        fs::path(input).filename().string());
            }
        }
        EXPECT_EQ(reported.size(), 41u);
        EXPECT_EQ(lines.back(), "velmora-batch: 1 of 41 files failed");
        for (const auto& entry : fs::directory_iterator(out)) {
            // The mode too: writers on two threads must not disturb each other's umask.
            const auto mode = static_cast<unsigned>(entry.status().permissions());
            results[jobs - 1][entry.path().filename().string()] =
                FileText(entry.path()) + " mode " + std::to_string(mode);
        }
    }
    EXPECT_EQ(results[0].size(), 40u);
    EXPECT_TRUE(results[0] == results[1]) << "the outputs of --jobs 2 differ from --jobs 1";
}

TEST_F(Batch, HelpAndVersionExitZero) {
    for (const char* command :
         {"fish", "rotate", "accessory", "preview", "pen", "convert", "check"}) {
        const Outcome run = Invoke({command, "--help"});
        EXPECT_EQ(run.Status, 0) << command;
        EXPECT_EQ(run.Out.rfind(std::string("Usage: velmora-batch ") + command, 0), 0u) << run.Out;
        EXPECT_NE(run.Out.find("\nExit status:\n"), std::string::npos) << run.Out;
    }
    const Outcome run = Invoke({"--help"});
    EXPECT_EQ(run.Status, 0);
    EXPECT_NE(run.Out.find("\n  check "), std::string::npos) << run.Out;
    const Outcome version = Invoke({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, std::string("velmora-batch ") + kVelmoraVersion + "\n");
}

TEST_F(Batch, RotateWritesUpAndDownSheetsThatPassCheck) {
    const TBitmap picture = FishPicture(120, 80, clWhite);
    TBitmap sheet;
    ComposeFishSheet(picture, clWhite, TBitmap(240, 160, clWhite), TBitmap(240, 160, clWhite), 2,
                     sheet);
    const std::string input = Write("Fish01.BMP", sheet);
    Outcome run = Invoke({"rotate", input});
    ASSERT_EQ(run.Status, 0) << run.Err;
    ExpectPassesCheck({Path("Fish01u.bmp"), Path("Fish01d.bmp")});

    fs::create_directories(Path("turned"));
    run = Invoke({"rotate", input, "--angle", "-45", "--out-dir", Path("turned")});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(fs::exists(Path("turned/Fish01u.bmp")));
    EXPECT_TRUE(fs::exists(Path("turned/Fish01d.bmp")));
}

TEST_F(Batch, RotateRefusesASheetWithoutBlackMaskAndWritesNothing) {
    const std::string input = Write("plain.bmp", TBitmap(40, 30, RGB(1, 1, 1)));
    const Outcome run = Invoke({"rotate", input});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, input + ": the turned mask has no black pixel (not a fish data sheet?); no "
                               "up and down sheets made\n");
    EXPECT_FALSE(fs::exists(Path("plainu.bmp")));
    EXPECT_FALSE(fs::exists(Path("plaind.bmp")));
}

TEST_F(Batch, AccessoryWritesLowerCasedPictureAndOneBitMask) {
    TBitmap picture(30, 20, RGB(0, 0, 255));
    Fill(picture, Rect(5, 4, 25, 18), RGB(90, 90, 90));
    picture.SetPixel(6, 5, clBlack);
    const std::string input = Write("decor.bmp", picture);
    const Outcome run = Invoke({"accessory", input, "-o", Path("Rock.BMP"), "--background", "0,0"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const TBitmap cropped = CropAccessory(picture, RGB(0, 0, 255)).Picture;
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("rock.bmp")), EncodeBmp(cropped)), "");
    EXPECT_EQ(FileBytes(Path("rockm.bmp"))[28], 1);
    ExpectPassesCheck({Path("rock.bmp")}, true);
}

TEST_F(Batch, AccessoryNeverOverwritesItsInputAndRefusesAPlainPicture) {
    TBitmap picture(10, 10, clBlack);
    picture.SetPixel(3, 3, clWhite);
    const std::string input = Write("rock.bmp", picture);
    const ByteStore before = FileBytes(input);
    Outcome run = Invoke({"accessory", input, "--out-dir", folder_.Root().string()});
    EXPECT_EQ(run.Status, 1);
    // The output's name is the input's in lower case: where capitals do not count, the whole
    // path is the input's spelled differently.
    const auto spelled = [ignores = IgnoresCase(folder_.Root())](std::string text) {
        if (ignores) {
            std::transform(text.begin(), text.end(), text.begin(),
                           [](unsigned char ch) { return std::tolower(ch); });
        }
        return text;
    };
    EXPECT_EQ(spelled(run.Err),
              spelled(input + ": is an input of this run; refusing to overwrite it\n"));
    EXPECT_EQ(FileBytes(input), before);
    EXPECT_FALSE(fs::exists(Path("rockm.bmp")));

    const std::string plain = Write("plain.bmp", TBitmap(10, 10, clBlack));
    run = Invoke({"accessory", plain, "-o", Path("out.bmp")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, plain + ": holds nothing but the background colour; no accessory made\n");
    EXPECT_FALSE(fs::exists(Path("out.bmp")));
    EXPECT_FALSE(fs::exists(Path("outm.bmp")));
}

TEST_F(Batch, PreviewAndPenWriteTheSurfacesTheWindowsDraw) {
    TBitmap sheet;
    ComposeFishSheet(FishPicture(30, 20, clBlack), clBlack, TBitmap(60, 40, PaletteGrey(200)),
                     TBitmap(60, 40, clWhite), 2, sheet);
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
    TBitmap sheet(6, 4, clBlack);
    Fill(sheet, Rect(3, 0, 6, 2), clWhite); // mask all white
    sheet.SetPixel(1, 0, RGB(5, 5, 5));     // image not black under white mask
    sheet.SetPixel(2, 1, RGB(5, 5, 5));
    sheet.SetPixel(4, 1, RGB(255, 0, 0)); // mask colour
    sheet.SetPixel(0, 3, RGB(1, 2, 3));   // not grey
    const std::string broken = Write("broken.bmp", sheet);
    const std::string odd = Write("odd.bmp", TBitmap(5, 4, clWhite));
    const Outcome run = Invoke({"check", broken, odd});
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
    TBitmap picture(4, 3, clBlack);
    picture.SetPixel(0, 0, clWhite);
    Write("stone.bmp", picture);
    Write("stonem.bmp", TBitmap(4, 3, clWhite)); // 24 bits; white over a white pixel
    Outcome run = Invoke({"check", "--accessory", Path("stone.bmp")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Out.find("24 bits per pixel, not 1"), std::string::npos) << run.Out;
    EXPECT_NE(
        run.Out.find("picture is not black where the mask is white: 1 pixel, first at (0, 0)"),
        std::string::npos)
        << run.Out;

    fs::remove(Path("stonem.bmp"));
    run = Invoke({"check", "--accessory", Path("stone.bmp")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, Path("stone.bmp") + ": cannot be checked\n");
    EXPECT_EQ(run.Err, Path("stonem.bmp") + ": cannot open: No such file or directory\n");
}

TEST_F(Batch, CheckTellsAnUnreadableFileFromOneThatBreaksARule) {
    TBitmap sheet;
    ComposeFishSheet(FishPicture(30, 20, clBlack), clBlack, TBitmap(60, 40, clWhite),
                     TBitmap(60, 40, clWhite), 2, sheet);
    const std::string sound = Write("sound.bmp", sheet);
    const std::string odd = Write("odd.bmp", TBitmap(2, 3, clBlack));
    const std::string folder = Path("folder.bmp");
    fs::create_directories(folder);
    const Outcome run = Invoke({"check", sound, folder, odd});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Out, sound + ": ok\n" + folder + ": cannot be checked\n" + odd +
                           ": breaks 1 rule\n  width and height are not both even (2 x 3)\n");
    EXPECT_EQ(run.Err, folder + ": is a folder\n");
}
