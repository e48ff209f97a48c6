// The toolkit's own controls for window definitions: TImage, TPanel, TEdit, TTimer; the
// hourglass cursor; conversions between raster surfaces and Qt images.
//
// Standard Qt classes are used directly in a .ui where they suffice: QToolButton (SpeedButton:
// autoRaise true, icon = glyph), QPushButton (BitBtn: icon left of the caption), QLabel,
// QScrollBar (orientation horizontal), QMenuBar / QMenu / QAction. Hints are "toolTip".
#pragma once

#include "raster/ImageControl.h"

#include <QColor>
#include <QFrame>
#include <QImage>
#include <QLineEdit>
#include <QPointF>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Surface <-> Qt image, pixel for pixel (the flag byte is not stored in a surface).
QImage ToQImage(const TBitmap& bitmap);
// The part of the surface inside `part` (clipped to the surface).
QImage ToQImage(const TBitmap& bitmap, const QRect& part);
TBitmap FromQImage(const QImage& image);
// A colour as Qt draws it (a system colour resolved first).
QColor ToQColor(TColor color);

// The image control: the picture drawn at its top-left, repainted where it changes; with
// automatic size it takes the picture's size. Mouse positions are picture pixels.
// Its place and size are design units (picture pixels at 100%): Left, Top, Width, Height and
// MoveTo. The view zoom of the client area it sits in (ClientArea.h) shows it larger or smaller
// without changing them: the Qt geometry is then the zoomed one, each picture pixel a sharp
// square, and a mouse position is the picture pixel under the pointer.
// .ui properties: "autoSize" (bool, default true), "picture" (a resource path such as
// ":/glyphs/program_icon_32.xpm", loaded into the picture).
// Events for bindings: MouseDown, MouseMove, MouseUp (handler: void(TMouseButton, int x, int y)).
class TImage : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool autoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(QString picture READ PictureResource WRITE LoadPictureResource)

  public:
    explicit TImage(QWidget* parent = nullptr);

    // The rules' picture: assigning stores a copy the control owns.
    TPicture& Picture() { return rules_.Picture(); }
    // The drawing surface (an empty picture first gets a white surface of the control's size).
    TCanvas& Canvas() {
        TakeDesignSize();
        return rules_.Canvas();
    }
    bool AutoSize() const { return rules_.AutoSize(); }
    void SetAutoSize(bool autoSize) { rules_.SetAutoSize(autoSize); }

    // Place and size in design units, whatever the zoom.
    int Left() {
        TakeDesignPlace();
        return designPos_.x();
    }
    int Top() {
        TakeDesignPlace();
        return designPos_.y();
    }
    int Width() {
        TakeDesignSize();
        return rules_.Width();
    }
    int Height() {
        TakeDesignSize();
        return rules_.Height();
    }
    void MoveTo(int left, int top);

    // The view zoom in percent, and the point of the parent (in design units) that stays where it
    // is when zooming: the client area's top-left corner.
    int Zoom() const { return zoom_; }
    void SetZoom(int percent, QPoint origin);

    // The pointer shows a circle `diameter` picture pixels across, centred on the picture pixel
    // under it, outlined in black and white so it shows on any picture; 0 shows none.
    void SetPenOutline(int diameter);
    int PenOutline() const { return penOutline_; }
    // The pointer, still at `global` (screen coordinates) or gone, after the control moved or
    // zoomed under it: the outline goes to the pixel now under it, or away.
    void FollowPointer(const std::optional<QPointF>& global);
    // The picture pixel under the pointer, as the outline is centred on it.
    std::optional<QPoint> PointerPixel() const { return pointer_; }

    QString PictureResource() const { return pictureResource_; }
    void LoadPictureResource(const QString& path);

    std::function<void(TMouseButton, int, int)> OnMouseDown;
    std::function<void(TMouseButton, int, int)> OnMouseMove;
    std::function<void(TMouseButton, int, int)> OnMouseUp;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void Repaint();
    // At 100% the Qt geometry is the design geometry: a control still hidden gets its resize
    // event only when shown, so its size is taken from there when asked for.
    void TakeDesignSize();
    // Likewise the place: a hidden control gets its move event only when shown.
    void TakeDesignPlace();
    void PlaceZoomed();
    QPoint ZoomedPos() const;
    QRect OutlineRect() const;
    void PointerAt(const QPointF& position);
    TImageRules rules_;
    QString pictureResource_;
    QPoint designPos_;
    QPoint zoomOrigin_;
    int zoom_ = 100;
    bool placing_ = false;
    int penOutline_ = 0;
    std::optional<QPoint> pointer_; // the picture pixel under the pointer
    // A picture loaded from a resource with transparent pixels (an icon) lets the parent show
    // through them for as long as the picture still holds those very pixels.
    QImage translucent_;
    TBitmap translucentPixels_;
};

// A panel: a filled frame, lowered bevel by default ("frameShadow" Sunken). .ui property "align":
// "alTop" docks it to the top of its window at full width (in definition order), "alNone"
// (default) keeps its geometry.
class TPanel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QString align READ Align WRITE SetAlign)

  public:
    explicit TPanel(QWidget* parent = nullptr);
    QString Align() const { return align_; }
    void SetAlign(const QString& align) { align_ = align; }
    bool AlignedTop() const { return align_ == "alTop"; }

  private:
    QString align_ = "alNone";
};

// The one-line edit. Events for bindings: Change (handler void(); setting an identical text
// fires none), Exit (void(); the focus moved on to another control of the edit's window, not to
// a menu, a dialog or another window), KeyDown (void(int& key): the key code, 13 for Enter, 27
// for Esc, upper-case letters and digits as themselves; a handler that sets the key to 0
// swallows it).
class TEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TEdit(QWidget* parent = nullptr);
    std::string Text() const { return text().toStdString(); }
    void SetText(const std::string& value) { setText(QString::fromStdString(value)); }

    std::function<void()> OnChange;
    std::function<void()> OnExit;
    std::function<void(int&)> OnKeyDown;

  protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The key code of a Qt key as the key-down handlers see it (0 for keys without one).
int KeyCode(int qtKey);

// The timer, an invisible component. It ticks on the user-interface thread every "interval"
// milliseconds while "timerEnabled" is true and the interval is above 0; setting the interval
// restarts it, 0 stops it. Event for bindings: Timer (handler void()).
class TTimer : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int interval READ Interval WRITE SetInterval)
    Q_PROPERTY(bool timerEnabled READ Enabled WRITE SetEnabled)

  public:
    explicit TTimer(QWidget* parent = nullptr);
    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Running() const { return timer_.isActive(); }

    std::function<void()> OnTimer;

  private:
    void Restart();
    QTimer timer_;
    int interval_ = 1000;
    bool enabled_ = true;
};

// The cursor over a window or one control during long work.
enum class TCursor { crDefault, crHourGlass };
void SetCursor(QWidget* control, TCursor cursor);

// The hourglass over a control for the lifetime of the object, then the default cursor.
class THourglass {
  public:
    explicit THourglass(QWidget* control);
    ~THourglass();
    THourglass(const THourglass&) = delete;
    THourglass& operator=(const THourglass&) = delete;

  private:
    QWidget* control_;
};
