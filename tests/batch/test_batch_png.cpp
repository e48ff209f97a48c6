// velmora-batch on PNG pictures: transparency as the background, every command reading a PNG as
// its BMP, BMP outputs named from PNG inputs, a damaged PNG failing alone.
#include "BatchRun.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "raster/TransparentKey.h"
#include "tests/support/Files.h"
#include "tests/support/PngPictures.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace fs = std::filesystem;
using namespace batch_run;
using namespace test_support;

namespace {

class BatchPng : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) const { return folder_.Path(name); }

    // The picture as a BMP file and as a PNG file whose pixels of `transparent` are clear.
    void WriteBoth(const std::string& base, const TBitmap& picture, TColor transparent) const {
        WriteBmpFile(picture, Path(base + ".bmp"));
        WriteText(Path(base + ".png"), TransparentPng(picture, transparent));
    }

    // Every file of one output folder, by its name in the folder.
    std::map<std::string, std::string> Outputs(const std::string& folder) const {
        std::map<std::string, std::string> files;
        for (const auto& [path, bytes] : FolderSnapshot(Path(folder))) {
            files[fs::path(path).filename().string()] = bytes;
        }
        return files;
    }

    ScratchFolder folder_;
};

} // namespace

// A PNG gives the same BMP files, by the same names, as its BMP: a fish on transparent pixels
// as that fish on magenta with its background picked, and opaque pictures as they are.
TEST_F(BatchPng, EveryCommandReadsAPngAsItsBmpAndTransparencyAsTheBackground) {
    TBitmap sheet;
    ComposeFishSheet(FishPicture(60, 40, clWhite), clWhite, TBitmap(120, 80, clWhite),
                     TBitmap(120, 80, clWhite), 2, sheet);
    WriteBoth("sheet", sheet, kTransparentKey); // no pixel is magenta: all opaque
    WriteBoth("pic", FishPicture(40, 30, RGB(9, 9, 9)), kTransparentKey);
    WriteBoth("clear", FishPicture(40, 30, kTransparentKey), kTransparentKey);
    const struct {
        const char* name;
        std::vector<std::string> bmp; // the input's base name second, then options
        std::vector<std::string> png;
    } cases[] = {
        {"fish on transparent pixels", {"fish", "clear", "--background", "0,0"}, {"fish", "clear"}},
        {"accessory on transparent pixels",
         {"accessory", "clear", "--background", "0,0"},
         {"accessory", "clear"}},
        {"fish", {"fish", "pic", "--background", "0,0"}, {"fish", "pic", "--background", "0,0"}},
        {"accessory",
         {"accessory", "pic", "--background", "0,0"},
         {"accessory", "pic", "--background", "0,0"}},
        {"rotate", {"rotate", "sheet", "--angle", "17"}, {"rotate", "sheet", "--angle", "17"}},
        {"convert", {"convert", "sheet"}, {"convert", "sheet"}},
    };
    for (const auto& c : cases) {
        std::map<std::string, std::string> outputs[2];
        for (int i = 0; i < 2; ++i) {
            const std::string folder = std::string(c.name) + (i ? "-png" : "-bmp");
            std::vector<std::string> arguments = i ? c.png : c.bmp;
            arguments[1] = Path(arguments[1] + (i ? ".png" : ".bmp"));
            arguments.insert(arguments.end(), {"--out-dir", Path(folder)});
            const Outcome run = RunBatch(arguments);
            EXPECT_EQ(run.Status, 0) << c.name << run.Err;
            EXPECT_EQ(run.Err, "") << c.name << ": the background is on the border";
            outputs[i] = Outputs(folder);
        }
        EXPECT_GE(outputs[0].size(), 1u) << c.name;
        EXPECT_EQ(outputs[1], outputs[0]) << c.name;
    }
    for (const char* input : {"sheet.bmp", "sheet.png"}) {
        const Outcome run =
            RunBatch({"preview", Path(input), "-o", Path(std::string(input) + "-frames.bmp")});
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(RunBatch({"check", Path(input)}).Out, Path(input) + ": ok\n");
    }
    EXPECT_EQ(FileDifference(Path("sheet.png-frames.bmp"), Path("sheet.bmp-frames.bmp")), "");
}

TEST_F(BatchPng, ADamagedPngBesideAGoodOneFailsAloneAndTheGoodOneIsWritten) {
    WriteBoth("good", FishPicture(40, 30, kTransparentKey), kTransparentKey);
    WriteText(Path("bad.png"), WithBrokenZlib(FileText(Path("good.png"))));
    const Outcome run = RunBatch(
        {"fish", Path("bad.png"), Path("good.png"), "--out-dir", Path("out"), "--jobs", "1"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Lines(run.Err),
              (std::vector<std::string>{
                  "[1/2] " + Path("bad.png") + ": damaged PNG: zlib error in the picture data",
                  "[2/2] " + Path("good.png") + " -> " + Path("out/good.bmp"),
                  "velmora-batch: 1 of 2 files failed",
              }));
    EXPECT_TRUE(fs::exists(Path("out/good.bmp")));
    EXPECT_FALSE(fs::exists(Path("out/bad.bmp")));
}
