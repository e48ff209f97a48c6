// The file watch: the watcher on the file and its folder, the quiet period, and the stamp that
// tells a change of the file from other changes in its folder.
#include "app/toolkit/FileWatch.h"

#include "app/toolkit/Application.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <utility>

TFileWatch::TFileWatch(QObject* owner, const std::string& path, std::function<void()> changed)
    : QObject(owner), path_(path), changed_(std::move(changed)),
      watcher_(new QFileSystemWatcher(this)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kQuietMilliseconds);
    connect(&quiet_, &QTimer::timeout, this, &TFileWatch::Settled);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &TFileWatch::Noticed);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &TFileWatch::Noticed);
    const QFileInfo file(QString::fromStdString(path_));
    watcher_->addPath(file.absolutePath());
    WatchFileIfThere();
    seen_ = Current();
}

void TFileWatch::Rebase() {
    WatchFileIfThere();
    seen_ = Current();
}

TFileWatch::Stamp TFileWatch::Current() const {
    const QFileInfo file(QString::fromStdString(path_));
    if (!file.isFile()) {
        return {};
    }
    return {true, file.size(), file.lastModified(),
            file.fileTime(QFileDevice::FileMetadataChangeTime)};
}

void TFileWatch::WatchFileIfThere() {
    const QString file = QString::fromStdString(path_);
    if (!watcher_->files().contains(file) && QFileInfo(file).isFile()) {
        watcher_->addPath(file);
    }
}

// Every notice starts the quiet period again; the folder's notices cover every file in it.
void TFileWatch::Noticed() {
    WatchFileIfThere();
    quiet_.start();
}

void TFileWatch::Settled() {
    WatchFileIfThere();
    const Stamp now = Current();
    if (now == seen_) {
        return;
    }
    seen_ = now;
    // A picture cut short would load with its missing rows black: the rest is still to come.
    const std::optional<BmpFileSize> picture = PeekBmpFile(path_);
    if (!now.exists || (picture && !picture->Complete())) {
        return;
    }
    Guarded([this] {
        try {
            changed_();
        } catch (const EVelmoraError&) {
            // Not a picture yet: whatever the window holds stays until the next change.
        }
    });
}
