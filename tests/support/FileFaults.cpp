// The file-system faults: the file-system user of this thread, the file-size limit, and a folder
// an ordinary user may read but not write.
#include "tests/support/FileFaults.h"

#include <sys/fsuid.h>

#include <csignal>
#include <fstream>

namespace test_support {

namespace fs = std::filesystem;

AsOrdinaryUser::AsOrdinaryUser() {
    setfsgid(kNobody);
    setfsuid(kNobody);
}

AsOrdinaryUser::~AsOrdinaryUser() {
    setfsuid(0);
    setfsgid(0);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, savedSignal_);
}

FaultScope::FaultScope(Fault fault, fs::path readOnly) : readOnly_(std::move(readOnly)) {
    if (fault == Fault::OrdinaryUser) {
        if (!readOnly_.empty()) {
            const fs::perms writable =
                fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
            for (const auto& entry : fs::directory_iterator(readOnly_)) {
                if (entry.is_regular_file()) {
                    files_.emplace_back(entry.path(), entry.status().permissions());
                    fs::permissions(entry.path(), writable, fs::perm_options::remove);
                }
            }
            fs::permissions(readOnly_, writable, fs::perm_options::remove);
        }
        user_.emplace();
    } else {
        readOnly_.clear();
        if (fault == Fault::SizeLimit) {
            limit_.emplace(512);
        }
    }
}

FaultScope::~FaultScope() {
    user_.reset();
    if (!readOnly_.empty()) {
        fs::permissions(readOnly_, fs::perms::owner_write, fs::perm_options::add);
    }
    for (const auto& [path, perms] : files_) {
        fs::permissions(path, perms);
    }
}

bool PrepareFaultFolder(const fs::path& folder) {
    fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                fs::perms::others_read | fs::perms::others_exec);
    const fs::path probe = folder / "probe";
    std::ofstream(probe) << "x";
    fs::permissions(probe, fs::perms::owner_write);
    bool hold = false;
    {
        AsOrdinaryUser user;
        hold = !std::ifstream(probe).is_open();
    }
    fs::remove(probe);
    return hold;
}

} // namespace test_support
