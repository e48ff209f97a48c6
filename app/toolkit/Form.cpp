// The window services: caption, bounds, client size, showing and hiding, the client area's
// retained canvas, the layout of menu bar, top panels and MDI client, and the window's Qt events.
#include "app/toolkit/Form.h"

#include "app/toolkit/Application.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
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
    return subWindow_ ? subWindow_->x() : frameGeometry().x();
}

int TForm::Top() const {
    return subWindow_ ? subWindow_->y() : frameGeometry().y();
}

int TForm::Width() const {
    return subWindow_ ? subWindow_->width() : frameGeometry().width();
}

int TForm::Height() const {
    return subWindow_ ? subWindow_->height() : frameGeometry().height();
}

void TForm::SetBounds(int left, int top, int width, int height) {
    if (subWindow_) {
        subWindow_->setGeometry(left, top, width, height);
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

TCanvas& TForm::Canvas() {
    if (!surface_) {
        surface_.emplace(std::max(width(), 0), std::max(height(), 0), settings_.Color);
        surface_->Canvas().Brush.Color = settings_.Color;
        surface_->OnChange = [this] {
            if (!painting_) {
                update();
            }
        };
    }
    return surface_->Canvas();
}

void TForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        Notify("Show");
    }
}

void TForm::paintEvent(QPaintEvent*) {
    if (mdiClient_) {
        return;
    }
    Guarded([this] {
        painting_ = true;
        Canvas();
        Notify("Paint");
        QPainter painter(this);
        painter.drawImage(0, 0, ToQImage(*surface_));
    });
    painting_ = false;
}

void TForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] {
        AlignControls();
        if (surface_ && (surface_->Width() != width() || surface_->Height() != height())) {
            TCanvas& canvas = surface_->Canvas();
            const TColor brush = canvas.Brush.Color;
            canvas.Brush.Color = settings_.Color;
            surface_->SetSize(std::max(width(), 0), std::max(height(), 0));
            canvas.Brush.Color = brush;
        }
    });
}

void TForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !IsMDIChild() && isWindow()) {
        Notify(isActiveWindow() ? "Activate" : "Deactivate");
    }
}
