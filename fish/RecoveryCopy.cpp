// The recovery copy's writer thread and its one-slot hand-over.
#include "fish/RecoveryCopy.h"

#include <exception>
#include <iostream>

RecoveryCopy::RecoveryCopy(std::filesystem::path folder)
    : folder_(std::move(folder)), writer_(folder_) {
    if (const std::optional<std::string> why = recovery_store::PrepareFolder(folder_)) {
        TurnOff(*why);
        return;
    }
    thread_ = std::thread([this] { Run(); });
}

RecoveryCopy::~RecoveryCopy() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void RecoveryCopy::TurnOff(const std::string& why) {
    if (!off_.exchange(true)) {
        std::cerr << "velmora: recovery copies are off for this run: " << why << '\n';
    }
}

void RecoveryCopy::Submit(RecoverySnapshot snapshot) {
    if (off_) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        waiting_ = std::move(snapshot);
    }
    wake_.notify_all();
}

void RecoveryCopy::Remove() {
    if (!thread_.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        waiting_.reset();
        removeFirst_ = true;
    }
    wake_.notify_all();
}

void RecoveryCopy::Adopt(LeftWork work) {
    if (!thread_.joinable()) {
        return;
    }
    Flush();
    std::lock_guard lock(mutex_);
    writer_.Adopt(std::move(work.Entry), std::move(work.Lock));
}

void RecoveryCopy::Flush() {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return !busy_ && !waiting_ && !removeFirst_; });
}

void RecoveryCopy::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || waiting_ || removeFirst_; });
        if (!waiting_ && !removeFirst_) {
            return; // stopping with nothing left to write
        }
        std::optional<RecoverySnapshot> snapshot = std::move(waiting_);
        waiting_.reset();
        const bool remove = removeFirst_;
        removeFirst_ = false;
        busy_ = true;
        lock.unlock();
        try {
            if (remove) {
                writer_.Remove();
            }
            if (snapshot && !off_) {
                writer_.Write(*snapshot);
            }
        } catch (const std::exception& error) {
            TurnOff(error.what());
        }
        // The pixels are given back here, on this thread, before the next wait.
        snapshot.reset();
        lock.lock();
        busy_ = false;
        idle_.notify_all();
    }
}
