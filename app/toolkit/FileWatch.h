// TFileWatch: one picture file on disk followed for a window, through a file system watcher on the
// file and on its folder, reporting each change once the file has been quiet for a while.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QTimer>
#include <functional>
#include <string>

class QFileSystemWatcher;

class TFileWatch : public QObject {
    Q_OBJECT

  public:
    // Editors write a picture in several steps; a change is looked at this long after the last.
    static constexpr int kQuietMilliseconds = 300;

    // Follows `path` for as long as `owner` lives. `changed` runs on the user-interface thread
    // when the file, quiet again, differs from how it was last seen and holds all the pixels its
    // headers announce. A half-written, removed or renamed-away file, or a read failure `changed`
    // raises, changes nothing and shows nothing: the file is looked at again at its next change.
    // Any other failure goes to the error box.
    TFileWatch(QObject* owner, const std::string& path, std::function<void()> changed);

    // The file as it is now is the one the window holds (it has just read or written it): only
    // a later change is followed.
    void Rebase();
    const std::string& Path() const { return path_; }

  private:
    // What tells one version of the file from another without reading it. Editors that save by
    // renaming a new file over the old one change the status time even at the same size.
    struct Stamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
        QDateTime statusChanged;
        bool operator==(const Stamp&) const = default;
    };
    Stamp Current() const;
    void Noticed();
    void Settled();
    // A watch on the file itself ends when the file is replaced or removed; it is taken up again
    // whenever a file of that name is there.
    void WatchFileIfThere();

    std::string path_;
    std::function<void()> changed_;
    QFileSystemWatcher* watcher_;
    QTimer quiet_;
    Stamp seen_;
};
