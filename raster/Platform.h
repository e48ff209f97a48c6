// The calls that differ between operating systems, in one place: paths, reading and saving whole
// files, a file's identity, memory available, the command line. PlatformPosix.cpp and
// PlatformWindows.cpp hold the two implementations; the build compiles the one of its system.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace platform {

// Paths are UTF-8 inside the program; these convert at the boundary to the system's own form
// (the bytes as they are on POSIX, wide characters on Windows).
std::filesystem::path PathOf(const std::string& utf8);
std::string Utf8Of(const std::filesystem::path& path);

// The program's arguments after its name, in UTF-8, with the process made ready for the tool's
// work: a write past the file-size limit fails instead of ending the program (POSIX), and the
// console shows UTF-8 (Windows).
std::vector<std::string> StartProgram(int argc, char** argv);

// A file opened for binary reading with its size (64 bits on both systems); closed when it goes.
class ReadFile {
  public:
    // Opens `path`; on failure Open() is false and Error() tells why (is_a_directory for a
    // folder).
    explicit ReadFile(const std::string& path);
    ~ReadFile();
    ReadFile(const ReadFile&) = delete;
    ReadFile& operator=(const ReadFile&) = delete;

    bool Open() const { return file_ != nullptr; }
    std::FILE* Get() const { return file_; }
    std::uint64_t Size() const { return size_; }
    const std::error_code& Error() const { return error_; }

  private:
    std::FILE* file_ = nullptr;
    std::uint64_t size_ = 0;
    std::error_code error_;
};

// The bytes of a file to save, made once the file is known to be writable.
using Contents = std::function<std::pair<const std::uint8_t*, std::size_t>()>;

// Saves the bytes `contents` gives as the whole file `path`, replacing any file of that name
// without destroying it: written to a short-named temporary beside it, flushed to the disk and
// moved over it, so that a failure midway leaves the old file whole. Symbolic links stay and the
// file at the end of their chain gets the bytes. The replacement keeps what the system keeps of a
// file: its mode and owner (POSIX; set-user and set-group bits only where the owner could be kept),
// its attributes and security (Windows). Where the folder refuses a new file but the file itself is
// writable, it is written where it stands; devices and pipes are only ever written to.
// Raises EFCreateError when the file cannot be created or opened for writing, EWriteError when
// writing fails.
void SaveFile(const std::string& path, const Contents& contents);

// What two paths share exactly when they name one existing file, links and all (device and
// inode; volume serial number and file index on Windows); nothing when the file does not exist.
std::optional<std::string> FileIdentity(const std::string& path);

// The bytes this process can still take: the memory the system has available, and no more than
// the process's own limits leave above what it already uses (address-space and data-size limits
// on POSIX, a job object's limits on Windows). UINT64_MAX when nothing is known.
std::uint64_t AvailableMemory();

} // namespace platform
