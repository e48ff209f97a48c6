// The fish workspace fixture: start-up windows, pictures by code, the Fish Data button, strokes,
// and the default pen's stamp from its disc geometry.
#include "support/FishWorkspace.h"

#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
#include "fish/Unit9.h"
#include "shadow/Unit3.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <fstream>
#include <iterator>
#include <sstream>

namespace gui_test {

TForm* FrameForTests() {
    return Form1;
}

TBitmap FishPicture::Draw() const {
    TBitmap picture(Width, Height);
    TCanvas& canvas = picture.Canvas();
    canvas.Brush.Color = Background;
    canvas.FillRect(Rect(0, 0, Width, Height));
    canvas.Brush.Color = Body;
    canvas.FillRect(Fish);
    picture.SetPixel(SpotAt.x(), SpotAt.y(), Spot);
    return picture;
}

int DefaultStampGrey(int dx, int dy) {
    if (dx < -9 || dx > 9 || dy < -9 || dy > 9) {
        return 255;
    }
    // Pixel (25 + dx, 25 + dy) of the stamp area; a disc of box (25 - m)..(25 + m) holds the
    // pixels whose centres lie inside the circle of radius m around (25, 25).
    const double cx = dx + 0.5;
    const double cy = dy + 0.5;
    int grey = 255;
    for (int m = 9; m >= 4; --m) {
        if (cx * cx + cy * cy < m * m) {
            grey = 255 - 12 * (10 - m);
        }
    }
    return grey;
}

void StampDefaultPen(TBitmap& shadow, int x, int y) {
    for (int dy = -9; dy <= 9; ++dy) {
        for (int dx = -9; dx <= 9; ++dx) {
            const int px = x + dx;
            const int py = y + dy;
            if (px < 0 || py < 0 || px >= shadow.Width() || py >= shadow.Height()) {
                continue;
            }
            const TColor grey = static_cast<TColor>(DefaultStampGrey(dx, dy)) * 0x010101u;
            shadow.SetPixel(px, py, shadow.Pixel(px, py) & grey);
        }
    }
}

TBitmap ViewOf(const TBitmap& picture, int zoom, const TBitmap& shadow) {
    TBitmap view(picture.Width() * zoom, picture.Height() * zoom);
    for (int y = 0; y < view.Height(); ++y) {
        for (int x = 0; x < view.Width(); ++x) {
            view.SetPixel(x, y, picture.Pixel(x / zoom, y / zoom) & shadow.Pixel(x, y));
        }
    }
    return view;
}

std::string FirstDifference(const TBitmap& actual, const TBitmap& expected) {
    std::ostringstream out;
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        out << "size " << actual.Width() << "x" << actual.Height() << " vs " << expected.Width()
            << "x" << expected.Height();
        return out.str();
    }
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            if (actual.Pixel(x, y) != expected.Pixel(x, y)) {
                out << "(" << x << ", " << y << "): " << std::hex << actual.Pixel(x, y) << " vs "
                    << expected.Pixel(x, y);
                return out.str();
            }
        }
    }
    return "";
}

ByteStore BytesOfFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file.good()) << path;
    return ByteStore(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void FishWorkspaceTest::SetUp() {
    ASSERT_TRUE(folder.isValid());
    DataSaved = false;
    WorkspaceClosing = false;
    Application->CreateForm(Form1);
    Application->CreateForm(Form3);
    Application->CreateForm(Form7);
    Form1->Show();
    QApplication::setActiveWindow(Form1);
}

void FishWorkspaceTest::TearDown() {
    dialogs.Verify();
    Application->DestroyForms();
    Form1 = nullptr;
    Form3 = nullptr;
    Form7 = nullptr;
}

std::string FishWorkspaceTest::PathOf(const std::string& name) const {
    return folder.filePath(QString::fromStdString(name)).toStdString();
}

std::string FishWorkspaceTest::WriteSurface(const std::string& name, const TBitmap& surface) {
    const std::string path = PathOf(name);
    surface.SaveToFile(path);
    return path;
}

std::string FishWorkspaceTest::WritePicture(const std::string& name, const FishPicture& picture) {
    return WriteSurface(name, picture.Draw());
}

void FishWorkspaceTest::OpenWorkspace(const std::string& path) {
    dialogs.ExpectOpen(path);
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    RunPostedEvents();
}

void FishWorkspaceTest::RaiseEditor() {
    QTest::mouseClick(Fish()->SpeedButton2, Qt::LeftButton);
    RunPostedEvents();
}

namespace {
// QTest takes the point (0, 0) for "the control's centre", so the events are sent here.
void SendMouse(QWidget* control, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), control->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(control, &event);
}
} // namespace

void FishWorkspaceTest::Stroke(QWidget* view, QPoint from, const std::vector<QPoint>& moves) {
    SendMouse(view, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    QPoint last = from;
    for (const QPoint& point : moves) {
        SendMouse(view, QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton);
        last = point;
    }
    SendMouse(view, QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
}

void FishWorkspaceTest::Release(QWidget* control, QPoint pressed, QPoint released) {
    SendMouse(control, QEvent::MouseButtonPress, pressed, Qt::LeftButton, Qt::LeftButton);
    SendMouse(control, QEvent::MouseButtonRelease, released, Qt::LeftButton, Qt::NoButton);
}

void FishWorkspaceTest::Click(QWidget* control, QPoint at) {
    Release(control, at, at);
}

void FishWorkspaceTest::Hover(QWidget* control, QPoint at) {
    SendMouse(control, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

void FishWorkspaceTest::CloseAllQuietly() {
    WorkspaceClosing = true;
    while (Form1->MDIChildCount() > 0) {
        Form1->MDIChildren(0)->Free();
    }
}

} // namespace gui_test
