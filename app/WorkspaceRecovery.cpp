// The recovery copy's timer and writer thread, and the start's offer of work left unsaved.
#include "app/WorkspaceRecovery.h"

#include "app/Messages.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "fish/RecoveryCopy.h"
#include "fish/Unit9.h"

#include <QCoreApplication>
#include <QTimer>
#include <iostream>
#include <memory>

namespace {

// Changes closer together than this make one copy; with the write itself it stays within 2 s.
constexpr int kGatherMilliseconds = 1000;

struct Recovery {
    std::unique_ptr<RecoveryCopy> copy;
    QTimer timer;
};
std::unique_ptr<Recovery> recovery;

// Runs on the user-interface thread: the snapshot shares the windows' pixels, so it is cheap.
void WriteNow() {
    recovery->timer.stop();
    RecoverySnapshot snapshot;
    if (TakeRecoverySnapshot(snapshot)) {
        recovery->copy->Submit(std::move(snapshot));
    }
}

} // namespace

void StartWorkspaceRecovery() {
    if (recovery) {
        return;
    }
    const std::optional<std::filesystem::path> folder = recovery_store::RecoveryFolder();
    if (!folder) {
        std::cerr << "velmora: recovery copies are off for this run: no state folder\n";
        return;
    }
    recovery = std::make_unique<Recovery>();
    recovery->copy = std::make_unique<RecoveryCopy>(*folder);
    recovery->timer.setSingleShot(true);
    recovery->timer.setInterval(kGatherMilliseconds);
    QObject::connect(&recovery->timer, &QTimer::timeout, [] { Guarded(WriteNow); });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { StopWorkspaceRecovery(); });
    QTimer::singleShot(0, qApp, [] { Guarded(OfferLeftWork); });
}

void ScheduleRecoveryWrite() {
    if (recovery && recovery->copy->On() && !recovery->timer.isActive()) {
        recovery->timer.start();
    }
}

void DropRecoveryCopy() {
    if (recovery) {
        recovery->timer.stop();
        recovery->copy->Remove();
    }
}

void OfferLeftWork() {
    if (!recovery || !recovery->copy->On()) {
        return;
    }
    std::optional<LeftWork> work = CollectLeftWork(recovery->copy->Folder());
    if (!work) {
        return;
    }
    if (WarningBox(kRestoreQuestion) == TMsgResult::mrNo) {
        recovery_store::RemoveEntry(work->Entry);
        return;
    }
    const RecoverySnapshot snapshot = std::move(work->Snapshot);
    // The entry becomes this program's own: the work stays kept until it is saved or closed.
    recovery->copy->Adopt(std::move(*work));
    ReopenFishWorkspace(snapshot);
}

void StopWorkspaceRecovery() {
    if (!recovery) {
        return;
    }
    if (recovery->timer.isActive()) {
        WriteNow();
    }
    recovery->copy->Flush();
    recovery.reset();
}
