// The close protocol: CloseQuery, the Close handler's action, and freeing a window either at
// once or, for caFree, when the event loop (or a dialog's nested loop) next runs posted events.
#include "app/toolkit/Form.h"

#include "app/toolkit/Application.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

// Frees windows marked by Release when the event loop, or a nested one, runs posted events.
// A posted event of our own rather than deleteLater: nested loops do not run deferred deletes.
class TFreeQueue : public QObject {
  public:
    class FreeEvent : public QEvent {
      public:
        static constexpr QEvent::Type kType = static_cast<QEvent::Type>(QEvent::User + 71);
        explicit FreeEvent(TForm* form) : QEvent(kType), form(form) {}
        QPointer<TForm> form;
    };

    static TFreeQueue* Instance() {
        static auto* queue = new TFreeQueue;
        return queue;
    }

  protected:
    void customEvent(QEvent* event) override {
        if (event->type() != FreeEvent::kType) {
            return;
        }
        QPointer<TForm> form = static_cast<FreeEvent*>(event)->form;
        Guarded([&] {
            if (form && form->pendingFree_) {
                if (form->closing_ > 0) {
                    form->freeWaiting_ = true;
                } else {
                    form->FreeNow(true);
                }
            }
        });
    }
};

bool TForm::CloseQuery() {
    if (mdiClient_) {
        const std::vector<TForm*> children = children_;
        for (TForm* child : children) {
            if (!child->CloseQuery()) {
                return false;
            }
        }
    }
    bool canClose = true;
    auto found = formEvents_.find("CloseQuery");
    if (found != formEvents_.end()) {
        std::get<TCloseQueryEvent>(found->second)(canClose);
    }
    return canClose;
}

void TForm::Close() {
    struct Closing {
        TForm* form;
        explicit Closing(TForm* f) : form(f) { ++form->closing_; }
        ~Closing() {
            if (--form->closing_ == 0 && form->freeWaiting_) {
                form->freeWaiting_ = false;
                form->Release();
            }
        }
    } closing(this);
    if (!CloseQuery()) {
        return;
    }
    TCloseAction action = TCloseAction::caHide;
    if (IsMDIChild()) {
        action = settings_.BorderIcons.Minimize ? TCloseAction::caMinimize : TCloseAction::caNone;
    }
    auto found = formEvents_.find("Close");
    if (found != formEvents_.end()) {
        std::get<TCloseEvent>(found->second)(action);
    }
    if (action == TCloseAction::caNone) {
        return;
    }
    if (isMainForm_) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case TCloseAction::caHide:
        Hide();
        break;
    case TCloseAction::caMinimize:
        Frame()->showMinimized();
        break;
    case TCloseAction::caFree:
        Release();
        break;
    case TCloseAction::caNone:
        break;
    }
}

void TForm::Release() {
    pendingFree_ = true;
    QCoreApplication::postEvent(TFreeQueue::Instance(), new TFreeQueue::FreeEvent(this));
}

void TForm::Free() {
    FreeNow(false);
}

void TForm::FreeNow(bool activateNext) {
    if (freed_) {
        return;
    }
    freed_ = true;
    Notify("Destroy");
    TForm* frame = frame_;
    if (frame) {
        frame->RemoveChild(this);
        frame_ = nullptr;
    }
    for (TForm* child : children_) {
        child->frame_ = nullptr;
    }
    children_.clear();
    activeChild_ = nullptr;
    if (!subWindow_) {
        delete this;
        return;
    }
    QMdiSubWindow* window = subWindow_;
    subWindow_ = nullptr;
    // Qt's own choice of the next active child is replaced by the window list's.
    frame->suppressActivation_ = true;
    delete window;
    frame->suppressActivation_ = false;
    if (frame->activeChild_) {
        return;
    }
    if (activateNext && !frame->children_.empty()) {
        TForm* next = frame->children_.front();
        frame->mdiClient_->setActiveSubWindow(next->subWindow_);
        frame->ChildActivated(next);
    } else {
        frame->ShowMenuOf(nullptr);
    }
}

void TForm::closeEvent(QCloseEvent* event) {
    // The close protocol decides; Qt never closes a window by itself.
    event->ignore();
    Guarded([this] { Close(); });
}

void TForm::CloseChildren(const std::function<bool(TForm*)>& which) {
    // A question asked by one close runs a nested event loop, which can free windows closed
    // earlier (their free was deferred) and so shorten the list under this walk: each position
    // is read anew, and positions past the end are passed over.
    for (int i = MDIChildCount() - 1; i >= 0; --i) {
        if (i >= MDIChildCount()) {
            continue;
        }
        TForm* child = MDIChildren(i);
        if (which(child)) {
            child->Close();
        }
    }
}
