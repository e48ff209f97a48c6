// The fish workspace fixture: pictures by code, the Fish Data button, and the default pen's
// stamp from its disc geometry.
#include "support/FishWorkspace.h"

#include "app/Unit1.h"
#include "fish/Unit9.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace gui_test {

TForm* FrameForTests() {
    return Form1;
}

TBitmap FishPicture::Draw() const {
    TBitmap picture(Width, Height, Background);
    Fill(picture, Fish, Body);
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

void FishWorkspaceTest::SetUp() {
    DataSaved = false;
    WorkspaceClosing = false;
    ProgramWindowsTest::SetUp();
}

std::string FishWorkspaceTest::WritePicture(const std::string& name,
                                            const FishPicture& picture) const {
    return Write(name, picture.Draw());
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

void FishWorkspaceTest::CloseAllQuietly() {
    WorkspaceClosing = true;
    while (Form1->MDIChildCount() > 0) {
        Form1->MDIChildren(0)->Free();
    }
}

} // namespace gui_test
