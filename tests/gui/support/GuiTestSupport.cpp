// Helpers shared by the GUI tests.
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace gui_test {
void RunPostedEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}

std::vector<std::string> ChildNames(const TForm* frame) {
    std::vector<std::string> names;
    for (int i = 0; i < frame->MDIChildCount(); ++i) {
        names.push_back(frame->MDIChildren(i)->Caption());
    }
    return names;
}

std::vector<std::string> MenuTitles(const QWidget* bar) {
    std::vector<std::string> titles;
    if (!bar) {
        return titles;
    }
    for (const QAction* action : bar->actions()) {
        titles.push_back(action->isSeparator() ? "-" : action->text().toStdString());
    }
    return titles;
}
bool DropOnFrame(TForm* frame, const std::vector<std::string>& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& path : paths) {
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    }
    data.setUrls(urls);
    const QPoint at(200, 200);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &enter);
    if (!enter.isAccepted()) {
        return false;
    }
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &drop);
    RunPostedEvents();
    return drop.isAccepted();
}

} // namespace gui_test
