// Handlers found by name through the meta-object system, and the wiring of a definition's
// connections to the components' events.
#include "app/toolkit/HandlerBinding.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/Form.h"

#include <QAbstractButton>
#include <QAction>
#include <QMetaMethod>
#include <QScrollBar>
#include <array>

namespace {

// The parameter types, as moc normalises them, that each kind of handler takes.
QList<QByteArray> ParametersOf(THandlerKind kind) {
    switch (kind) {
    case THandlerKind::Notify:
        return {};
    case THandlerKind::CloseQuery:
        return {"bool&"};
    case THandlerKind::Close:
        return {"TCloseAction&"};
    case THandlerKind::Mouse:
        return {"TMouseButton", "int", "int"};
    case THandlerKind::Key:
        return {"int&"};
    case THandlerKind::Files:
        return {"TFileList"};
    }
    return {};
}

// Calls the slot with arguments passed by address, as moc's dispatcher takes them; reference
// parameters thereby reach the caller's own variables.
template <class... Args> auto Caller(QObject* window, int index) {
    return [window, index](Args... args) {
        std::array<void*, sizeof...(Args) + 1> argv{nullptr, static_cast<void*>(&args)...};
        QMetaObject::metacall(window, QMetaObject::InvokeMetaMethod, index, argv.data());
    };
}

} // namespace

THandler FindHandler(QObject* window, const std::string& name, THandlerKind kind,
                     const std::string& where) {
    const QMetaObject* meta = window->metaObject();
    bool named = false;
    for (int index = 0; index < meta->methodCount(); ++index) {
        const QMetaMethod method = meta->method(index);
        if (method.methodType() != QMetaMethod::Slot || method.name() != name.c_str()) {
            continue;
        }
        named = true;
        if (method.parameterTypes() != ParametersOf(kind)) {
            continue;
        }
        switch (kind) {
        case THandlerKind::Notify:
            return TNotifyEvent(Caller<>(window, index));
        case THandlerKind::CloseQuery:
            return TCloseQueryEvent(Caller<bool&>(window, index));
        case THandlerKind::Close:
            return TCloseEvent(Caller<TCloseAction&>(window, index));
        case THandlerKind::Mouse:
            return TMouseEvent(Caller<TMouseButton, int, int>(window, index));
        case THandlerKind::Key:
            return TKeyEvent(Caller<int&>(window, index));
        case THandlerKind::Files:
            return TFilesEvent(Caller<TFileList>(window, index));
        }
    }
    throw EFormDefinitionError(where + (named ? ": the handler's parameters do not fit the event"
                                              : ": no handler of that name"));
}

namespace {

// The window's own events and the kind of handler each takes.
std::optional<THandlerKind> FormEventKind(const std::string& event) {
    static const char* const kNotifyEvents[] = {"Create",     "Show",    "Activate",
                                                "Deactivate", "Destroy", "Paint"};
    for (const char* name : kNotifyEvents) {
        if (event == name) {
            return THandlerKind::Notify;
        }
    }
    if (event == "CloseQuery") {
        return THandlerKind::CloseQuery;
    }
    if (event == "Close") {
        return THandlerKind::Close;
    }
    if (event == "DragDrop") {
        return THandlerKind::Files;
    }
    return std::nullopt;
}

template <class F>
F Handler(QObject* window, const TConnection& c, THandlerKind kind, const std::string& where) {
    return std::get<F>(FindHandler(window, c.Handler, kind, where));
}

} // namespace

void TForm::WireConnections(const std::vector<TConnection>& connections) {
    const std::string form = metaObject()->className();
    for (const TConnection& c : connections) {
        const std::string where = form + ": " + c.Sender + "." + c.Event + " -> " + c.Handler;
        if (c.Sender == objectName().toStdString()) {
            const std::optional<THandlerKind> kind = FormEventKind(c.Event);
            if (!kind) {
                throw EFormDefinitionError(where + ": a window has no event of that name");
            }
            formEvents_[c.Event] = FindHandler(this, c.Handler, *kind, where);
            if (*kind == THandlerKind::Files) {
                setAcceptDrops(true);
            }
            continue;
        }
        QObject* target = findChild<QObject*>(QString::fromStdString(c.Sender));
        if (!target) {
            throw EFormDefinitionError(where + ": no component of that name");
        }
        const std::string& e = c.Event;
        auto guarded = [&] {
            return
                [f = Handler<TNotifyEvent>(this, c, THandlerKind::Notify, where)] { Guarded(f); };
        };
        if (auto* action = qobject_cast<QAction*>(target); action && e == "Click") {
            connect(action, &QAction::triggered, this, guarded());
        } else if (auto* edit = qobject_cast<TEdit*>(target); edit && e == "Change") {
            edit->OnChange = Handler<TNotifyEvent>(this, c, THandlerKind::Notify, where);
        } else if (edit && e == "Exit") {
            edit->OnExit = Handler<TNotifyEvent>(this, c, THandlerKind::Notify, where);
        } else if (edit && e == "KeyDown") {
            edit->OnKeyDown = Handler<TKeyEvent>(this, c, THandlerKind::Key, where);
        } else if (auto* button = qobject_cast<QAbstractButton*>(target); button && e == "Click") {
            connect(button, &QAbstractButton::clicked, this, guarded());
        } else if (auto* bar = qobject_cast<QScrollBar*>(target); bar && e == "Change") {
            connect(bar, &QScrollBar::valueChanged, this, guarded());
        } else if (auto* image = qobject_cast<TImage*>(target); image && e == "MouseDown") {
            image->OnMouseDown = Handler<TMouseEvent>(this, c, THandlerKind::Mouse, where);
        } else if (image && e == "MouseMove") {
            image->OnMouseMove = Handler<TMouseEvent>(this, c, THandlerKind::Mouse, where);
        } else if (image && e == "MouseUp") {
            image->OnMouseUp = Handler<TMouseEvent>(this, c, THandlerKind::Mouse, where);
        } else if (auto* timer = qobject_cast<TTimer*>(target); timer && e == "Timer") {
            timer->OnTimer = Handler<TNotifyEvent>(this, c, THandlerKind::Notify, where);
        } else {
            throw EFormDefinitionError(where + ": the component has no event of that name");
        }
    }
}
