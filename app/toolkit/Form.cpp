// The window services: caption, bounds, client size, showing and hiding, the client area's
// retained canvas, the layout of menu bar, top panels and MDI client, and the window's Qt events.
#include "app/toolkit/Form.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/ClientArea.h"
#include "app/toolkit/Dialogs.h"
#include "app/toolkit/SurfacePainting.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QShowEvent>
#include <algorithm>

TForm::TForm() : QWidget(nullptr) {
    QFont font(QString::fromUtf8(kFormFontFamily));
    font.setPixelSize(12);
    setFont(font);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TForm::~TForm() {
    if (frame_) {
        frame_->RemoveChild(this);
    }
    for (TForm* child : children_) {
        child->frame_ = nullptr;
    }
}

void TForm::AlignControls() {
    int top = 0;
    if (menuView_) {
        const int h = menuView_->sizeHint().height();
        menuView_->setGeometry(0, 0, width(), h);
        top = h;
    }
    for (QObject* object : children()) {
        auto* panel = qobject_cast<TPanel*>(object);
        if (panel && panel->AlignedTop()) {
            panel->setGeometry(0, top, width(), panel->height());
            top += panel->height();
        }
    }
    if (mdiClient_) {
        mdiClient_->setGeometry(0, top, width(), std::max(0, height() - top));
    }
    if (clientArea_) {
        clientArea_->setGeometry(0, top, width(), std::max(0, height() - top));
    }
}

void TForm::CreateClientArea() {
    clientArea_ = new TClientArea(this);
    const QObjectList components = children(); // adopting changes the list
    for (QObject* object : components) {
        auto* control = qobject_cast<QWidget*>(object);
        auto* panel = qobject_cast<TPanel*>(object);
        // Invisible components (timers, file dialogs) stay where they are.
        if (!control || control == clientArea_ || (panel && panel->AlignedTop()) ||
            qobject_cast<QMenuBar*>(control) || qobject_cast<TTimer*>(control) ||
            qobject_cast<TFileDialog*>(control)) {
            continue;
        }
        clientArea_->Adopt(control);
    }
    // The View menu, in the windows whose definition has one.
    auto* level = findChild<QAction*>("ZoomLevel1");
    auto* zoomIn = findChild<QAction*>("ZoomIn1");
    auto* zoomOut = findChild<QAction*>("ZoomOut1");
    auto* actualSize = findChild<QAction*>("ActualSize1");
    if (level && zoomIn && zoomOut && actualSize) {
        clientArea_->AttachViewMenu(level, zoomIn, zoomOut, actualSize);
    }
}

void TForm::SetScrollRange(int width, int height) {
    scrollRange_ = QSize(width, height);
    if (clientArea_) {
        clientArea_->SetMinimumExtent(scrollRange_);
    }
    if (surface_) {
        SettleShownPart();
        const QSize size = SurfaceSize();
        if (surface_->Width() != size.width() || surface_->Height() != size.height()) {
            TCanvas& canvas = surface_->Canvas();
            const TColor brush = canvas.Brush.Color;
            canvas.Brush.Color = settings_.Color;
            surface_->SetSize(size.width(), size.height());
            canvas.Brush.Color = brush;
        }
    }
}

QSize TForm::SurfaceSize() const {
    return size().expandedTo(scrollRange_).expandedTo(QSize(0, 0));
}

void TForm::Notify(const char* event) {
    auto found = formEvents_.find(event);
    if (found != formEvents_.end()) {
        Guarded(std::get<TNotifyEvent>(found->second));
    }
}

std::string TForm::Caption() const {
    return windowTitle().toStdString();
}

void TForm::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    if (subWindow_) {
        subWindow_->setWindowTitle(windowTitle());
    }
}

bool TForm::Is(const char* className) const {
    for (const QMetaObject* meta = metaObject(); meta; meta = meta->superClass()) {
        const std::string name = meta->className();
        const std::size_t colon = name.rfind("::");
        if ((colon == std::string::npos ? name : name.substr(colon + 2)) == className) {
            return true;
        }
    }
    return false;
}

QWidget* TForm::Frame() const {
    return subWindow_ ? static_cast<QWidget*>(subWindow_) : const_cast<TForm*>(this);
}

int TForm::Left() const {
    return subWindow_ ? subWindow_->x() + WorkAreaScroll().x() : frameGeometry().x();
}

int TForm::Top() const {
    return subWindow_ ? subWindow_->y() + WorkAreaScroll().y() : frameGeometry().y();
}

int TForm::Width() const {
    return subWindow_ ? subWindow_->width() : frameGeometry().width();
}

int TForm::Height() const {
    return subWindow_ ? subWindow_->height() : frameGeometry().height();
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (subWindow_) {
        subWindow_->setGeometry(QRect(QPoint(left, top) - WorkAreaScroll(), QSize(width, height)));
        return;
    }
    const QSize extra = frameGeometry().size() - size();
    move(left, top);
    resize(width - extra.width(), height - extra.height());
}

int TForm::ClientWidth() const {
    return width();
}

int TForm::ClientHeight() const {
    return height() - (menuView_ ? menuView_->height() : 0);
}

void TForm::SetClientWidth(int width) {
    if (subWindow_) {
        subWindow_->resize(subWindow_->width() + width - this->width(), subWindow_->height());
    } else {
        resize(width, height());
    }
}

void TForm::SetClientHeight(int height) {
    if (subWindow_) {
        subWindow_->resize(subWindow_->width(), subWindow_->height() + height - ClientHeight());
    } else {
        resize(width(), height + (menuView_ ? menuView_->height() : 0));
    }
}

void TForm::Show() {
    Frame()->show();
}

void TForm::Hide() {
    Frame()->hide();
}

void TForm::BringToFront() {
    if (subWindow_ && frame_) {
        subWindow_->show();
        subWindow_->raise();
        frame_->mdiClient_->setActiveSubWindow(subWindow_);
        frame_->ChildActivated(this);
        return;
    }
    show();
    raise();
    activateWindow();
}

bool TForm::Visible() const {
    return !Frame()->isHidden();
}

void TForm::MakeSurface() {
    if (surface_) {
        return;
    }
    const QSize size = SurfaceSize();
    surface_.emplace(size.width(), size.height(), settings_.Color);
    surface_->Canvas().Brush.Color = settings_.Color;
    surface_->OnChange = [this] {
        if (!painting_ && !settling_) {
            // Only what was drawn is shown again.
            const TRect area = surface_->ChangedArea();
            RepaintSurface(QRect(area.Left, area.Top, area.Width(), area.Height()));
        }
    };
}

void TForm::RepaintSurface(const QRect& area) {
    if (clientArea_) {
        clientArea_->UpdateSurface(area);
    } else {
        update(area);
    }
}

TCanvas& TForm::Canvas() {
    MakeSurface();
    SettleShownPart();
    return surface_->Canvas();
}

void TForm::ShowOnSurface(const TBitmap& source, const TRect& from, int x, int y) {
    MakeSurface();
    const QPoint shift(from.Left - x, from.Top - y);
    // Where the copy would write: inside the destination, the client surface and the source.
    const QRect at = QRect(x, y, from.Width(), from.Height()) &
                     QRect(0, 0, surface_->Width(), surface_->Height()) &
                     QRect(0, 0, source.Width(), source.Height()).translated(-shift);
    if (shownPart_ && !at.contains(shownPart_->At)) {
        SettleShownPart();
    }
    if (at.isEmpty()) {
        return;
    }
    shownPart_ = TShownPart{source, at, shift};
    RepaintSurface(at);
}

void TForm::SettleShownPart() {
    if (!shownPart_) {
        return;
    }
    const TShownPart part = std::move(*shownPart_);
    shownPart_.reset();
    TCanvas& canvas = surface_->Canvas();
    const TCopyModeScope copy(canvas, cmSrcCopy);
    const QRect& at = part.At;
    const QRect from = at.translated(part.Shift);
    settling_ = true;
    canvas.CopyRect(Rect(at.left(), at.top(), at.right() + 1, at.bottom() + 1),
                    part.Source.Canvas(),
                    Rect(from.left(), from.top(), from.right() + 1, from.bottom() + 1));
    settling_ = false;
}

void TForm::PaintSurface(QPainter& painter, const QRect& area) {
    Guarded([&] {
        painting_ = true;
        MakeSurface();
        Notify("Paint");
        // A painter that scales or clips gets one image of the whole surface.
        if (shownPart_ && !DrawsStraight(painter)) {
            SettleShownPart();
        }
        const QRect drawn = area & QRect(0, 0, surface_->Width(), surface_->Height());
        if (drawn != area) {
            painter.fillRect(area, ToQColor(settings_.Color));
        }
        if (!shownPart_) {
            DrawSurface(painter, *surface_, drawn);
            return;
        }
        for (const QRect& part : QRegion(drawn) - QRegion(shownPart_->At)) {
            DrawSurface(painter, *surface_, part);
        }
        DrawSurface(painter, shownPart_->Source, drawn & shownPart_->At, shownPart_->Shift);
    });
    painting_ = false;
}

void TForm::keyPressEvent(QKeyEvent* event) {
    bool zoomKey = false;
    if (clientArea_) {
        Guarded([&] { zoomKey = clientArea_->ZoomKey(event); });
    }
    if (!zoomKey) {
        QWidget::keyPressEvent(event);
    }
}

void TForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        Notify("Show");
    }
}

void TForm::paintEvent(QPaintEvent* event) {
    if (mdiClient_) {
        return;
    }
    QPainter painter(this);
    PaintSurface(painter, event->rect());
}

void TForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] {
        AlignControls();
        SetScrollRange(scrollRange_.width(), scrollRange_.height());
    });
}

void TForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !IsMDIChild() && isWindow()) {
        Notify(isActiveWindow() ? "Activate" : "Deactivate");
    }
}
