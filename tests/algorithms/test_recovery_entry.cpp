// The recovery copy without windows: entries written and read back whole, generations replaced
// without a moment where none is whole, the sorting at start, spoilt entries moved aside, and the
// background writer, on and off.
#include "fish/RecoveryCopy.h"
#include "tests/support/Files.h"
#include "tests/support/RecoveryFolders.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>

namespace {

using namespace test_support;
namespace fs = std::filesystem;

RecoverySnapshot MakeSnapshot(int width, int height, bool saved, const std::string& name,
                              unsigned seed) {
    std::mt19937 random(seed);
    RecoverySnapshot snapshot;
    snapshot.FileName = name;
    snapshot.Picture = RandomColours(random, width, height);
    snapshot.Background = RGB(0, 0, 200);
    snapshot.Zoom = width < 150 && height < 110 ? 2 : 1;
    const std::vector<TColor> greys = {RGB(255, 255, 255), RGB(200, 200, 200), RGB(90, 90, 90)};
    snapshot.Shadow1 = RandomPicture(random, snapshot.Zoom * width, snapshot.Zoom * height, greys);
    snapshot.Shadow2 = RandomPicture(random, snapshot.Zoom * width, snapshot.Zoom * height, greys);
    snapshot.Saved = saved;
    return snapshot;
}

void ExpectSame(const RecoverySnapshot& actual, const RecoverySnapshot& expected) {
    EXPECT_EQ(actual.FileName, expected.FileName);
    EXPECT_EQ(actual.Background, expected.Background);
    EXPECT_EQ(actual.Zoom, expected.Zoom);
    EXPECT_EQ(actual.Saved, expected.Saved);
    EXPECT_EQ(FirstDifference(actual.Picture, expected.Picture), "");
    EXPECT_EQ(FirstDifference(actual.Shadow1, expected.Shadow1), "");
    EXPECT_EQ(FirstDifference(actual.Shadow2, expected.Shadow2), "");
}

RecoverySnapshot ReadBack(const fs::path& entry) {
    std::string why;
    std::optional<RecoveredEntry> read = ReadEntry(entry, why);
    EXPECT_TRUE(read) << why;
    return read ? read->Snapshot : RecoverySnapshot{};
}

TEST(RecoveryEntry, ReadsBackWhatWasWritten) {
    const RecoverySnapshot cases[] = {
        MakeSnapshot(160, 120, false, "/pictures/a fish.bmp", 1),
        MakeSnapshot(40, 30, true, "/odd\\name\nwith a break.bmp", 2),
    };
    for (const RecoverySnapshot& snapshot : cases) {
        ScratchFolder folder;
        EntryWriter writer(folder.Root());
        writer.Write(snapshot);
        ASSERT_TRUE(writer.Entry());
        ExpectSame(ReadBack(*writer.Entry()), snapshot);
    }
}

// Each write names its files in a new text; a kill before the rename of that text leaves the
// previous generation, and unchanged surfaces keep their files.
TEST(RecoveryEntry, ANewGenerationReplacesTheOldOneWhole) {
    ScratchFolder folder;
    EntryWriter writer(folder.Root());
    RecoverySnapshot first = MakeSnapshot(60, 50, false, "/f.bmp", 3);
    writer.Write(first);
    const fs::path entry = *writer.Entry();
    const std::string picture = EntryField(entry, "picture");
    const std::string shadow1 = EntryField(entry, "shadow1");

    RecoverySnapshot second = first;
    second.Shadow1.Canvas().SetPixel(3, 4, RGB(10, 10, 10));
    writer.Write(second);
    EXPECT_EQ(EntryField(entry, "picture"), picture);
    EXPECT_NE(EntryField(entry, "shadow1"), shadow1);
    EXPECT_FALSE(fs::exists(entry / shadow1.substr(0, shadow1.find(' '))));

    // A write killed halfway: a newer surface file and a temporary text that were never renamed.
    WriteText(entry / "shadow2-99.bmp", BmpBytesOf(second.Shadow2).substr(0, 100));
    WriteText(entry / "entry.txt.a1b2c3", "velmora-recovery 1\nwritten");
    ExpectSame(ReadBack(entry), second);
}

TEST(RecoveryEntry, SpoiltEntriesAreMovedAsideAndNotOffered) {
    for (Spoil how : {Spoil::TextCutShort, Spoil::ShadowCutShort, Spoil::PictureMissing,
                      Spoil::SizesDisagree}) {
        ScratchFolder folder;
        {
            EntryWriter writer(folder.Root());
            writer.Write(MakeSnapshot(60, 50, false, "/f.bmp", 4));
            SpoilEntry(*writer.Entry(), how);
        }
        EXPECT_FALSE(CollectLeftWork(folder.Root())) << static_cast<int>(how);
        EXPECT_TRUE(EntriesOf(folder.Root()).empty()) << static_cast<int>(how);
        EXPECT_EQ(DamagedOf(folder.Root()).size(), 1u) << static_cast<int>(how);
    }
}

// Dead programs' saved entries go; a running program's entry and the older unsaved work stay;
// the newest unsaved work is offered.
TEST(RecoveryEntry, TheStartOffersTheNewestUnsavedWorkOfADeadProgram) {
    ScratchFolder folder;
    const RecoverySnapshot older = MakeSnapshot(60, 50, false, "/older.bmp", 5);
    const RecoverySnapshot newer = MakeSnapshot(200, 120, false, "/newer.bmp", 6);
    fs::path olderEntry, savedEntry;
    const auto writeAndDie = [&](const RecoverySnapshot& snapshot) {
        EntryWriter writer(folder.Root());
        writer.Write(snapshot);
        return *writer.Entry();
    };
    olderEntry = writeAndDie(older);
    savedEntry = writeAndDie(MakeSnapshot(60, 50, true, "/saved.bmp", 7));
    writeAndDie(newer);
    EntryWriter running(folder.Root());
    running.Write(MakeSnapshot(60, 50, false, "/running.bmp", 8));

    std::optional<LeftWork> work = CollectLeftWork(folder.Root());
    ASSERT_TRUE(work);
    ExpectSame(work->Snapshot, newer);
    EXPECT_FALSE(fs::exists(savedEntry));
    EXPECT_TRUE(fs::exists(olderEntry));
    EXPECT_TRUE(fs::exists(*running.Entry()));
    // The offered entry stays locked by whoever collected it.
    EXPECT_FALSE(recovery_store::EntryLock::TryLock(work->Entry));
}

TEST(RecoveryCopy, WritesTheLastSnapshotInTheBackgroundAndRemovesIt) {
    ScratchFolder folder;
    RecoveryCopy copy(folder.Root());
    ASSERT_TRUE(copy.On());
    RecoverySnapshot last;
    for (unsigned seed = 10; seed < 14; ++seed) {
        last = MakeSnapshot(80, 60, false, "/f" + std::to_string(seed) + ".bmp", seed);
        copy.Submit(last);
    }
    copy.Flush();
    ASSERT_EQ(EntriesOf(folder.Root()).size(), 1u);
    ExpectSame(ReadBack(EntriesOf(folder.Root()).front()), last);
    copy.Remove();
    copy.Flush();
    EXPECT_TRUE(EntriesOf(folder.Root()).empty());
}

TEST(RecoveryCopy, AFolderThatCannotBeMadeTurnsRecoveryOffAndSaysSoOnce) {
    ScratchFolder folder;
    WriteText(folder.Root() / "file", "not a folder");
    ::testing::internal::CaptureStderr();
    RecoveryCopy copy(folder.Root() / "file" / "recovery");
    copy.Submit(MakeSnapshot(20, 20, false, "/f.bmp", 20));
    copy.Flush();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(copy.On());
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("recovery copies are off"), std::string::npos) << said;
}

} // namespace
