// The BMP writer: the exact bytes of 24-bit and 1-bit files, and the save that replaces a file
// without destroying it, through its links, keeping its mode and owner.
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/RowConversions.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

} // namespace

ByteStore EncodeBmp(const TBitmap& bitmap) {
    if (bitmap.Empty()) {
        return {};
    }
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const bool mono = bitmap.Monochrome();
    const std::uint32_t bits = mono ? 1 : 24;
    const std::uint32_t tableBytes = mono ? 8 : 0;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t pixelBytes = rowBytes * height;
    const std::uint32_t offBits = 14 + 40 + tableBytes;

    // Left unset and written byte for byte below, headers and padding included: clearing a large
    // file first would cost a pass over its memory of its own.
    ByteStore out(offBits + pixelBytes);
    std::uint8_t* p = out.data();
    std::memset(p, 0, offBits);
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<std::uint32_t>(out.size()));
    Put32(p + 10, offBits);
    Put32(p + 14, 40);
    Put32(p + 18, static_cast<std::uint32_t>(width));
    Put32(p + 22, static_cast<std::uint32_t>(height));
    Put16(p + 26, 1);
    Put16(p + 28, bits);
    Put32(p + 34, static_cast<std::uint32_t>(pixelBytes));
    Put32(p + 46, mono ? 2 : 0);
    if (mono) {
        // Entry 0 black (already zero), entry 1 white.
        p[58] = p[59] = p[60] = 255;
    }
    const RowConversions& convert = RowConverter();
    const std::uint64_t usedBytes = (static_cast<std::uint64_t>(width) * bits + 7) / 8;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = bitmap.Row(y);
        std::uint8_t* target = p + offBits + rowBytes * static_cast<std::uint64_t>(height - 1 - y);
        if (mono) {
            convert.ToIndex1(row, target, width);
        } else {
            convert.ToBgr(row, target, width);
        }
        std::memset(target + usedBytes, 0, rowBytes - usedBytes);
    }
    return out;
}

namespace {

// A write that passes the file-size limit must fail like a full disk, not end the program.
void IgnoreFileSizeSignal() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGXFSZ, SIG_IGN); });
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// The permissions the file gets: those of the file it replaces, or what a new file would get.
// The umask can only be read by setting it, so two writers on different threads must not
// interleave here: one would read the other's 0 and leave it set for the whole process.
mode_t TargetMode(const struct stat* existing) {
    if (existing) {
        return existing->st_mode & 07777;
    }
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
// (root may; others may keep a group they belong to); otherwise it stays this user's.
void KeepOwner(int fd, const struct stat& old) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
        [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
    }
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

enum class Replace { Done, FolderRefuses };

// Writes the bytes to a temporary file beside the target and renames it over the target.
// FolderRefuses when the folder allows no new file or no rename there (nothing is left behind);
// raises EWriteError (about `path`, as the caller named it) when writing fails, the target
// untouched. `createError` gets the errno of a temporary file that could not be made.
Replace ReplaceThroughTemporary(const ByteStore& bytes, const std::string& target,
                                const struct stat* existing, const std::string& path,
                                int& createError) {
    std::string temporary = target + ".XXXXXX";
    Descriptor file(::mkstemp(temporary.data()));
    if (!file.Open()) {
        createError = errno;
        return Replace::FolderRefuses;
    }
    // Owner first: changing it may clear the set-user and set-group bits the mode then restores.
    if (existing) {
        KeepOwner(file.Get(), *existing);
    }
    FirstFailure failure;
    bool ok = failure.Noted(::fchmod(file.Get(), TargetMode(existing)) == 0);
    ok = ok && failure.Noted(WriteAll(file.Get(), bytes.data(), bytes.size()));
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
void WriteInPlace(Descriptor& file, const ByteStore& bytes, bool regular, const std::string& path) {
    FirstFailure failure;
    bool ok = !regular || failure.Noted(::ftruncate(file.Get(), 0) == 0);
    ok = ok && failure.Noted(WriteAll(file.Get(), bytes.data(), bytes.size()));
    ok = ok && (!regular || failure.Noted(::fsync(file.Get()) == 0));
    ok = failure.Noted(file.Close()) && ok;
    if (!ok) {
        throw EWriteError(path, failure.Cause());
    }
}

} // namespace

void WriteBmpFile(const TBitmap& bitmap, const std::string& path) {
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
    const ByteStore bytes = EncodeBmp(bitmap);

    // Devices and pipes are written to, never replaced by a file.
    const bool regular = !exists || S_ISREG(info.st_mode);
    int createError = 0;
    if (regular && ReplaceThroughTemporary(bytes, target, exists ? &info : nullptr, path,
                                           createError) == Replace::Done) {
        return;
    }
    if (!existing.Open()) {
        throw EFCreateError(path, createError);
    }
    WriteInPlace(existing, bytes, regular, path);
}
