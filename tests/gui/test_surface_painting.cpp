// A surface drawn through a painter: converted straight into the painter's image or through a
// converted image, the same pixels either way, and never outside what the painter may paint.
#include "app/toolkit/Controls.h"
#include "app/toolkit/SurfacePainting.h"
#include "tests/support/Surfaces.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr QRgb kUntouched = 0xFF123456;

QImage Filled(QImage::Format format) {
    QImage image(48, 40, format);
    image.fill(kUntouched);
    return image;
}

struct PainterCase {
    const char* Name;
    QImage::Format Format;
    std::function<void(QPainter&)> Setup;
    QRect Area;
};

class SurfacePainting : public testing::TestWithParam<PainterCase> {};

// Whatever path DrawSurface takes, the image ends as drawing the converted image would leave it,
// in place or moved.
TEST_P(SurfacePainting, LeavesTheImageAsDrawingTheConvertedSurfaceWould) {
    const PainterCase& c = GetParam();
    std::mt19937 random(7);
    const TBitmap surface = test_support::RandomColours(random, 30, 20);
    for (const QPoint shift : {QPoint(0, 0), QPoint(4, -3)}) {
        QImage expected = Filled(c.Format);
        QImage actual = Filled(c.Format);
        {
            QPainter painter(&expected);
            c.Setup(painter);
            const QRect drawn =
                c.Area & QRect(0, 0, surface.Width(), surface.Height()).translated(-shift);
            painter.drawImage(drawn.topLeft(), ToQImage(surface, drawn.translated(shift)));
        }
        {
            QPainter painter(&actual);
            c.Setup(painter);
            DrawSurface(painter, surface, c.Area, shift);
        }
        EXPECT_EQ(actual, expected) << "moved by " << shift.x() << ", " << shift.y();
    }
}

const auto kNothing = [](QPainter&) {};

INSTANTIATE_TEST_SUITE_P(
    PainterStates, SurfacePainting,
    testing::Values(
        PainterCase{"Rgb32", QImage::Format_RGB32, kNothing, QRect(0, 0, 30, 20)},
        PainterCase{"MovedByWholePixels", QImage::Format_RGB32,
                    [](QPainter& p) { p.translate(7, 11); }, QRect(2, 3, 20, 15)},
        PainterCase{"Premultiplied", QImage::Format_ARGB32_Premultiplied,
                    [](QPainter& p) { p.translate(-4, 2); }, QRect(0, 0, 30, 20)},
        PainterCase{"Argb32", QImage::Format_ARGB32, kNothing, QRect(5, 5, 10, 10)},
        PainterCase{"AreaPastTheSurface", QImage::Format_RGB32, kNothing, QRect(20, 10, 40, 40)},
        PainterCase{"SixteenBitImage", QImage::Format_RGB16, kNothing, QRect(0, 0, 30, 20)},
        PainterCase{"Scaled", QImage::Format_RGB32, [](QPainter& p) { p.scale(2, 2); },
                    QRect(0, 0, 30, 20)},
        PainterCase{"MovedByHalfAPixel", QImage::Format_RGB32,
                    [](QPainter& p) { p.translate(0.5, 0); }, QRect(0, 0, 30, 20)},
        PainterCase{"PainterClip", QImage::Format_RGB32,
                    [](QPainter& p) { p.setClipRect(QRect(3, 4, 9, 6)); }, QRect(0, 0, 30, 20)},
        PainterCase{"HalfOpaque", QImage::Format_RGB32, [](QPainter& p) { p.setOpacity(0.5); },
                    QRect(0, 0, 30, 20)}),
    [](const testing::TestParamInfo<PainterCase>& info) { return info.param.Name; });

// A widget that shows a surface the way the windows show their client surface.
class SurfaceWidget : public QWidget {
  public:
    explicit SurfaceWidget(const TBitmap& surface) : surface_(surface) {
        resize(surface.Width(), surface.Height());
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        DrawSurface(painter, surface_, event->rect());
    }

  private:
    const TBitmap& surface_;
};

// The window system asks for a region, which a paint event's rectangle only bounds: pixels
// outside it belong to other widgets and stay as they were.
TEST(SurfacePaintingRegion, WritesOnlyTheRegionAskedFor) {
    std::mt19937 random(11);
    const TBitmap surface = test_support::RandomColours(random, 30, 20);
    SurfaceWidget widget(surface);
    const QRegion asked = QRegion(2, 1, 6, 5) + QRegion(20, 12, 8, 6);
    const QPoint at(9, 6);
    QImage image = Filled(QImage::Format_RGB32);
    // The region's top left corner lands on `at`.
    widget.render(&image, at, asked, QWidget::RenderFlags());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QPoint p = QPoint(x, y) - at + asked.boundingRect().topLeft();
            const TColor c = surface.Pixel(p.x(), p.y());
            const QRgb want =
                asked.contains(p) ? qRgb(RedOf(c), GreenOf(c), BlueOf(c)) : kUntouched;
            ASSERT_EQ(image.pixel(x, y), want) << "at " << x << ", " << y;
        }
    }
}

} // namespace
