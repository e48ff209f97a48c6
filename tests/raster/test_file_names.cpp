// Files as the system names them: names beyond ASCII, the longest name a folder allows, a file
// system that may or may not tell capitals apart, one file under two paths, and sizes above 2 GiB.
#include "raster/Bmp.h"
#include "raster/Platform.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;
using namespace test_support;

namespace {

// The names in `folder`, in UTF-8.
std::set<std::string> NamesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(platform::Utf8Of(entry.path().filename()));
    }
    return names;
}

// A picture whose pixels tell it apart from one of another size.
TBitmap Marked(int width) {
    TBitmap picture(width, 3, clWhite);
    picture.SetPixel(width - 1, 2, RGB(10, 20, width));
    return picture;
}

} // namespace

TEST(FileNames, ArePassedThroughAsWrittenUtf8AndLongNamesGetATemporaryToo) {
    const ScratchFolder folder;
    const std::string root = platform::Utf8Of(folder.Root());
    const struct {
        const char* what;
        std::string name;
    } cases[] = {
        {"Japanese", "魚.bmp"},
        {"an umlaut", "fisch-ä.bmp"},
        {"half-width katakana and a space", "ｻｶﾅ のシート.bmp"},
        {"249 bytes, the shortest name a 7-character suffix overflows",
         std::string(245, 'n') + ".bmp"},
        {"255 bytes, the longest a folder allows", std::string(251, 'l') + ".bmp"},
    };
    int width = 1;
    for (const auto& c : cases) {
        const std::string path = root + "/" + c.name;
        ++width;
        // New, then replaced: both ways through a temporary beside the file.
        for (int save = 0; save < 2; ++save) {
            ASSERT_NO_THROW(WriteBmpFile(Marked(width + save), path)) << c.what;
        }
        EXPECT_TRUE(NamesIn(folder.Root()).count(c.name)) << c.what;
        const TBitmap read = ReadBmpFile(path);
        EXPECT_EQ(read.Width(), width + 1) << c.what;
        EXPECT_EQ(read.Pixel(width, 2), RGB(10, 20, width + 1)) << c.what;
    }
    EXPECT_EQ(NamesIn(folder.Root()).size(), std::size(cases)) << "no temporary left behind";
}

TEST(FileNames, TwoSpellingsOfOneNameAreOneFileExactlyWhereTheFileSystemIgnoresCase) {
    const ScratchFolder folder;
    const bool ignoresCase = IgnoresCase(folder.Root());
    WriteBmpFile(Marked(2), folder.Path("sheet.bmp"));
    WriteBmpFile(Marked(5), folder.Path("SHEET.BMP"));

    EXPECT_EQ(NamesIn(folder.Root()).size(), ignoresCase ? 1u : 2u);
    EXPECT_EQ(ReadBmpFile(folder.Path("sheet.bmp")).Width(), ignoresCase ? 5 : 2);
    EXPECT_EQ(platform::FileIdentity(folder.Path("sheet.bmp")) ==
                  platform::FileIdentity(folder.Path("SHEET.BMP")),
              ignoresCase);
}

TEST(FileIdentity, IsSharedByEveryPathToOneFileAndByNoOtherFile) {
    const ScratchFolder folder;
    fs::create_directory(folder.Root() / "sub");
    WriteBmpFile(Marked(2), folder.Path("a.bmp"));
    WriteBmpFile(Marked(2), folder.Path("b.bmp"));
    const auto a = platform::FileIdentity(folder.Path("a.bmp"));
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(platform::FileIdentity(folder.Path("sub/../a.bmp")), a);
    EXPECT_EQ(platform::FileIdentity(folder.Path("./a.bmp")), a);
    EXPECT_NE(platform::FileIdentity(folder.Path("b.bmp")), a) << "same bytes, another file";
    EXPECT_FALSE(platform::FileIdentity(folder.Path("missing.bmp")).has_value());
    EXPECT_TRUE(platform::FileIdentity(folder.Path("sub")).has_value()) << "folders have one too";
}

TEST(FileSizes, AboveTwoAndFourGibibytesAreReportedInFull) {
    const ScratchFolder folder;
    const std::string path = folder.Path("huge.bmp");
    WriteBmpFile(TBitmap(4, 4), path);
    for (const std::uint64_t size : {(std::uint64_t{2} << 30) + 3, (std::uint64_t{5} << 30) + 1}) {
        // Sparse: the file system stores the headers only.
        fs::resize_file(platform::PathOf(path), size);
        const auto peeked = PeekBmpFile(path);
        ASSERT_TRUE(peeked.has_value()) << size;
        EXPECT_EQ(peeked->FileBytes, size);
        EXPECT_EQ(peeked->Width, 4);
    }
}
