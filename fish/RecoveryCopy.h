// The background writer of the recovery copy: snapshots handed over by the user-interface thread
// are written on a thread of its own, the newest replacing any still waiting, so painting never
// waits for the disk.
#pragma once

#include "fish/RecoveryEntry.h"

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

class RecoveryCopy {
  public:
    // Keeps copies in `folder`. When the folder cannot be made or written, the copy is off for
    // the whole run and says so once on standard error.
    explicit RecoveryCopy(std::filesystem::path folder);
    // Writes what is still waiting, then stops.
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    bool On() const { return !off_; }
    const std::filesystem::path& Folder() const { return folder_; }

    // Returns at once; the copy is written in the background.
    void Submit(RecoverySnapshot snapshot);
    // The entry goes; a snapshot still waiting is dropped.
    void Remove();
    // Takes over a dead program's entry as this program's own, after everything waiting.
    void Adopt(LeftWork work);
    // Waits until everything handed over is on disk (or has failed).
    void Flush();

  private:
    void Run();
    void TurnOff(const std::string& why);

    std::filesystem::path folder_;
    EntryWriter writer_;
    std::atomic<bool> off_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::optional<RecoverySnapshot> waiting_;
    bool removeFirst_ = false;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
