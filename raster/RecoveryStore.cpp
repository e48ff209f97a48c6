// The recovery copies on disk: POSIX files, renames, flushes and advisory locks.
#include "raster/RecoveryStore.h"

#include "raster/PosixWrites.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace recovery_store {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

// A rename is only lasting once the folder holding it is flushed too.
void FlushFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) {
        Fail(errno, folder.string());
    }
    const bool ok = ::fsync(descriptor) == 0;
    const int error = errno;
    ::close(descriptor);
    if (!ok) {
        Fail(error, folder.string());
    }
}

} // namespace

std::optional<fs::path> RecoveryFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state) {
        return fs::path(state) / "velmora" / "recovery";
    }
    const char* home = std::getenv("HOME");
    if (home && *home) {
        return fs::path(home) / ".local" / "state" / "velmora" / "recovery";
    }
    return std::nullopt;
}

std::optional<std::string> PrepareFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        return folder.string() + ": " + error.message();
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        return folder.string() + ": " + std::generic_category().message(errno);
    }
    return std::nullopt;
}

void WriteFileAtomically(const fs::path& target, const std::uint8_t* bytes, std::size_t size) {
    std::string temporary = target.string() + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0) {
        Fail(errno, temporary);
    }
    bool ok = platform::WriteAll(descriptor, bytes, size) && ::fsync(descriptor) == 0;
    int error = errno;
    if (::close(descriptor) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        Fail(error, target.string());
    }
    FlushFolder(target.parent_path());
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[1 << 16];
    for (;;) {
        const ssize_t got = ::read(descriptor, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ::close(descriptor);
            return std::nullopt;
        }
        if (got == 0) {
            break;
        }
        bytes.insert(bytes.end(), block, block + got);
    }
    ::close(descriptor);
    return bytes;
}

std::optional<EntryLock> EntryLock::TryLock(const fs::path& entry) {
    const fs::path file = entry / kLockFileName;
    const int descriptor = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        return std::nullopt;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        ::close(descriptor);
        return std::nullopt;
    }
    return EntryLock(descriptor);
}

EntryLock::EntryLock(EntryLock&& other) noexcept : descriptor_(other.descriptor_) {
    other.descriptor_ = -1;
}

EntryLock& EntryLock::operator=(EntryLock&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
        descriptor_ = other.descriptor_;
        other.descriptor_ = -1;
    }
    return *this;
}

EntryLock::~EntryLock() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

std::pair<fs::path, EntryLock> CreateLockedEntry(const fs::path& folder) {
    const std::string name =
        std::to_string(::getpid()) + "-" + std::to_string(WallClockNanoseconds());
    const fs::path hidden = folder / ("." + name + ".new");
    if (::mkdir(hidden.c_str(), 0700) != 0) {
        Fail(errno, hidden.string());
    }
    std::optional<EntryLock> lock = EntryLock::TryLock(hidden);
    if (!lock) {
        const int error = errno;
        std::error_code ignored;
        fs::remove_all(hidden, ignored);
        Fail(error, hidden.string());
    }
    const fs::path entry = folder / name;
    if (::rename(hidden.c_str(), entry.c_str()) != 0) {
        const int error = errno;
        std::error_code ignored;
        fs::remove_all(hidden, ignored);
        Fail(error, entry.string());
    }
    return {entry, std::move(*lock)};
}

std::vector<fs::path> ListEntries(const fs::path& folder) {
    std::vector<fs::path> entries;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.' || name == "damaged") {
            continue;
        }
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            entries.push_back(it->path());
        }
    }
    return entries;
}

void MoveAside(const fs::path& entry) {
    const fs::path damaged = entry.parent_path() / "damaged";
    std::error_code error;
    fs::create_directories(damaged, error);
    fs::path target = damaged / entry.filename();
    for (int n = 1; fs::exists(target, error); ++n) {
        target = damaged / (entry.filename().string() + "." + std::to_string(n));
    }
    if (::rename(entry.c_str(), target.c_str()) != 0) {
        Fail(errno, entry.string());
    }
}

bool RemoveEntry(const fs::path& entry) {
    std::error_code error;
    fs::remove_all(entry, error);
    return !error;
}

void RemoveFile(const fs::path& path) {
    ::unlink(path.c_str());
}

std::int64_t WallClockNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace recovery_store
