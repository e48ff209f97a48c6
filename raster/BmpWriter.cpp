// The BMP writer: the exact bytes of 24-bit and 1-bit files, and the replace that never
// destroys the file it replaces.
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/RowConversions.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
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

} // namespace

void WriteBmpFile(const TBitmap& bitmap, const std::string& path) {
    IgnoreFileSizeSignal();
    struct stat info {};
    const bool exists = ::stat(path.c_str(), &info) == 0;
    if (path.empty()) {
        throw EFCreateError(path, ENOENT);
    }
    if (exists && S_ISDIR(info.st_mode)) {
        throw EFCreateError(path, EISDIR);
    }
    if (exists && ::access(path.c_str(), W_OK) != 0) {
        throw EFCreateError(path, errno);
    }
    const ByteStore bytes = EncodeBmp(bitmap);

    std::string temporary = path + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        throw EFCreateError(path, errno);
    }
    int cause = 0; // the errno of the first step that failed
    auto noted = [&cause](bool succeeded) {
        if (!succeeded && cause == 0) {
            cause = errno;
        }
        return succeeded;
    };
    bool ok = noted(::fchmod(fd, TargetMode(exists ? &info : nullptr)) == 0);
    ok = ok && noted(WriteAll(fd, bytes.data(), bytes.size()));
    ok = ok && noted(::fsync(fd) == 0);
    ok = noted(::close(fd) == 0) && ok;
    ok = ok && noted(::rename(temporary.c_str(), path.c_str()) == 0);
    if (!ok) {
        ::unlink(temporary.c_str());
        throw EWriteError(path, cause);
    }
}
