// Helpers shared by the GUI tests.
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QCoreApplication>

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
} // namespace gui_test
