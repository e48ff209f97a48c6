// What only POSIX systems have, around saving and memory: symbolic links, modes and owners,
// folders that refuse a replacement, pipes, and the file-size and address-space limits of a
// forked child.
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/MemoryGuard.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/FileFaults.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

namespace fs = std::filesystem;
using namespace test_support;
using Bytes = ByteStore;

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;

namespace {

// The bytes a save of a width x width picture writes.
std::string SavedBytes(int width) {
    return BmpBytesOf(TBitmap(width, width));
}

struct stat StatOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info;
}

enum class User { Same, Ordinary };

// Runs `action` in a child process and gives back what it returned. An ordinary user is uid and
// gid 65534 when the tests run as root, else the user they run as. `fileLimit` caps the size of
// every file the child writes (0: no cap), so that a long write fails midway.
std::string InChild(User user, const std::function<std::string()>& action, rlim_t fileLimit = 0) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "(no pipe)";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (user == User::Ordinary && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
            ::_exit(2);
        }
        if (fileLimit != 0) {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{fileLimit, fileLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        const std::string result = action();
        const bool sent = ::write(channel[1], result.data(), result.size()) ==
                          static_cast<ssize_t>(result.size());
        ::_exit(sent ? 0 : 3);
    }
    ::close(channel[1]);
    std::string result;
    char buffer[256];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : "(child failed)";
}

class BmpSave : public ::testing::Test {
  protected:
    // Open to the ordinary user the children run as.
    void SetUp() override { fs::permissions(dir_, fs::perms::all); }
    fs::path Path(const std::string& name) const { return dir_ / name; }
    std::size_t Entries(const fs::path& folder) const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator{}));
    }

    const ScratchFolder folder_;
    const fs::path& dir_ = folder_.Root();
};

} // namespace

TEST_F(BmpSave, LinksStayLinksAndTheFileAtTheEndOfTheirChainGetsThePicture) {
    fs::create_directory(Path("sub"));
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // link, what it says, in order
        std::string saveAt;
        std::string target;
        bool targetExists;
    } cases[] = {
        {"one link", {{"l.bmp", "a.bmp"}}, "l.bmp", "a.bmp", true},
        {"a chain of three",
         {{"l3.bmp", "l2.bmp"}, {"l2.bmp", "sub/l1.bmp"}, {"sub/l1.bmp", "../a.bmp"}},
         "l3.bmp",
         "a.bmp",
         true},
        {"an absolute link",
         {{"abs.bmp", Path("sub/b.bmp").string()}},
         "abs.bmp",
         "sub/b.bmp",
         true},
        {"a dangling link", {{"d.bmp", "sub/new.bmp"}}, "d.bmp", "sub/new.bmp", false},
        {"a chain ending dangling",
         {{"d2.bmp", "d1.bmp"}, {"d1.bmp", "new2.bmp"}},
         "d2.bmp",
         "new2.bmp",
         false},
    };
    for (const auto& c : cases) {
        fs::remove(Path(c.target));
        if (c.targetExists) {
            WriteBmpFile(TBitmap(1, 1), Path(c.target));
        }
        for (const auto& [link, says] : c.links) {
            fs::remove(Path(link));
            fs::create_symlink(says, Path(link));
        }
        const std::size_t before = Entries(dir_) + Entries(Path("sub"));

        WriteBmpFile(TBitmap(3, 3), Path(c.saveAt));

        for (const auto& [link, says] : c.links) {
            EXPECT_TRUE(fs::is_symlink(Path(link))) << c.name << ": " << link;
            EXPECT_EQ(fs::read_symlink(Path(link)).string(), says) << c.name << ": " << link;
        }
        EXPECT_EQ(FileText(Path(c.target)), SavedBytes(3)) << c.name;
        EXPECT_EQ(Entries(dir_) + Entries(Path("sub")), before + (c.targetExists ? 0 : 1))
            << c.name << ": the new file only, no temporary";
    }

    // A write through links that fails midway keeps the file they lead to as it was.
    const std::string kept = FileText(Path("a.bmp"));
    EXPECT_EQ(InChild(
                  User::Same,
                  [&] { return ErrorOf([&] { WriteBmpFile(TBitmap(200, 200), Path("l3.bmp")); }); },
                  4096),
              msg::kStreamWrite);
    EXPECT_EQ(FileText(Path("a.bmp")), kept);
    EXPECT_TRUE(fs::is_symlink(Path("l3.bmp")));

    // Links that lead round in a circle lead nowhere: nothing can be created.
    fs::create_symlink("loop2.bmp", Path("loop1.bmp"));
    fs::create_symlink("loop1.bmp", Path("loop2.bmp"));
    EXPECT_EQ(ErrorOf([&] { WriteBmpFile(TBitmap(1, 1), Path("loop1.bmp")); }),
              msg::Format(msg::kFileCreate, Path("loop1.bmp").string()));
    EXPECT_TRUE(fs::is_symlink(Path("loop1.bmp")) && fs::is_symlink(Path("loop2.bmp")));
}

TEST_F(BmpSave, ReplacingKeepsTheModeOwnerAndGroupOfSomeoneElsesFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user needs root";
    }
    const fs::path path = Path("theirs.bmp");
    WriteBmpFile(TBitmap(1, 1), path);
    ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    // The set-group bit is one a change of owner clears: it must come back with the mode.
    ASSERT_EQ(::chmod(path.c_str(), 02640), 0);

    WriteBmpFile(TBitmap(2, 2), path);

    const struct stat after = StatOf(path);
    EXPECT_EQ(after.st_uid, kNobody);
    EXPECT_EQ(after.st_gid, kNobody);
    EXPECT_EQ(after.st_mode & 07777, 02640u);
    EXPECT_EQ(FileText(path), SavedBytes(2));
    EXPECT_EQ(Entries(dir_), 1u);
}

TEST_F(BmpSave, AReplacementDropsTheSetUserAndSetGroupBitsOfAnOwnerItCouldNotKeep) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a file of another user's that an ordinary user may write needs root";
    }
    // The ordinary user replaces a file anyone may write; the copy is that user's where the old
    // owner or group cannot be given back, and must not run with that user's rights.
    const struct {
        const char* name;
        uid_t owner;
        gid_t group;
        mode_t modeAfter;
    } cases[] = {
        {"root's file: owner and group lost", 0, 0, 0777},
        {"the user's own file of root's group: group lost", kNobody, 0, 04777},
        {"the user's own file and group: both kept", kNobody, kNobody, 06777},
    };
    for (const auto& c : cases) {
        const fs::path path = Path("tool.bmp");
        WriteBmpFile(TBitmap(1, 1), path);
        ASSERT_EQ(::chown(path.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(path.c_str(), 06777), 0);

        EXPECT_EQ(InChild(User::Ordinary,
                          [&] { return ErrorOf([&] { WriteBmpFile(TBitmap(2, 2), path); }); }),
                  "(no error)")
            << c.name;

        const struct stat after = StatOf(path);
        EXPECT_EQ(after.st_uid, kNobody) << c.name;
        EXPECT_EQ(after.st_mode & 07777, c.modeAfter) << c.name;
        EXPECT_EQ(FileText(path), SavedBytes(2)) << c.name;
        fs::remove(path);
    }
}

TEST_F(BmpSave, AWritableFileInALockedFolderIsWrittenInPlace) {
    // The folder refuses new files to the ordinary user, whose file it is.
    const fs::path folder = Path("locked");
    fs::create_directory(folder);
    const fs::path path = folder / "sheet.bmp";
    WriteBmpFile(TBitmap(1, 1), path);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
    }
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                fs::perms::group_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    const struct stat before = StatOf(path);

    EXPECT_EQ(InChild(User::Ordinary,
                      [&] { return ErrorOf([&] { WriteBmpFile(TBitmap(5, 5), path); }); }),
              "(no error)");
    EXPECT_EQ(FileText(path), SavedBytes(5));
    const struct stat after = StatOf(path);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the same file, written where it stands";
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(Entries(folder), 1u);

    // Cut midway, the in-place write says so; what was written stays, as with a plain write.
    EXPECT_EQ(InChild(
                  User::Ordinary,
                  [&] { return ErrorOf([&] { WriteBmpFile(TBitmap(200, 200), path); }); }, 4096),
              msg::kStreamWrite);
    EXPECT_EQ(FileText(path).substr(0, 2), "BM");
    EXPECT_EQ(Entries(folder), 1u);

    // A file that is not writable either cannot be saved, and stays as it was.
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
    WriteBmpFile(TBitmap(5, 5), path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(InChild(User::Ordinary,
                      [&] { return ErrorOf([&] { WriteBmpFile(TBitmap(7, 7), path); }); }),
              msg::Format(msg::kFileCreate, path.string()));
    EXPECT_EQ(FileText(path), SavedBytes(5));
    EXPECT_EQ(Entries(folder), 1u);
}

TEST_F(BmpSave, AFileInAStickyFolderThatOnlyItsOwnerMayReplaceIsWrittenInPlace) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a file of another user's in a shared folder needs root to make";
    }
    // A shared folder: anyone may add files, only a file's owner may replace it; the file
    // itself is writable by all.
    const fs::path folder = Path("shared");
    fs::create_directory(folder);
    ASSERT_EQ(::chmod(folder.c_str(), 01777), 0);
    const fs::path path = folder / "sheet.bmp";
    WriteBmpFile(TBitmap(1, 1), path);
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);

    EXPECT_EQ(InChild(User::Ordinary,
                      [&] { return ErrorOf([&] { WriteBmpFile(TBitmap(4, 4), path); }); }),
              "(no error)");
    EXPECT_EQ(FileText(path), SavedBytes(4));
    EXPECT_EQ(StatOf(path).st_uid, 0u);
    EXPECT_EQ(Entries(folder), 1u) << "the temporary file is gone";
}

TEST_F(BmpSave, APipeIsNeverReplacedByAFile) {
    const fs::path path = Path("pipe.bmp");
    ASSERT_EQ(::mkfifo(path.c_str(), 0666), 0);
    // Nobody reads the pipe: it cannot take the picture.
    EXPECT_EQ(ErrorOf([&] { WriteBmpFile(TBitmap(1, 1), path.string()); }),
              msg::Format(msg::kFileCreate, path.string()));
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(Entries(dir_), 1u);
}

TEST(BmpAtomicWrite, WriteThatFailsMidwayLeavesTheOldFileByteForByte) {
    ScratchFolder dir;
    std::string path = dir.Path("sheet.bmp");
    TBitmap small(4, 4);
    small.SetPixel(1, 1, RGB(9, 8, 7));
    WriteBmpFile(small, path);
    const Bytes before = FileBytes(path);

    // In a child process whose file-size limit is far below the new file's size.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        struct rlimit limit {
            4096, 4096
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        std::string message = ErrorOf([&] { WriteBmpFile(TBitmap(200, 200), path); });
        ::_exit(message == "ｽﾄﾘｰﾑへの書き込みｴﾗｰ" ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write error was raised with its message";
    EXPECT_EQ(FirstDifferingByte(FileBytes(path), before), "");
    EXPECT_EQ(FolderSnapshot(dir.Root()).size(), 1u) << "no temporary file is left behind";
}

TEST(BmpAtomicWrite, ReplacingKeepsTheOldFilesPermissions) {
    ScratchFolder dir;
    std::string path = dir.Path("p.bmp");
    WriteBmpFile(TBitmap(1, 1), path);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteBmpFile(TBitmap(2, 2), path);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::file_size(path), 54u + 8u * 2u);
}

TEST(MemoryGuard, AvailableMemoryStaysWithinTheAddressSpaceLimit) {
    // The address-space limit, in a child: what the process maps already counts against it.
    const pid_t child = ::fork();
    if (child == 0) {
        std::uint64_t mapped = 0;
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmSize:", 0) == 0) {
                mapped = std::stoull(line.substr(7)) * 1024;
            }
        }
        const rlimit limit{mapped + 48 * kMiB, RLIM_INFINITY};
        ::setrlimit(RLIMIT_AS, &limit);
        const std::uint64_t available = AvailableMemory();
        ::_exit(available <= 48 * kMiB && available > 16 * kMiB ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
