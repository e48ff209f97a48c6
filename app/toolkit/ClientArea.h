// TClientArea, the client area of a child window below its top panels: it scrolls the window's
// content when that reaches past it and shows the pictures in it at the window's view zoom.
#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <QSize>

class QKeyEvent;
class TForm;

// The window's content widgets keep their places in the window's own coordinates (design units):
// the content widget spans the window from its top-left corner, and the part under the panels is
// simply never in view. The wheel scrolls vertically, Shift + wheel horizontally; Ctrl + wheel
// and Ctrl++ (Ctrl+=), Ctrl+- and Ctrl+0 change the zoom of every image control in the area,
// keeping the picture pixel under the pointer (or the middle of the area) in place.
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

    // The scroll position: how far the content is scrolled right and down.
    QPoint ScrollPosition() const;
    void ScrollTo(QPoint position);

    // The least size of the content in the window's coordinates, whatever its components reach
    // (a window that draws on its own client surface sets it to what it drew).
    void SetMinimumExtent(QSize extent);
    // Everything the content reaches, in the window's coordinates.
    QSize Extent() const;

  protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void UpdateRanges();
    void PlaceContent();
    // The point of the window's coordinates that zooming keeps in place.
    QPoint ZoomOrigin() const { return QPoint(0, y()); }

    TForm* form_;
    QWidget* content_;
    QSize minimumExtent_;
    int zoom_ = 100;
    bool updating_ = false;
};
