// The file-system side of the recovery copies: where they live, whole-file atomic writes, the lock
// a running program holds on its own entry, and listing, moving aside and removing entries.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace recovery_store {

// $XDG_STATE_HOME/velmora/recovery, or ~/.local/state/velmora/recovery when that is unset or
// empty; nothing when neither variable names a folder.
std::optional<std::filesystem::path> RecoveryFolder();

// Creates `folder` and its parents as needed and checks that a file can be made there. Gives back
// why not (the system's words) on failure, nothing on success.
std::optional<std::string> PrepareFolder(const std::filesystem::path& folder);

// Writes `bytes` to a temporary file beside `target`, flushes it to the disk, renames it over
// `target` and flushes the folder: a kill at any point leaves either the old file or the new one
// whole. Throws std::system_error when any step fails (the temporary is removed).
void WriteFileAtomically(const std::filesystem::path& target, const std::uint8_t* bytes,
                         std::size_t size);
inline void WriteFileAtomically(const std::filesystem::path& target, const std::string& text) {
    WriteFileAtomically(target, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

// A whole file's bytes; nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path);

// An exclusive lock on the file `lock` inside an entry, held until destroyed. Held by the running
// program on its own entry; the system drops it when the program dies, however it dies.
class EntryLock {
  public:
    // Nothing when another process holds the lock (or the file cannot be opened).
    static std::optional<EntryLock> TryLock(const std::filesystem::path& entry);
    EntryLock(EntryLock&& other) noexcept;
    EntryLock& operator=(EntryLock&& other) noexcept;
    EntryLock(const EntryLock&) = delete;
    EntryLock& operator=(const EntryLock&) = delete;
    ~EntryLock();

  private:
    explicit EntryLock(int descriptor) : descriptor_(descriptor) {}
    int descriptor_ = -1;
};

// The name of the lock file in every entry.
inline constexpr const char* kLockFileName = "lock";

// A new entry folder in `folder`, unique to this process, already locked. It is made under a
// hidden name and renamed into place only once locked, so no other program ever sees it unlocked.
// Throws std::system_error when it cannot be made.
std::pair<std::filesystem::path, EntryLock> CreateLockedEntry(const std::filesystem::path& folder);

// The entry folders in `folder`: its subfolders but hidden ones and `damaged`.
std::vector<std::filesystem::path> ListEntries(const std::filesystem::path& folder);

// Moves an entry into `damaged` beside it (made when missing), under a name not taken there.
void MoveAside(const std::filesystem::path& entry);

// Removes an entry and everything in it; an entry already gone is no failure. False when it
// could not be removed.
bool RemoveEntry(const std::filesystem::path& entry);

// Removes one file of an entry if it is there.
void RemoveFile(const std::filesystem::path& path);

// Nanoseconds since the epoch of the system clock: the age stamp entries are ordered by.
std::int64_t WallClockNanoseconds();

} // namespace recovery_store
