// The recovery copy of the fish workspace: what is kept, the entry's text file, writing an entry
// as a complete new generation, reading one back with every check, and sorting out the entries
// left by programs that are no longer running.
#pragma once

#include "raster/RecoveryStore.h"
#include "raster/TBitmap.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// Everything needed to open the workspace again as it was. The surfaces share their pixels with
// the windows' until either side draws, so taking a snapshot copies no pixels.
struct RecoverySnapshot {
    std::string FileName; // the picture's file name, the workspace windows' caption
    TBitmap Picture;      // the fish picture as loaded
    TColor Background = clBlack;
    int Zoom = 1;
    TBitmap Shadow1;
    TBitmap Shadow2;
    bool Saved = false;
};

// The entry's text file: names, sizes and flags, ending in a line "end" so that a cut-short
// file is told from a whole one.
inline constexpr const char* kEntryTextName = "entry.txt";

struct EntryFile {
    std::string Name;
    std::size_t Bytes = 0;
};
struct EntryFiles {
    EntryFile Picture;
    EntryFile Shadow1;
    EntryFile Shadow2;
};
std::string EntryText(const RecoverySnapshot& snapshot, const EntryFiles& files,
                      std::int64_t written);

// An entry read back whole: every file there, every size as the text says, the shadows the zoom
// factor times the picture, the zoom the one the picture's size gives.
struct RecoveredEntry {
    RecoverySnapshot Snapshot;
    std::int64_t Written = 0;
};
// Nothing, with `why` set, when any part is missing, cut short or inconsistent. With `textOnly`
// the surfaces are not read (enough to tell whether the entry was saved).
std::optional<RecoveredEntry> ReadEntry(const std::filesystem::path& entry, std::string& why,
                                        bool textOnly = false);

// This program's own entry: made at its first write, locked while the program runs, each write a
// new generation of files named by a new text file, so a kill at any moment leaves the previous
// generation whole. Surfaces unchanged since the last write keep their files.
class EntryWriter {
  public:
    explicit EntryWriter(std::filesystem::path folder) : folder_(std::move(folder)) {}
    // Takes over an entry left by a dead program (its lock already held) as this program's own.
    void Adopt(std::filesystem::path entry, recovery_store::EntryLock lock);
    // Throws std::system_error (or the BMP writer's errors) when the copy cannot be written;
    // the previous generation is then still whole.
    void Write(const RecoverySnapshot& snapshot);
    // Removes the entry; the next write makes a new one.
    void Remove();
    const std::optional<std::filesystem::path>& Entry() const { return entry_; }

  private:
    struct Kept {
        EntryFile File;
        std::uint64_t Fingerprint = 0;
    };
    // The surface's file: the kept one when the content is unchanged, else a new one.
    Kept Store(const TBitmap& surface, const char* role, const Kept& kept);

    std::filesystem::path folder_;
    std::optional<std::filesystem::path> entry_;
    std::optional<recovery_store::EntryLock> lock_;
    Kept picture_, shadow1_, shadow2_;
    std::uint64_t generation_ = 0;
};

// The work a dead program left unsaved, its entry locked by this program until dropped.
struct LeftWork {
    std::filesystem::path Entry;
    recovery_store::EntryLock Lock;
    RecoverySnapshot Snapshot;
};
// Sorts the entries of `folder`: a running program's entries are left alone; a dead program's
// saved entries are removed, unreadable ones moved to `damaged`; of the unsaved ones the newest is
// given back, the others stay for a later start.
std::optional<LeftWork> CollectLeftWork(const std::filesystem::path& folder);

// A surface's content as one number: equal surfaces give equal numbers.
std::uint64_t SurfaceFingerprint(const TBitmap& surface);
