// The file-system faults the fault tests make around a command: an ordinary user's permissions
// while the tests run as root, a file-size limit that makes a write fail midway.
#pragma once

#include <sys/fsuid.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>

namespace gui_test {

inline constexpr uid_t kNobody = 65534;

// File-system checks made as an ordinary user while it lives, so that permission bits hold
// although the tests run as root. Affects this thread only, which is the one doing the work.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser() {
        setfsgid(kNobody);
        setfsuid(kNobody);
    }
    ~AsOrdinaryUser() {
        setfsuid(0);
        setfsgid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
};

// No file may grow beyond `bytes` while it lives: a longer write fails (the signal that would end
// the process is ignored) as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        savedSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedSignal_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*savedSignal_)(int) = SIG_DFL;
};

enum class Fault { None, OrdinaryUser, SizeLimit };

// The fault in force while a command runs. An ordinary user also finds `readOnly` (if given)
// and the files in it without write permission, which stops their owner too when the tests do
// not run as root (a writable file in a read-only folder would be written in place).
class FaultScope {
  public:
    explicit FaultScope(Fault fault, std::filesystem::path readOnly = {})
        : readOnly_(std::move(readOnly)) {
        namespace fs = std::filesystem;
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
    ~FaultScope() {
        user_.reset();
        if (!readOnly_.empty()) {
            std::filesystem::permissions(readOnly_, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::add);
        }
        for (const auto& [path, perms] : files_) {
            std::filesystem::permissions(path, perms);
        }
    }
    FaultScope(const FaultScope&) = delete;
    FaultScope& operator=(const FaultScope&) = delete;

  private:
    std::filesystem::path readOnly_;
    std::vector<std::pair<std::filesystem::path, std::filesystem::perms>> files_;
    std::optional<AsOrdinaryUser> user_;
    std::optional<FileSizeLimit> limit_;
};

// Opens `folder` to an ordinary user's reading but not writing, and says whether permission
// bits stop that user here (they may not, where the file-system user cannot be dropped).
inline bool PrepareFaultFolder(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
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

} // namespace gui_test
