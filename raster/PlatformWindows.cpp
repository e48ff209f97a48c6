// The platform interface on Windows: wide-character paths, file handles and their replacement,
// volume serial numbers and file indexes, global memory status and job objects.
#include "raster/Platform.h"

#include "raster/Errors.h"

#include <windows.h>

#include <psapi.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <limits>
#include <sys/stat.h>
#include <utility>

namespace platform {

namespace {

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int length =
        ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                          length);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    if (wide.empty()) {
        return {};
    }
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(),
                          length, nullptr, nullptr);
    return utf8;
}

// The last Windows error as an error code of the system category.
std::error_code LastError() {
    return std::error_code(static_cast<int>(::GetLastError()), std::system_category());
}

// Closes the handle it holds when it goes.
class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { Close(); }
    Handle(Handle&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    Handle& operator=(Handle&& other) noexcept {
        Close();
        handle_ = std::exchange(other.handle_, INVALID_HANDLE_VALUE);
        return *this;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    bool Open() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool Close() {
        const HANDLE handle = std::exchange(handle_, INVALID_HANDLE_VALUE);
        return handle == INVALID_HANDLE_VALUE || ::CloseHandle(handle) != 0;
    }

  private:
    HANDLE handle_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

} // namespace

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(Wide(utf8));
}

// With forward slashes, which Windows takes as well: the tool then names files as it does on
// POSIX systems, whatever form its arguments had.
std::string Utf8Of(const std::filesystem::path& path) {
    return Narrow(path.generic_wstring());
}

std::vector<std::string> StartProgram(int, char**) {
    // The bytes the tool prints are UTF-8; the console shows them as such.
    ::SetConsoleOutputCP(CP_UTF8);
    // The narrow arguments went through the ANSI code page; the wide ones are the names as typed.
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(Narrow(words[i]));
    }
    ::LocalFree(words);
    return arguments;
}

ReadFile::ReadFile(const std::string& path) {
    const std::wstring wide = Wide(path);
    struct _stat64 info {};
    if (::_wstat64(wide.c_str(), &info) != 0) {
        error_ = std::error_code(errno, std::generic_category());
        return;
    }
    if (info.st_mode & _S_IFDIR) {
        error_ = std::make_error_code(std::errc::is_a_directory);
        return;
    }
    file_ = ::_wfopen(wide.c_str(), L"rb");
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

namespace {

// WriteFile takes at most 4 GiB at once; a gibibyte is a round share well below that.
constexpr std::size_t kWriteChunk = std::size_t{1} << 30;

bool WriteAll(HANDLE file, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        DWORD written = 0;
        if (!::WriteFile(file, data, static_cast<DWORD>(std::min(size, kWriteChunk)), &written,
                         nullptr)) {
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// The Windows error of the first of a series of steps that failed.
class FirstFailure {
  public:
    bool Noted(bool succeeded) {
        if (!succeeded && !cause_) {
            cause_ = LastError();
        }
        return succeeded;
    }
    const std::error_code& Cause() const { return cause_; }

  private:
    std::error_code cause_;
};

// A temporary beside `target`, named short so that a target of the longest name the folder
// allows still has one; made new (never an existing file's), open for writing.
Handle MakeTemporaryBeside(const std::filesystem::path& target, std::wstring& name) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path folder = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long long seed =
            (static_cast<unsigned long long>(::GetCurrentProcessId()) << 20) ^ ::GetTickCount64() ^
            (counter.fetch_add(1) * 0x9E3779B9ull);
        wchar_t tail[16];
        ::swprintf(tail, 16, L".velmora-%06llx", seed & 0xFFFFFF);
        name = (folder / tail).wstring();
        Handle file(::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.Open() || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    ::SetLastError(ERROR_FILE_EXISTS);
    return Handle(INVALID_HANDLE_VALUE);
}

bool FolderRefusal(DWORD error) {
    return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
           error == ERROR_UNABLE_TO_REMOVE_REPLACED || error == ERROR_WRITE_PROTECT;
}

enum class Replace { Done, FolderRefuses };

// Writes the bytes to a temporary beside the target, flushes them to the disk and puts the
// temporary in the target's place: over an existing file with ReplaceFileW, which keeps its
// attributes and security, else by a move that reaches the disk before it returns.
Replace ReplaceThroughTemporary(const std::uint8_t* data, std::size_t size,
                                const std::filesystem::path& target, bool exists,
                                const std::string& path, std::error_code& createError) {
    std::wstring temporary;
    Handle file = MakeTemporaryBeside(target, temporary);
    if (!file.Open()) {
        createError = LastError();
        return Replace::FolderRefuses;
    }
    FirstFailure failure;
    bool ok = failure.Noted(WriteAll(file.Get(), data, size));
    ok = ok && failure.Noted(::FlushFileBuffers(file.Get()) != 0);
    ok = failure.Noted(file.Close()) && ok;
    if (!ok) {
        ::DeleteFileW(temporary.c_str());
        throw EWriteError(path, failure.Cause());
    }
    const std::wstring name = target.wstring();
    const bool moved = exists
                           ? ::ReplaceFileW(name.c_str(), temporary.c_str(), nullptr,
                                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                           : ::MoveFileExW(temporary.c_str(), name.c_str(),
                                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!moved) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        if (FolderRefusal(error)) {
            createError = std::error_code(static_cast<int>(error), std::system_category());
            return Replace::FolderRefuses;
        }
        throw EWriteError(path, std::error_code(static_cast<int>(error), std::system_category()));
    }
    return Replace::Done;
}

// Rewrites the file where it stands in one pass; a failure midway leaves what was written.
void WriteInPlace(HANDLE file, const std::uint8_t* data, std::size_t size, bool regular,
                  const std::string& path) {
    FirstFailure failure;
    bool ok = !regular || failure.Noted(::SetEndOfFile(file) != 0);
    ok = ok && failure.Noted(WriteAll(file, data, size));
    ok = ok && (!regular || failure.Noted(::FlushFileBuffers(file) != 0));
    if (!ok) {
        throw EWriteError(path, failure.Cause());
    }
}

} // namespace

void SaveFile(const std::string& path, const Contents& contents) {
    if (path.empty()) {
        throw EFCreateError(path, ENOENT);
    }
    // Absolute: ReplaceFileW does not resolve names against the current folder everywhere.
    std::error_code resolveError;
    std::filesystem::path target = std::filesystem::absolute(PathOf(path), resolveError);
    if (resolveError) {
        target = PathOf(path);
    }
    const std::wstring name = target.wstring();
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        throw EFCreateError(path, EISDIR);
    }
    // A read-only file is never written, whoever runs the program (Wine run by root would
    // otherwise let the write through to the host's file).
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY)) {
        throw EFCreateError(path, std::error_code(ERROR_ACCESS_DENIED, std::system_category()));
    }
    // Opening the file for writing is the test of whether it may be written: the rights on it
    // and another process holding it without sharing refuse.
    Handle existing(exists ? ::CreateFileW(name.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                           : INVALID_HANDLE_VALUE);
    if (exists && !existing.Open()) {
        throw EFCreateError(path, LastError());
    }
    const bool regular = !exists || ::GetFileType(existing.Get()) == FILE_TYPE_DISK;
    const auto [data, size] = contents();

    std::error_code createError;
    if (regular) {
        // The replacement needs the file free of this process's own handle.
        existing.Close();
        if (ReplaceThroughTemporary(data, size, target, exists, path, createError) ==
            Replace::Done) {
            // ReplaceFileW keeps them on Windows itself; this also holds where it does not.
            if (exists && ::GetFileAttributesW(name.c_str()) != attributes) {
                ::SetFileAttributesW(name.c_str(), attributes);
            }
            return;
        }
        if (!exists) {
            throw EFCreateError(path, createError);
        }
        existing = Handle(::CreateFileW(name.c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!existing.Open()) {
            throw EFCreateError(path, LastError());
        }
    }
    WriteInPlace(existing.Get(), data, size, regular, path);
    if (!existing.Close()) {
        throw EWriteError(path, LastError());
    }
}

std::optional<std::string> FileIdentity(const std::string& path) {
    // Folders open only with backup semantics; no access is asked for, only the file's identity.
    const Handle file(::CreateFileW(Wide(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.Open() || !::GetFileInformationByHandle(file.Get(), &info)) {
        return std::nullopt;
    }
    const std::uint64_t index =
        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return "file " + std::to_string(info.dwVolumeSerialNumber) + ":" + std::to_string(index);
}

namespace {

constexpr std::uint64_t kUnknown = std::numeric_limits<std::uint64_t>::max();

std::uint64_t LeftUnder(std::uint64_t cap, std::uint64_t used) {
    return cap > used ? cap - used : 0;
}

} // namespace

std::uint64_t AvailableMemory() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    std::uint64_t available = kUnknown;
    if (::GlobalMemoryStatusEx(&status)) {
        available = std::min<std::uint64_t>(status.ullAvailPhys, status.ullAvailVirtual);
    }
    // A job object this process runs in may cap it, or all the job's processes together, below
    // what the system has; the job's use is at least this process's.
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION job{};
    if (::QueryInformationJobObject(nullptr, JobObjectExtendedLimitInformation, &job, sizeof job,
                                    nullptr)) {
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        ::GetProcessMemoryInfo(::GetCurrentProcess(),
                               reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                               sizeof counters);
        const std::uint64_t used = counters.PrivateUsage;
        const DWORD flags = job.BasicLimitInformation.LimitFlags;
        if (flags & JOB_OBJECT_LIMIT_PROCESS_MEMORY) {
            available = std::min(available, LeftUnder(job.ProcessMemoryLimit, used));
        }
        if (flags & JOB_OBJECT_LIMIT_JOB_MEMORY) {
            available = std::min(available, LeftUnder(job.JobMemoryLimit, used));
        }
    }
    return available;
}

} // namespace platform
