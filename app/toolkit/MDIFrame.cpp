// The MDI frame: its client area, the children attached to it, the child list in focus order
// with the active child, the frame's menu bar showing the active child's menu, Tile and Cascade.
#include "app/toolkit/Form.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/WheelScroll.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace {

// The wheel over the work area's background, or passed on to it by a child's title bar: the
// same scrolling as in a child's client area, Shift + wheel sideways.
class TWorkAreaWheel : public QObject {
  public:
    explicit TWorkAreaWheel(QMdiArea* area) : QObject(area), area_(area) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Wheel) {
            return QObject::eventFilter(watched, event);
        }
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            return true; // the work area has no zoom
        }
        ScrollByWheel(area_, wheel);
        return true;
    }

  private:
    QMdiArea* area_;
};

// How far `part` must move along one axis to lie inside `view`, its start preferred when it is
// longer.
int ShiftIntoView(int start, int length, int viewLength) {
    const int end = start + std::min(length, viewLength);
    if (end > viewLength) {
        return end - viewLength;
    }
    return std::min(start, 0);
}

} // namespace

void TForm::CreateMDIClient() {
    mdiClient_ = new QMdiArea(this);
    mdiClient_->setObjectName("MDIClient");
    mdiClient_->setBackground(ToQColor(settings_.Color));
    // Children reaching past the work area are reached by its scroll bars.
    mdiClient_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiClient_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiClient_->viewport()->installEventFilter(new TWorkAreaWheel(mdiClient_));
    connect(mdiClient_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        Guarded([&] {
            for (TForm* child : children_) {
                if (child->subWindow_ == window) {
                    ChildActivated(child);
                    return;
                }
            }
            if (!window) {
                ChildActivated(nullptr);
            }
        });
    });
}

void TForm::AttachToFrame() {
    TForm* frame = Application->MainForm();
    const TBorderIcons& icons = settings_.BorderIcons;
    Qt::WindowFlags flags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (icons.SystemMenu) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if (icons.Minimize) {
            flags |= Qt::WindowMinimizeButtonHint;
        }
        if (icons.Maximize) {
            flags |= Qt::WindowMaximizeButtonHint;
        }
    }
    const QSize designedSize = size();
    const bool clientSized = settings_.ClientWidth || settings_.ClientHeight;
    subWindow_ = frame->mdiClient_->addSubWindow(this, flags);
    subWindow_->setAttribute(Qt::WA_DeleteOnClose, false);
    subWindow_->setWindowTitle(windowTitle());
    subWindow_->setWindowIcon(windowIcon());
    if (clientSized) {
        const QMargins margins = subWindow_->contentsMargins();
        subWindow_->resize(designedSize.grownBy(margins));
    } else {
        subWindow_->resize(designedSize);
    }
    if (settings_.DesignedPosition && settings_.Position == TPosition::poDesigned) {
        // The designed place is in the work area, wherever that is scrolled to.
        const QPoint scrolled(frame->mdiClient_->horizontalScrollBar()->value(),
                              frame->mdiClient_->verticalScrollBar()->value());
        subWindow_->move(*settings_.DesignedPosition - scrolled);
    }
    frame_ = frame;
    frame->children_.push_back(this);
}

TForm* TForm::MDIChildren(int index) const {
    if (index < 0 || index >= MDIChildCount()) {
        throw std::out_of_range("MDI child index out of range");
    }
    return children_[static_cast<std::size_t>(index)];
}

void TForm::ChildActivated(TForm* child) {
    if (suppressActivation_ || child == activeChild_) {
        return;
    }
    if (!child && activeChild_ && activeChild_->subWindow_ &&
        !activeChild_->subWindow_->isHidden() && !activeChild_->subWindow_->isMinimized()) {
        // Only the frame itself lost the focus; its active child stays active.
        return;
    }
    TForm* previous = activeChild_;
    activeChild_ = child;
    if (previous) {
        previous->Notify("Deactivate");
    }
    if (child) {
        auto found = std::find(children_.begin(), children_.end(), child);
        if (found != children_.end()) {
            children_.erase(found);
        }
        children_.insert(children_.begin(), child);
    }
    ShowMenuOf(child);
    if (child) {
        child->Notify("Activate");
        // Once the command that activated it has placed it.
        QTimer::singleShot(0, mdiClient_,
                           [this, window = QPointer<QMdiSubWindow>(child->subWindow_)] {
                               if (window && activeChild_ && activeChild_->subWindow_ == window) {
                                   Guarded([&] { ScrollIntoView(window); });
                               }
                           });
    }
}

void TForm::ScrollIntoView(QMdiSubWindow* window) {
    if (window->isHidden() || window->isMinimized() || window->isMaximized()) {
        return;
    }
    // The title bar first, then as much of the content as fits.
    const QSize view = mdiClient_->viewport()->size();
    const QRect bounds = window->geometry();
    const int dx = ShiftIntoView(bounds.left(), bounds.width(), view.width());
    const int dy = ShiftIntoView(bounds.top(), bounds.height(), view.height());
    QScrollBar* across = mdiClient_->horizontalScrollBar();
    QScrollBar* down = mdiClient_->verticalScrollBar();
    across->setValue(across->value() + dx);
    down->setValue(down->value() + dy);
}

QPoint TForm::WorkAreaScroll() const {
    if (!frame_ || !frame_->mdiClient_) {
        return QPoint(0, 0);
    }
    return QPoint(frame_->mdiClient_->horizontalScrollBar()->value(),
                  frame_->mdiClient_->verticalScrollBar()->value());
}

void TForm::RemoveChild(TForm* child) {
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
    if (activeChild_ == child) {
        activeChild_ = nullptr;
    }
}

void TForm::ShowMenuOf(TForm* child) {
    if (!menuView_) {
        return;
    }
    QMenuBar* source = (child && child->menu_) ? child->menu_ : menu_;
    for (QAction* action : menuView_->actions()) {
        menuView_->removeAction(action);
    }
    if (source) {
        menuView_->addActions(source->actions());
    }
    AlignControls();
}

std::vector<QMdiSubWindow*> TForm::ArrangedWindows() const {
    std::vector<QMdiSubWindow*> windows;
    for (TForm* child : children_) {
        if (child->subWindow_ && !child->subWindow_->isHidden() &&
            !child->subWindow_->isMinimized()) {
            windows.push_back(child->subWindow_);
        }
    }
    return windows;
}

void TForm::Tile() {
    if (!mdiClient_) {
        return;
    }
    const std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    if (windows.empty()) {
        return;
    }
    const QRect area = mdiClient_->viewport()->rect();
    // Wide windows one above the other while each keeps room for a title and some content;
    // beyond that, further columns.
    constexpr int kMinimumHeight = 60;
    const int count = static_cast<int>(windows.size());
    const int rows = std::clamp(area.height() / kMinimumHeight, 1, count);
    const int columns = (count + rows - 1) / rows;
    int index = 0;
    for (int column = 0; column < columns; ++column) {
        const int inColumn = std::min(rows, count - index);
        const int left = area.width() * column / columns;
        const int right = area.width() * (column + 1) / columns;
        for (int row = 0; row < inColumn; ++row, ++index) {
            const int top = area.height() * row / inColumn;
            const int bottom = area.height() * (row + 1) / inColumn;
            windows[static_cast<std::size_t>(index)]->showNormal();
            windows[static_cast<std::size_t>(index)]->setGeometry(left, top, right - left,
                                                                  bottom - top);
        }
    }
}

void TForm::Cascade() {
    if (!mdiClient_) {
        return;
    }
    // Qt's own cascade shrinks every window to its size hint, which for these windows is a bare
    // title bar. Here each keeps its size (shrunk only to fit the area) and steps one title bar
    // down and to the right; the most recently focused window ends in front, at the last step.
    const std::vector<QMdiSubWindow*> windows = ArrangedWindows();
    const QRect area = mdiClient_->viewport()->rect();
    const int step = mdiClient_->style()->pixelMetric(QStyle::PM_TitleBarHeight) +
                     mdiClient_->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    int offset = 0;
    for (auto window = windows.rbegin(); window != windows.rend(); ++window, offset += step) {
        if (offset + step > area.height() / 2 || offset + step > area.width() / 2) {
            offset = 0;
        }
        QMdiSubWindow* sub = *window;
        sub->showNormal();
        const QSize size(std::min(sub->width(), area.width() - offset),
                         std::min(sub->height(), area.height() - offset));
        sub->setGeometry(QRect(QPoint(offset, offset), size));
        sub->raise();
    }
}
