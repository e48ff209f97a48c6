// velmora-batch against bad files and failing writes: the exact message, exit 1, and every file
// that was there before left byte for byte as it was.
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "tests/batch/BatchRun.h"
#include "tests/support/Files.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;
using namespace batch_run;
using namespace test_support;

namespace {

// A picture big enough that every file made from it passes the 512-byte write limit, the
// decoration on blue with black in it, so that it is also a sheet with a black mask pixel.
TBitmap Picture() {
    TBitmap picture(200, 120, RGB(0, 0, 255));
    for (int y = 10; y < 110; ++y) {
        for (int x = 20; x < 180; ++x) {
            picture.SetPixel(x, y, (x / 4 + y / 4) % 2 ? clBlack : RGB(x, y, 40));
        }
    }
    return picture;
}

TBitmap Sheet() {
    const TBitmap picture = Picture();
    TBitmap sheet;
    ComposeFishSheet(picture, RGB(0, 0, 255), TBitmap(200, 120), TBitmap(200, 120), 1, sheet);
    return sheet;
}

// Bad inputs, each made fresh at `path`.
enum class Made { File, Unreadable, Folder, Missing };
struct BadInput {
    const char* name;
    Made kind;             // Unreadable: readable by its owner only, and the run not its owner
    std::string (*make)(); // the file's bytes
    const char* message;   // after the input's name and ": "
};

std::string NoBytes() {
    return {};
}

const BadInput kBadInputs[] = {
    {"not a BMP", Made::File,
     [] { return std::string("GIF89a\x01\0\x01\0 not a bitmap at all", 30); }, "not a BMP picture"},
    {"truncated inside the file header", Made::File,
     [] { return BmpBytesOf(Picture()).substr(0, 9); }, "file ends inside the file header"},
    {"truncated inside the colour table", Made::File,
     [] {
         TBitmap mono;
         mono.SetMonochrome(true);
         mono.SetSize(64, 64);
         return BmpBytesOf(mono).substr(0, 58);
     },
     "file ends inside the colour table"},
    {"header asking for 60000 x 60000", Made::File,
     [] {
         std::string bytes = BmpBytesOf(TBitmap(1, 1));
         for (int offset : {18, 22}) {
             bytes[offset] = static_cast<char>(60000 & 0xFF);
             bytes[offset + 1] = static_cast<char>(60000 >> 8);
         }
         return bytes;
     },
     "picture size out of range"},
    {"100 bytes announcing 16000 x 16000", Made::File, AnnouncedButAbsentBmp,
     "holds almost none of the pixels its header announces"},
    {"without read permission", Made::Unreadable, [] { return BmpBytesOf(Sheet()); },
     "cannot open: Permission denied"},
    {"a folder", Made::Folder, NoBytes, "is a folder"},
    {"missing", Made::Missing, NoBytes, "cannot open: No such file or directory"},
};

// Runs as an ordinary user, so that permission bits hold when the tests run as root.
std::string OrdinaryUserPrefix() {
    return geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}
// Any file grows to 512 bytes at most; SIGXFSZ ignored so that the write fails instead.
constexpr const char* kSizeLimited = "sh -c 'ulimit -f 1; trap \"\" XFSZ; exec \"$0\" \"$@\"' ";

// The runs' folder is open to the ordinary user the runs are made as.
class BatchFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory(Path("out"));
        fs::permissions(folder_.Root(), fs::perms::all, fs::perm_options::add);
        fs::permissions(Path("out"), fs::perms::all, fs::perm_options::add);
    }

    std::string Path(const std::string& name) const { return folder_.Path(name); }
    std::map<std::string, std::string> Snapshot() const { return FolderSnapshot(folder_.Root()); }
    Outcome Invoke(const std::string& prefix, const std::vector<std::string>& arguments) const {
        return RunBatch(arguments, prefix);
    }

    ScratchFolder folder_;
};

// Each command with one input and its outputs in out/, each output already there with other
// bytes, so that a failure that destroyed one shows.
struct Command {
    const char* name;
    std::vector<std::string> (*arguments)(const std::string& input, const std::string& out);
    std::vector<std::string> outputs; // in out/, in the order they are written
    TBitmap (*goodInput)();
};

const Command kCommands[] = {
    {"fish",
     [](const std::string& in, const std::string& out) {
         return std::vector<std::string>{"fish",         in,   "-o", out + "/sheet.bmp",
                                         "--background", "0,0"};
     },
     {"sheet.bmp"},
     Picture},
    {"rotate",
     [](const std::string& in, const std::string& out) {
         return std::vector<std::string>{"rotate", in, "--out-dir", out};
     },
     {"inu.bmp", "ind.bmp"},
     Sheet},
    {"accessory",
     [](const std::string& in, const std::string& out) {
         return std::vector<std::string>{"accessory",    in,   "-o", out + "/rock.bmp",
                                         "--background", "0,0"};
     },
     {"rockm.bmp", "rock.bmp"},
     Picture},
    {"preview",
     [](const std::string& in, const std::string& out) {
         return std::vector<std::string>{"preview", in, "-o", out + "/frames.bmp"};
     },
     {"frames.bmp"},
     Sheet},
    {"convert",
     [](const std::string& in, const std::string& out) {
         return std::vector<std::string>{"convert", in, "-o", out + "/colour.bmp"};
     },
     {"colour.bmp"},
     Picture},
};

} // namespace

TEST_F(BatchFaults, EveryCommandRefusesEveryBadInputWithItsMessageAndTouchesNoFile) {
    const std::string input = Path("in.bmp");
    for (const Command& command : kCommands) {
        for (const BadInput& bad : kBadInputs) {
            fs::remove_all(input);
            if (bad.kind == Made::Folder) {
                fs::create_directory(input);
            } else if (bad.kind != Made::Missing) {
                WriteText(input, bad.make());
                fs::permissions(input, bad.kind == Made::Unreadable
                                           ? fs::perms::owner_write
                                           : fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::others_read);
            }
            for (const std::string& output : command.outputs) {
                WriteText(Path("out/" + output), std::string("earlier ") + output);
            }
            const auto before = Snapshot();
            const Outcome run = Invoke(OrdinaryUserPrefix(), command.arguments(input, Path("out")));
            EXPECT_EQ(run.Status, 1) << command.name << ", " << bad.name;
            EXPECT_EQ(run.Err, input + ": " + bad.message + "\n")
                << command.name << ", " << bad.name;
            EXPECT_EQ(Snapshot(), before) << command.name << ", " << bad.name;
        }
    }
}

TEST_F(BatchFaults, EveryCommandKeepsTheFilesItFailsToReplace) {
    const fs::path out = Path("out");
    enum class Fault { ReadOnlyFolder, OutputIsAFolder, FailsMidway };
    const struct {
        Fault fault;
        const char* name;
    } faults[] = {
        {Fault::ReadOnlyFolder, "read-only folder"},
        {Fault::OutputIsAFolder, "output is a folder"},
        {Fault::FailsMidway, "write fails midway"},
    };
    for (const Command& command : kCommands) {
        const std::string input = Path("in.bmp");
        WriteBmpFile(command.goodInput(), input);
        for (const auto& fault : faults) {
            fs::permissions(out, fs::perms::all, fs::perm_options::add);
            fs::remove_all(out);
            fs::create_directory(out);
            fs::permissions(out, fs::perms::all, fs::perm_options::add);
            const std::string first = (out / command.outputs.front()).string();
            for (const std::string& output : command.outputs) {
                WriteText(out / output, std::string("earlier ") + output);
            }
            std::string prefix = OrdinaryUserPrefix();
            std::string message = "cannot write: Permission denied";
            if (fault.fault == Fault::ReadOnlyFolder) {
                // Writable files would be written in place; these are not.
                for (const std::string& output : command.outputs) {
                    fs::permissions(out / output, fs::perms::owner_read | fs::perms::group_read |
                                                      fs::perms::others_read);
                }
                fs::permissions(out, fs::perms::owner_read | fs::perms::owner_exec |
                                         fs::perms::group_read | fs::perms::group_exec |
                                         fs::perms::others_read | fs::perms::others_exec);
            } else if (fault.fault == Fault::OutputIsAFolder) {
                fs::remove(first);
                fs::create_directory(first);
                WriteText(fs::path(first) / "kept.txt", "inside");
                message = "is a folder";
            } else {
                prefix = kSizeLimited;
                message = "cannot write: File too large";
            }
            const auto before = Snapshot();
            const Outcome run = Invoke(prefix, command.arguments(input, out.string()));
            EXPECT_EQ(run.Status, 1) << command.name << ", " << fault.name;
            EXPECT_EQ(run.Err, first + ": " + message + "\n") << command.name << ", " << fault.name;
            EXPECT_EQ(Snapshot(), before)
                << command.name << ", " << fault.name << ": a file changed or a temporary stayed";
        }
    }
}

namespace {

// The peak resident memory of one velmora-batch run, in KiB.
long PeakResidentKiB(const std::vector<std::string>& arguments) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(VELMORA_BATCH)};
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        const int quiet = ::open("/dev/null", O_WRONLY);
        ::dup2(quiet, 1);
        ::dup2(quiet, 2);
        ::execv(VELMORA_BATCH, argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(child, &status, 0, &usage);
    return usage.ru_maxrss;
}

} // namespace

TEST_F(BatchFaults, EveryCommandRefusesAPictureTooLargeForTheMemoryBeforeMakingIt) {
    const std::string input = Path("in.bmp");
    WriteText(input, PlainGiantBmp());
    // The data limit leaves 256 MiB above what the program starts with; each command needs
    // gigabytes for this picture.
    const std::string limited = "sh -c 'ulimit -d " +
                                std::to_string((DataInUse() + kLimitHeadroom) / 1024) +
                                "; exec \"$0\" \"$@\"' ";
    std::vector<std::pair<std::string, std::vector<std::string>>> runs;
    for (const Command& command : kCommands) {
        for (const std::string& output : command.outputs) {
            WriteText(Path("out/" + output), std::string("earlier ") + output);
        }
        runs.emplace_back(command.name, command.arguments(input, Path("out")));
    }
    runs.emplace_back("check", std::vector<std::string>{"check", input});
    const std::string start = input + ": too large for the memory available (needs about ";
    for (const auto& [name, arguments] : runs) {
        const auto before = Snapshot();
        const Outcome run = Invoke(limited, arguments);
        EXPECT_EQ(run.Status, 1) << name;
        ASSERT_EQ(run.Err.rfind(start, 0), 0u) << name << ": " << run.Err;
        std::istringstream figures(run.Err.substr(start.size()));
        std::uint64_t needed = 0;
        std::uint64_t available = 0;
        std::string unit;
        std::string rest;
        figures >> needed >> unit >> available;
        std::getline(figures, rest);
        EXPECT_EQ(unit, "MiB,") << name;
        EXPECT_EQ(rest, " MiB available)") << name;
        EXPECT_GT(needed, available) << name;
        EXPECT_LE(available, 256u) << name;
        EXPECT_EQ(Snapshot(), before) << name;
    }
}

TEST_F(BatchFaults, AHundredByteFileAnnouncingAGiantPictureIsRefusedInLittleMemory) {
    const std::string input = Path("in.bmp");
    WriteText(input, AnnouncedButAbsentBmp());
    ASSERT_EQ(fs::file_size(input), 100u);
    const long peak = PeakResidentKiB({"fish", input, "-o", Path("out/sheet.bmp")});
    EXPECT_GT(peak, 0);
    EXPECT_LT(peak, 50 << 10) << "KiB at the peak";
    EXPECT_FALSE(fs::exists(Path("out/sheet.bmp")));
}
