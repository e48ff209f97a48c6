// The file-system faults the fault tests make around a command: an ordinary user's permissions
// while the tests run as root, a file-size limit that makes a write fail midway, and the
// bookkeeping of cases that need permission bits where none can be made to hold.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace test_support {

inline constexpr uid_t kNobody = 65534;

// File-system checks made as an ordinary user while it lives, so that permission bits hold
// although the tests run as root. Affects this thread only, which is the one doing the work.
class AsOrdinaryUser {
  public:
    AsOrdinaryUser();
    ~AsOrdinaryUser();
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
};

// No file may grow beyond `bytes` while it lives: a longer write fails (the signal that would end
// the process is ignored) as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*savedSignal_)(int) = nullptr;
};

enum class Fault { None, OrdinaryUser, SizeLimit };

// The fault in force while a command runs. An ordinary user also finds `readOnly` (if given)
// and the files in it without write permission, which stops their owner too when the tests do
// not run as root (a writable file in a read-only folder would be written in place).
class FaultScope {
  public:
    explicit FaultScope(Fault fault, std::filesystem::path readOnly = {});
    ~FaultScope();
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
bool PrepareFaultFolder(const std::filesystem::path& folder);

// The cases of one fault test over `folder`: a case needing permission bits is left out where
// they do not hold, and the test reports itself skipped with kNoPermissions at its end, after its
// other cases ran.
class FaultCases {
  public:
    explicit FaultCases(const std::filesystem::path& folder)
        : permissionsHold_(PrepareFaultFolder(folder)) {}
    // Whether a case of this fault cannot be made to fail here (and so is left out).
    bool CannotFail(Fault fault) {
        const bool cannot = fault == Fault::OrdinaryUser && !permissionsHold_;
        skipped_ = skipped_ || cannot;
        return cannot;
    }
    bool Skipped() const { return skipped_; }
    static constexpr const char* kNoPermissions =
        "cases of a missing permission left out: running as root and setfsuid cannot drop it, "
        "so no permission bit stops a read or a write";

  private:
    bool permissionsHold_;
    bool skipped_ = false;
};

} // namespace test_support
