// velmora-batch against bad files and failing writes: the exact message, exit 1, and every file
// that was there before left byte for byte as it was.
#include "BatchRun.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;
using namespace batch_run;

namespace {

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every file under a folder with its bytes (folders as a marker), to tell what a run changed.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files[entry.path().string()] =
            entry.is_directory() ? std::string("<folder>") : ReadText(entry.path());
    }
    return files;
}

// A picture big enough that every file made from it passes the 512-byte write limit, the
// decoration on blue with black in it, so that it is also a sheet with a black mask pixel.
TBitmap Picture() {
    TBitmap picture(200, 120);
    picture.Canvas().Brush.Color = RGB(0, 0, 255);
    picture.Canvas().FillRect(Rect(0, 0, 200, 120));
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

std::string Bytes(const TBitmap& bitmap) {
    const ByteStore bytes = EncodeBmp(bitmap);
    return {bytes.begin(), bytes.end()};
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
    {"truncated inside the file header", Made::File, [] { return Bytes(Picture()).substr(0, 9); },
     "file ends inside the file header"},
    {"truncated inside the colour table", Made::File,
     [] {
         TBitmap mono;
         mono.SetMonochrome(true);
         mono.SetSize(64, 64);
         return Bytes(mono).substr(0, 58);
     },
     "file ends inside the colour table"},
    {"header asking for 60000 x 60000", Made::File,
     [] {
         std::string bytes = Bytes(TBitmap(1, 1));
         for (int offset : {18, 22}) {
             bytes[offset] = static_cast<char>(60000 & 0xFF);
             bytes[offset + 1] = static_cast<char>(60000 >> 8);
         }
         return bytes;
     },
     "picture size out of range"},
    {"without read permission", Made::Unreadable, [] { return Bytes(Sheet()); },
     "cannot open: Permission denied"},
    {"a folder", Made::Folder, NoBytes, "is a folder"},
    {"missing", Made::Missing, NoBytes, "cannot open: No such file or directory"},
};

// Runs as an ordinary user, so that permission bits hold when the tests run as root.
std::string AsOrdinaryUser() {
    return geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
}
// Any file grows to 512 bytes at most; SIGXFSZ ignored so that the write fails instead.
constexpr const char* kSizeLimited = "sh -c 'ulimit -f 1; trap \"\" XFSZ; exec \"$0\" \"$@\"' ";

class BatchFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               (std::string("velmora-faults-") +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "out");
        fs::permissions(dir_, fs::perms::all, fs::perm_options::add);
        fs::permissions(dir_ / "out", fs::perms::all, fs::perm_options::add);
    }
    void TearDown() override {
        fs::permissions(dir_ / "out", fs::perms::all, fs::perm_options::add);
        fs::remove_all(dir_);
    }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    Outcome Invoke(const std::string& prefix, const std::vector<std::string>& arguments) const {
        return RunBatch(arguments, prefix);
    }

    fs::path dir_;
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
                WriteText(dir_ / "out" / output, std::string("earlier ") + output);
            }
            const auto before = Snapshot(dir_);
            const Outcome run = Invoke(AsOrdinaryUser(), command.arguments(input, Path("out")));
            EXPECT_EQ(run.Status, 1) << command.name << ", " << bad.name;
            EXPECT_EQ(run.Err, input + ": " + bad.message + "\n")
                << command.name << ", " << bad.name;
            EXPECT_EQ(Snapshot(dir_), before) << command.name << ", " << bad.name;
        }
    }
}

TEST_F(BatchFaults, EveryCommandKeepsTheFilesItFailsToReplace) {
    const fs::path out = dir_ / "out";
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
            std::string prefix = AsOrdinaryUser();
            std::string message = "cannot write: Permission denied";
            if (fault.fault == Fault::ReadOnlyFolder) {
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
            const auto before = Snapshot(dir_);
            const Outcome run = Invoke(prefix, command.arguments(input, out.string()));
            EXPECT_EQ(run.Status, 1) << command.name << ", " << fault.name;
            EXPECT_EQ(run.Err, first + ": " + message + "\n") << command.name << ", " << fault.name;
            EXPECT_EQ(Snapshot(dir_), before)
                << command.name << ", " << fault.name << ": a file changed or a temporary stayed";
        }
    }
}
