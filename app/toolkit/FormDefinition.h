// The window definition reader: a .ui file read once into a typed description of the window
// (settings, designed position, icons, handler connections), checked before any widget exists.
//
// The definition is a Qt Designer .ui file whose top widget has the window's class (e.g.
// "TMDIFish") and its form name ("MDIFish"). Window settings are properties of the top widget:
//   windowTitle (caption), geometry (left, top, width, height of the window), windowIcon,
//   formStyle    "fsNormal" (default) | "fsMDIForm" (the MDI frame) | "fsMDIChild" | "fsStayOnTop"
//   borderStyle  "bsSizeable" (default) | "bsDialog" (fixed size) | "bsToolWindow"
//   borderIcons  comma list of "biSystemMenu", "biMinimize", "biMaximize" (default: all three)
//   position     "poDesigned" (default) | "poScreenCenter" | "poDefault" (the toolkit places it)
//   color        TColor number (default clBtnFace); fills the client area (and the MDI client)
//   clientWidth, clientHeight  numbers: the client size, instead of the geometry's size
// Handler bindings are the .ui's <connections>; they come out of the definition before Qt's
// loader sees it:
//   <connection><sender>SpeedButton1</sender><signal>Click</signal>
//               <receiver>MDIFish</receiver><slot>SpeedButton1Click</slot></connection>
// ("()" after either name is allowed). An unknown or misspelt setting is an error naming the
// file and the value.
#pragma once

#include "raster/TColor.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A window definition that does not match its window, or a setting it does not know.
class EFormDefinitionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

enum class TFormStyle { fsNormal, fsMDIForm, fsMDIChild, fsStayOnTop };
enum class TBorderStyle { bsSizeable, bsDialog, bsToolWindow };
enum class TPosition { poDesigned, poScreenCenter, poDefault };

struct TBorderIcons {
    bool SystemMenu = true;
    bool Minimize = true;
    bool Maximize = true;
};

// The settings a window keeps from its definition.
struct TFormSettings {
    TFormStyle FormStyle = TFormStyle::fsNormal;
    TBorderStyle BorderStyle = TBorderStyle::bsSizeable;
    TBorderIcons BorderIcons;
    TPosition Position = TPosition::poDesigned;
    TColor Color = clBtnFace;
    // The geometry's left and top, when the definition gives a geometry.
    std::optional<QPoint> DesignedPosition;
    std::optional<int> ClientWidth;
    std::optional<int> ClientHeight;
};

// One handler binding: the component (or the form name for the window's own events), the event,
// the handler's name.
struct TConnection {
    std::string Sender;
    std::string Event;
    std::string Handler;
};

// An icon property ("icon" or "windowIcon") of a widget or action, with the glyph file it names.
struct TIconSetting {
    QString Owner;
    QByteArray Property;
    QString Path;
};

struct TFormDefinition {
    QString Path;
    QString ClassName; // the top widget's class
    QString FormName;  // the top widget's name
    TFormSettings Settings;
    std::vector<TConnection> Connections;
    std::vector<TIconSetting> Icons;
    // The definition without its connections, for Qt's loader to build the widgets from.
    QByteArray Widgets;
};

// Reads the definition of a unit name ("Unit4" for ":/forms/Unit4.ui") or a file path.
TFormDefinition ReadFormDefinition(const QString& definition);
// Reads a definition already in memory; `path` names it in error messages.
TFormDefinition ParseFormDefinition(const QString& path, const QByteArray& data);
