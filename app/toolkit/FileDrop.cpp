// Files dropped on a window: only existing files count, and the window's DragDrop handler runs
// after the drop, outside the drag and drop exchange with the program the files came from.
#include "app/toolkit/Application.h"
#include "app/toolkit/Form.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {
TFileList ExistingFiles(const QMimeData* data) {
    TFileList files;
    if (!data || !data->hasUrls()) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            continue;
        }
        const std::string path = url.toLocalFile().toStdString();
        if (FileExists(path)) {
            files.push_back(path);
        }
    }
    return files;
}
} // namespace

void TForm::dragEnterEvent(QDragEnterEvent* event) {
    if (formEvents_.count("DragDrop") && !ExistingFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void TForm::dragMoveEvent(QDragMoveEvent* event) {
    if (formEvents_.count("DragDrop") && !ExistingFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void TForm::dropEvent(QDropEvent* event) {
    auto found = formEvents_.find("DragDrop");
    TFileList files = ExistingFiles(event->mimeData());
    if (found == formEvents_.end() || files.empty()) {
        return;
    }
    event->acceptProposedAction();
    // A menu or a dialog opened by the handler must not run inside the drop itself.
    QTimer::singleShot(0, this, [handler = std::get<TFilesEvent>(found->second), files] {
        Guarded([&] { handler(files); });
    });
}
