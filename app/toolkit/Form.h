// TForm, the base of every window. Its jobs are split over the toolkit's files:
//   FormDefinition  reading the .ui window definition (settings, icons, connections)
//   FormLoader      creating the window's widgets from it, placing and sizing the window
//   HandlerBinding  finding the handlers the connections name, and wiring the events to them
//   Form            the window services (caption, bounds, client area, canvas, show and hide)
//   CloseProtocol   the close protocol with its deferred free
//   MDIFrame        the MDI frame: child list in focus order, active child, menus, Tile, Cascade
//
// A window class derives from TForm, declares Q_OBJECT (its class is how other windows recognise
// it, see Is) and its handlers as public slots named as the definition's connections
// name them, and loads its definition in its constructor:
//
//     class TMDIFish : public TForm {
//         Q_OBJECT
//       public:
//         TMDIFish() { Load("Unit4"); }       // :/forms/Unit4.ui
//         TImage* Image1 = nullptr;
//       public slots:
//         void SpeedButton1Click();
//       protected:
//         void FindComponents() override { Find(Image1, "Image1"); }
//     };
//
// Components are children of the top widget: TPanel, TImage, TEdit, TTimer, TOpenDialog,
// TSaveDialog (Controls.h, Dialogs.h) and standard Qt widgets; one QMenuBar is the window's menu.
// Events per sender and the handler each takes:
//   the window itself (sender = form name): Create, Show, Activate, Deactivate, Destroy, Paint:
//                                           void(); CloseQuery: void(bool& canClose);
//                                           Close: void(TCloseAction& action);
//                                           DragDrop: void(TFileList files), the existing
//                                           files dropped on the window (anything else
//                                           dropped is ignored), run once the drop is over
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
#include "app/toolkit/FormDefinition.h"
#include "app/toolkit/HandlerBinding.h"
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
class QPainter;
class TClientArea;

class TForm : public QWidget {
    Q_OBJECT

  public:
    ~TForm() override;

    // --- Window services -------------------------------------------------------------------
    std::string Caption() const;
    void SetCaption(const std::string& caption);
    // The outer frame's bounds (for an MDI child: inside the frame's work area, wherever that is
    // scrolled to).
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
    TColor Color() const { return settings_.Color; }

    // The client area's drawing surface, the window's size (or the scroll range, when larger). It
    // holds what was drawn until it is drawn over; a repaint runs the Paint handler over it, and
    // child controls cover it.
    TCanvas& Canvas();
    // What CopyRect of the same-sized `from` of `source` to (x, y) of the client surface in
    // cmSrcCopy leaves, shown without copying yet: the window is drawn straight from `source`'s
    // pixels (shared until `source` is drawn on), and the client surface takes the copy when it
    // is next used. A window that shows frame after frame pays one pass over each frame.
    void ShowOnSurface(const TBitmap& source, const TRect& from, int x, int y);
    // Draws the part `area` of the client surface (window coordinates) with the painter.
    void PaintSurface(QPainter& painter, const QRect& area);

    // A child window's client area below its top panels, which scrolls and zooms its content
    // (ClientArea.h); nullptr for other windows. The least size it scrolls over, in the window's
    // coordinates, for a window that draws on its client surface beyond its components.
    TClientArea* ClientArea() const { return clientArea_; }
    void SetScrollRange(int width, int height);

    // Whether this window is of that class or derives from it, by the Q_OBJECT class name
    // without any namespace (e.g. Is("TMDIFish")). Windows recognise one another's kind this way,
    // through Is<T>(), so a test's stand-in of the same class name counts too; a window whose
    // members are read is taken with qobject_cast instead.
    bool Is(const char* className) const;
    template <class T> bool Is() const { return Is(T::staticMetaObject.className()); }
    bool IsMDIChild() const { return settings_.FormStyle == TFormStyle::fsMDIChild; }
    bool IsMDIFrame() const { return settings_.FormStyle == TFormStyle::fsMDIForm; }

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
    // Closes the children `which` accepts, from the back of the list to the front.
    void CloseChildren(const std::function<bool(TForm*)>& which);
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

    // Loads the definition (a unit name such as "Unit1" for ":/forms/Unit1.ui", or a path),
    // creates its components, runs FindComponents, binds the handlers, places the window, runs
    // Create; an MDI child is then shown and made the active child. Throws EFormDefinitionError
    // on a definition that does not fit.
    void Load(const QString& definition);

    // Where a window looks up the components it keeps in members, with Find; runs inside Load
    // as soon as the components exist, before any handler.
    virtual void FindComponents() {}

    // Points `member` at the component of that name; throws when there is none of its type.
    template <class W> void Find(W*& member, const char* name) const {
        member = findChild<W*>(QString::fromUtf8(name));
        if (!member) {
            throw EFormDefinitionError(std::string(metaObject()->className()) + ": no component " +
                                       name + " of the expected kind");
        }
    }

    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // The children that Tile and Cascade arrange: shown and not minimised, in child-list order.
    std::vector<QMdiSubWindow*> ArrangedWindows() const;
    friend class TApplication;
    friend class TFreeQueue;

    void MarkMainForm() { isMainForm_ = true; }
    void BuildWidgets(const TFormDefinition& definition);
    void ApplySettings();
    void WireConnections(const std::vector<TConnection>& connections);
    void Notify(const char* event);
    void AlignControls();
    void FreeNow(bool activateNext);
    // Moves every component but the top panels and the menu into a new client area.
    void CreateClientArea();
    QSize SurfaceSize() const;
    // The client surface made on first use, without settling a shown part.
    void MakeSurface();
    // A shown part copied onto the client surface, whose repaint was asked for when it was shown.
    void SettleShownPart();
    void RepaintSurface(const QRect& area);

    // Frame side.
    void CreateMDIClient();
    // Scrolls the work area so that the child's title bar and as much of it as fits show.
    void ScrollIntoView(QMdiSubWindow* window);
    // How far the frame's work area is scrolled: an MDI child's place in the work area is its
    // place on screen plus this.
    QPoint WorkAreaScroll() const;
    void AttachToFrame();
    void ChildActivated(TForm* child);
    void RemoveChild(TForm* child);
    void ShowMenuOf(TForm* child);

    std::map<std::string, THandler> formEvents_;
    TFormSettings settings_;
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
    // Shown by ShowOnSurface and not yet copied: window point p shows Source's pixel p + Shift.
    struct TShownPart {
        TBitmap Source;
        QRect At;
        QPoint Shift;
    };
    std::optional<TShownPart> shownPart_;
    bool settling_ = false;
    TClientArea* clientArea_ = nullptr;
    QSize scrollRange_;
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
