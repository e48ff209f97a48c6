// TForm, the base of every window: loading its definition (.ui), binding handlers by name, the
// window services, the close protocol and, for the main window, the MDI frame with its child list.
//
// A window class derives from TForm, declares Q_OBJECT (its class name is how other windows
// recognise it, see Is) and only plain handler functions, and in its constructor binds every
// handler by name, then loads its definition:
//
//     TMDIFish::TMDIFish() {
//         Bind("FormCreate", &TMDIFish::FormCreate);
//         Bind("SpeedButton1Click", &TMDIFish::SpeedButton1Click);
//         Load("Unit4");                       // :/forms/Unit4.ui
//         Image1 = Component<TImage>("Image1");
//     }
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
// Components are children of the top widget: TPanel, TImage, TEdit, TTimer, TOpenDialog,
// TSaveDialog (Controls.h, Dialogs.h) and standard Qt widgets; one QMenuBar is the window's menu.
//
// Handler bindings are the .ui's <connections>; the toolkit takes them out before Qt sees them:
//   <connection><sender>SpeedButton1</sender><signal>Click</signal>
//               <receiver>MDIFish</receiver><slot>SpeedButton1Click</slot></connection>
// ("()" after either name is allowed). Events per sender and the handler each takes:
//   the window itself (sender = form name): Create, Show, Activate, Deactivate, Destroy, Paint:
//                                           void(); CloseQuery: void(bool& canClose);
//                                           Close: void(TCloseAction& action)
//   QAction (menu item), QAbstractButton:   Click: void()
//   QScrollBar:                             Change: void()
//   TEdit:                                  Change, Exit: void(); KeyDown: void(int& key)
//   TImage:                                 MouseDown, MouseMove, MouseUp:
//                                           void(TMouseButton button, int x, int y)
//   TTimer:                                 Timer: void()
// An unknown sender, event or handler name, or a handler with other parameters than its event
// passes, makes Load throw: the window is not created.
//
// Every handler reached from Qt runs under Guarded (Application.h): an exception ends that
// command and shows the error box.
#pragma once

#include "app/toolkit/Controls.h"
#include "raster/TBitmap.h"

#include <QWidget>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QMenuBar;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

using TNotifyEvent = std::function<void()>;
using TCloseQueryEvent = std::function<void(bool&)>;
using TCloseEvent = std::function<void(TCloseAction&)>;
using TMouseEvent = std::function<void(TMouseButton, int, int)>;
using TKeyEvent = std::function<void(int&)>;
using THandler = std::variant<TNotifyEvent, TCloseQueryEvent, TCloseEvent, TMouseEvent, TKeyEvent>;

// A window definition that does not match its window: unknown component, event or handler.
class EFormDefinitionError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class TForm : public QWidget {
    Q_OBJECT

  public:
    ~TForm() override;

    // --- Window services -------------------------------------------------------------------
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The outer frame's bounds (for an MDI child: inside the frame's client area).
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    void Show();
    void Hide();
    // Shows the window in front; a raised MDI child becomes the active child.
    void BringToFront();
    bool Visible() const;
    TColor Color() const { return color_; }

    // The client area's drawing surface, the window's size. It holds what was drawn until it is
    // drawn over; a repaint runs the Paint handler over it, and child controls cover it.
    TCanvas& Canvas();

    // Whether this window is of that class or derives from it, by the Q_OBJECT class name
    // without any namespace (e.g. Is("TMDIFish")). This is how windows recognise one another
    // in the child list without knowing one another's headers.
    bool Is(const char* className) const;
    bool IsMDIChild() const { return formStyle_ == "fsMDIChild"; }
    bool IsMDIFrame() const { return formStyle_ == "fsMDIForm"; }

    // --- Close protocol -------------------------------------------------------------------
    // Asks CloseQuery (an MDI frame asks each child first; any refusal stops the close), then
    // runs the Close handler with the default action (MDI child: caMinimize if it has a
    // minimise box, else caNone; other windows: caHide) and carries the action out. caFree is
    // deferred: the window is freed when the event loop (or a dialog's nested loop) next runs
    // posted events, and stays in the child list until then. Closing the main window
    // terminates the program instead.
    void Close();
    // Whether the window and, for the frame, every child agree to close (CloseQuery handlers).
    bool CloseQuery();
    // Marks the window to be freed by the event loop.
    void Release();
    // Frees at once: Destroy handler, out of the child list, gone. Close handlers do not run.
    void Free();
    bool FreePending() const { return pendingFree_; }

    // --- MDI frame (the main window; other windows have no children) -----------------------
    // Children in the order of the window list: a new child is appended, a child that gets the
    // focus moves to the front (index 0 = most recently focused).
    int MDIChildCount() const { return static_cast<int>(children_.size()); }
    TForm* MDIChildren(int index) const;
    TForm* ActiveMDIChild() const { return activeChild_; }
    // Horizontal tiling (wide windows one above the other) and cascading; nothing without a
    // client area.
    void Tile();
    void Cascade();
    QMdiArea* MDIClient() const { return mdiClient_; }

    // The window's own menu as defined, and the bar shown at the top of a top-level window
    // (the frame's shows the active child's menu in place of its own).
    QMenuBar* Menu() const { return menu_; }
    QMenuBar* MenuBarView() const { return menuView_; }
    // The Qt widget that carries the window's frame: the MDI sub-window or the window itself.
    QWidget* Frame() const;

  protected:
    TForm();

    template <class T, class... Args>
    void Bind(const std::string& name, void (T::*method)(Args...)) {
        handlers_[name] = std::function<void(Args...)>(
            [this, method](Args... args) { (static_cast<T*>(this)->*method)(args...); });
    }

    // Loads the definition (a unit name such as "Unit1" for ":/forms/Unit1.ui", or a path),
    // binds the handlers, places the window, runs Create; an MDI child is then shown and made
    // the active child. Throws EFormDefinitionError on a definition that does not fit.
    void Load(const QString& definition);

    // A component of the loaded definition by name; throws when there is none of that kind.
    template <class W> W* Component(const char* name) const {
        W* found = findChild<W*>(QString::fromUtf8(name));
        if (!found) {
            throw EFormDefinitionError(std::string(metaObject()->className()) + ": no component " +
                                       name + " of the expected kind");
        }
        return found;
    }

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The children that Tile and Cascade arrange: shown and not minimised, in child-list order.
    std::vector<QMdiSubWindow*> ArrangedWindows() const;
    friend class TApplication;
    friend class TFreeQueue;
    struct Connection {
        std::string sender;
        std::string signal;
        std::string slot;
    };

    void MarkMainForm() { isMainForm_ = true; }
    void ApplySettings(const QPoint& designedPosition, bool positionGiven);
    void WireConnections(const std::vector<Connection>& connections);
    void WireFormEvent(const std::string& event, const THandler& handler, const std::string& name);
    void Notify(const char* event);
    void AlignControls();
    void AttachToFrame(const QPoint& designedPosition, bool positionGiven);
    void FreeNow(bool activateNext);

    // Frame side.
    void ChildActivated(TForm* child);
    void RemoveChild(TForm* child);
    void ShowMenuOf(TForm* child);

    std::map<std::string, THandler> handlers_;
    std::map<std::string, THandler> formEvents_;
    std::string formStyle_ = "fsNormal";
    std::string borderStyle_ = "bsSizeable";
    std::string borderIcons_ = "biSystemMenu,biMinimize,biMaximize";
    std::string position_ = "poDesigned";
    TColor color_ = clBtnFace;
    bool isMainForm_ = false;
    bool pendingFree_ = false;
    bool freed_ = false;
    // Close() calls running on this window; a free that arrives meanwhile (from the nested loop
    // of a question in its own close handler) waits until the outermost one returns.
    int closing_ = 0;
    bool freeWaiting_ = false;
    bool painting_ = false;
    bool suppressActivation_ = false;
    std::optional<TBitmap> surface_;
    QMenuBar* menu_ = nullptr;
    QMenuBar* menuView_ = nullptr;

    // As an MDI child.
    TForm* frame_ = nullptr;
    QMdiSubWindow* subWindow_ = nullptr;
    // As the MDI frame.
    QMdiArea* mdiClient_ = nullptr;
    std::vector<TForm*> children_;
    TForm* activeChild_ = nullptr;
};
