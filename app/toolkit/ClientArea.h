// TClientArea, the client area of a child window below its top panels: it scrolls the window's
// content when that reaches past it and shows the pictures in it at the window's view zoom.
#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QSize>
#include <optional>

class QAction;
class QKeyEvent;
class QPainter;
class TForm;

// The window's content widgets keep their places in the window's own coordinates (design units):
// the content widget spans the window from its top-left corner, and the part under the panels is
// simply never in view. The wheel scrolls vertically, Shift + wheel horizontally, and a turn the
// area cannot follow (it is at its end that way, or has nothing to scroll) passes on to the
// frame's work area. Ctrl + wheel and Ctrl++ (Ctrl+=), Ctrl+- and Ctrl+0 change the zoom of
// every image control in the area and of the window's own client surface, keeping the picture
// pixel under the pointer (or the middle of the area) in place. The area takes the focus from
// the Tab key only, never from a click, so a click on a picture leaves the focus where it was.
// A window's "View" menu, when its definition has one, shows and changes the same zoom.
class TClientArea : public QAbstractScrollArea {
    Q_OBJECT

  public:
    explicit TClientArea(TForm* form);

    // Moves a component of the window in here, at the same place in the window's coordinates.
    void Adopt(QWidget* control);
    // The widget the components sit on; its coordinates are the window's.
    QWidget* Content() const { return content_; }

    int Zoom() const { return zoom_; }
    // Zooms every image control in the area, keeping what is under `anchor` (a point of the
    // viewport) under it where the scroll range allows.
    void SetZoom(int percent, QPoint anchor);
    void SetZoom(int percent) { SetZoom(percent, viewport()->rect().center()); }
    // Ctrl++ / Ctrl+= / Ctrl+- / Ctrl+0; false for any other key.
    bool ZoomKey(QKeyEvent* event);
    // The View menu's items: the zoom shown in `level` ("Zoom: 400%", never enabled), and the
    // three commands with their keys (Ctrl+= too for zooming in), each enabled while it can act.
    void AttachViewMenu(QAction* level, QAction* zoomIn, QAction* zoomOut, QAction* actualSize);

    // The scroll position: how far the content is scrolled right and down.
    QPoint ScrollPosition() const;
    void ScrollTo(QPoint position);

    // The least size of the content in the window's coordinates, whatever its components reach
    // (a window that draws on its own client surface sets it to what it drew).
    void SetMinimumExtent(QSize extent);
    // Everything the content reaches, in the window's coordinates.
    QSize Extent() const;
    // Shows again the part `area` (window coordinates, design units) of the client surface.
    void UpdateSurface(const QRect& area);
    // Paints the part `exposed` of the content (content coordinates) from the client surface.
    void PaintContent(QPainter& painter, const QRect& exposed);

  protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Zooming in, out or back to 100% around the pointer, or the middle when it is elsewhere.
    void ZoomAroundPointer(int percent);
    void UpdateViewMenu();
    // The image under the last known pointer position shows the pen outline there, after the
    // content moved under a pointer that stayed where it was.
    void FollowPointer();
    void UpdateRanges();
    void PlaceContent();
    // The point of the window's coordinates that zooming keeps in place.
    QPoint ZoomOrigin() const { return QPoint(0, y()); }

    TForm* form_;
    QWidget* content_;
    QSize minimumExtent_;
    int zoom_ = 100;
    bool updating_ = false;
    std::optional<QPointF> pointer_; // global position of the pointer over the area
    QAction* zoomLevel_ = nullptr;
    QAction* zoomIn_ = nullptr;
    QAction* zoomOut_ = nullptr;
    QAction* actualSize_ = nullptr;
};
