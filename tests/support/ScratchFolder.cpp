// The scratch folder: a random name made only where no folder has it yet, so its name is new
// even among runs started at once.
#include "tests/support/ScratchFolder.h"

#include "raster/Platform.h"

#include <random>
#include <stdexcept>
#include <system_error>

namespace test_support {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> letter(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = "velmora-test-";
        for (int i = 0; i < 8; ++i) {
            name += kLetters[letter(random)];
        }
        std::error_code error;
        // create_directory is false, without an error, where the name is taken.
        if (fs::create_directory(fs::temp_directory_path() / name, error)) {
            root_ = fs::temp_directory_path() / name;
            // The owner's alone, as a private temporary folder is.
            fs::permissions(root_, fs::perms::owner_all, error);
            return;
        }
        if (error) {
            break;
        }
    }
    throw std::runtime_error("cannot make a scratch folder in " +
                             fs::temp_directory_path().string());
}

ScratchFolder::~ScratchFolder() {
    // A test may leave a folder without write permission; as an ordinary user its entries could
    // not be removed then. Links are not followed: they may point anywhere.
    std::error_code error;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, error);
    for (fs::recursive_directory_iterator it(root_, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (fs::is_directory(it->symlink_status(ignored))) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(root_, error);
}

std::string ScratchFolder::Path(const std::string& name) const {
    return platform::Utf8Of(root_ / platform::PathOf(name));
}

} // namespace test_support
