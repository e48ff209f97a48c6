// The scratch folder: made by mkdtemp, so its name is new even among runs started at once.
#include "tests/support/ScratchFolder.h"

#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace test_support {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "velmora-test-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        throw std::runtime_error("cannot make a scratch folder from " + pattern);
    }
    root_ = name.data();
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
    return (root_ / name).string();
}

} // namespace test_support
