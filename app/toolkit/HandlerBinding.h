// Handlers found by name: a window's event handlers are Qt slots of its class, looked up through
// the meta-object system by the name and the parameters the definition's connection calls for.
#pragma once

#include "app/toolkit/Controls.h"

#include <QObject>
#include <functional>
#include <string>
#include <variant>
#include <vector>

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = std::function<void()>;
using TCloseQueryEvent = std::function<void(bool&)>;
using TCloseEvent = std::function<void(TCloseAction&)>;
using TMouseEvent = std::function<void(TMouseButton, int, int)>;
using TKeyEvent = std::function<void(int&)>;
// Full names of files, in the order given.
using TFileList = std::vector<std::string>;
using TFilesEvent = std::function<void(TFileList)>;
using THandler =
    std::variant<TNotifyEvent, TCloseQueryEvent, TCloseEvent, TMouseEvent, TKeyEvent, TFilesEvent>;

// What an event passes to its handler; each kind is one of THandler's alternatives.
enum class THandlerKind { Notify, CloseQuery, Close, Mouse, Key, Files };

// The slot `name` of `window` as a handler of that kind. Throws EFormDefinitionError, prefixed by
// `where`, when the class has no slot of that name or its parameters do not fit the event.
THandler FindHandler(QObject* window, const std::string& name, THandlerKind kind,
                     const std::string& where);
