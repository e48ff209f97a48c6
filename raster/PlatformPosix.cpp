// The platform interface on Linux and other POSIX systems: descriptors, modes and owners,
// symbolic links, /proc's memory figures and resource limits.
#include "raster/Platform.h"

#include "raster/Errors.h"
#include "raster/PosixWrites.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(utf8);
}

std::string Utf8Of(const std::filesystem::path& path) {
    return path.string();
}

std::vector<std::string> StartProgram(int argc, char** argv) {
    // A write that passes the file-size limit must fail like a full disk, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

ReadFile::ReadFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error_ = std::error_code(errno, std::generic_category());
        return;
    }
    if (S_ISDIR(info.st_mode)) {
        error_ = std::make_error_code(std::errc::is_a_directory);
        return;
    }
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        error_ = std::error_code(errno, std::generic_category());
    }
    size_ = static_cast<std::uint64_t>(info.st_size);
}

ReadFile::~ReadFile() {
    if (file_) {
        std::fclose(file_);
    }
}

bool WriteAll(int descriptor, const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(descriptor, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

namespace {

// Saving is also done outside velmora-batch (the windows, the tests): the signal is ignored
// there the first time a file is saved.
void IgnoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

// The permissions a new file gets.
// The umask can only be read by setting it, so two writers on different threads must not
// interleave here: one would read the other's 0 and leave it set for the whole process.
mode_t NewFileMode() {
    static std::mutex umaskGuard;
    const std::lock_guard<std::mutex> lock(umaskGuard);
    mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The system gives up on a path after this many links; so does the writer.
constexpr int kMaxLinkHops = 40;

// The file a save lands in: symbolic links followed to the end of their chain, so that the links
// stay and the file they lead to gets the picture (a dangling link leads to the file to create).
// Empty when the chain does not end.
std::string FollowLinks(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) {
            return current.string();
        }
        const fs::path target = fs::read_symlink(current, error);
        if (error) {
            return {};
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return {};
}

// Closes the descriptor it holds when it goes.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Open() const { return fd_ >= 0; }
    // Closes now, for writers that must hear of a failure reported only at closing.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

// The replacement belongs to the old file's owner and group where this user may give it them
// (root may; others may keep a group they belong to); otherwise it stays this user's. Returns
// the mode it may then have: set-user and set-group bits would hand this user's rights to
// whoever runs the file, so they go with an owner that could not be kept, and the set-group bit
// with a group that could not (as a copy keeping its attributes does).
mode_t KeepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
    mode_t mode = old.st_mode & 07777;
    struct stat now {};
    if (::fstat(fd, &now) != 0 || now.st_uid != old.st_uid) {
        mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
    } else if (now.st_gid != old.st_gid) {
        mode &= ~static_cast<mode_t>(S_ISGID);
    }
    return mode;
}

// The errno of the first of a series of steps that failed.
class FirstFailure {
  public:
    bool Noted(bool succeeded) {
        if (!succeeded && cause_ == 0) {
            cause_ = errno;
        }
        return succeeded;
    }
    int Cause() const { return cause_; }

  private:
    int cause_ = 0;
};

// A temporary beside `target`, named short so that a target of the longest name the folder
// allows still has one: a template for mkstemp.
std::string TemporaryBeside(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
           ".velmora-XXXXXX";
}

enum class Replace { Done, FolderRefuses };

// Writes the bytes to a temporary file beside the target and renames it over the target.
// FolderRefuses when the folder allows no new file or no rename there (nothing is left behind);
// raises EWriteError (about `path`, as the caller named it) when writing fails, the target
// untouched. `createError` gets the errno of a temporary file that could not be made.
Replace ReplaceThroughTemporary(const std::uint8_t* data, std::size_t size,
                                const std::string& target, const struct stat* existing,
                                const std::string& path, int& createError) {
    std::string temporary = TemporaryBeside(target);
    Descriptor file(::mkstemp(temporary.data()));
    if (!file.Open()) {
        createError = errno;
        return Replace::FolderRefuses;
    }
    // Owner first, mode after the bytes: a change of owner and a write by an ordinary user both
    // clear the set-user and set-group bits the mode then restores.
    const mode_t mode = existing ? KeepOwner(file.Get(), *existing) : NewFileMode();
    FirstFailure failure;
    bool ok = failure.Noted(WriteAll(file.Get(), data, size));
    ok = ok && failure.Noted(::fchmod(file.Get(), mode) == 0);
    ok = ok && failure.Noted(::fsync(file.Get()) == 0);
    ok = failure.Noted(file.Close()) && ok;
    if (!ok) {
        ::unlink(temporary.c_str());
        throw EWriteError(path, failure.Cause());
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        // A sticky folder lets only a file's owner replace it; a file mounted over cannot be.
        if (error == EPERM || error == EACCES || error == EBUSY) {
            createError = error;
            return Replace::FolderRefuses;
        }
        throw EWriteError(path, error);
    }
    return Replace::Done;
}

// Rewrites an open file where it stands in one pass, as a plain write does: a failure midway
// leaves what was written. Only regular files are emptied first; a device takes the bytes as
// they come.
void WriteInPlace(Descriptor& file, const std::uint8_t* data, std::size_t size, bool regular,
                  const std::string& path) {
    FirstFailure failure;
    bool ok = !regular || failure.Noted(::ftruncate(file.Get(), 0) == 0);
    ok = ok && failure.Noted(WriteAll(file.Get(), data, size));
    ok = ok && (!regular || failure.Noted(::fsync(file.Get()) == 0));
    ok = failure.Noted(file.Close()) && ok;
    if (!ok) {
        throw EWriteError(path, failure.Cause());
    }
}

} // namespace

void SaveFile(const std::string& path, const Contents& contents) {
    IgnoreFileSizeSignal();
    if (path.empty()) {
        throw EFCreateError(path, ENOENT);
    }
    const std::string target = FollowLinks(path);
    if (target.empty()) {
        throw EFCreateError(path, ELOOP);
    }
    struct stat info {};
    const bool exists = ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        throw EFCreateError(path, EISDIR);
    }
    // Opening the file for writing is the test of whether this user may write it, and gives
    // the descriptor to write it in place should the folder refuse a replacement.
    Descriptor existing(
        exists ? ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC) : -1);
    if (exists && !existing.Open()) {
        throw EFCreateError(path, errno);
    }
    const auto [data, size] = contents();

    // Devices and pipes are written to, never replaced by a file.
    const bool regular = !exists || S_ISREG(info.st_mode);
    int createError = 0;
    if (regular && ReplaceThroughTemporary(data, size, target, exists ? &info : nullptr, path,
                                           createError) == Replace::Done) {
        return;
    }
    if (!existing.Open()) {
        throw EFCreateError(path, createError);
    }
    WriteInPlace(existing, data, size, regular, path);
}

std::optional<std::string> FileIdentity(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return "inode " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

namespace {

constexpr std::uint64_t kUnknown = std::numeric_limits<std::uint64_t>::max();

// A "Name:   1234 kB" line of a /proc file, in bytes; nothing where the system has no such file.
std::optional<std::uint64_t> KibiField(const char* file, const std::string& name) {
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, name.size(), name) == 0) {
            return std::stoull(line.substr(name.size())) * 1024;
        }
    }
    return std::nullopt;
}

// What a limit leaves above the `used` the kernel holds it against.
std::uint64_t LeftUnder(int resource, const char* usedField) {
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) {
        return kUnknown;
    }
    const std::uint64_t used = KibiField("/proc/self/status", usedField).value_or(0);
    const std::uint64_t cap = limit.rlim_cur;
    return cap > used ? cap - used : 0;
}

} // namespace

std::uint64_t AvailableMemory() {
    const std::uint64_t system = KibiField("/proc/meminfo", "MemAvailable:").value_or(kUnknown);
    return std::min({system, LeftUnder(RLIMIT_AS, "VmSize:"), LeftUnder(RLIMIT_DATA, "VmData:")});
}

} // namespace platform
