// The up and down sheets of a fish data sheet: the whole sheet turned both ways, cropped to
// the turned mask, and the names of their files.
#include "rotate/UpDownSheets.h"

#include "rotate/RotationTransform.h"

namespace {

// Left unpainted: the four quadrants copied into it next cover every pixel.
TBitmap SheetOfTwice(const FishBoundingBox& box) {
    TBitmap sheet;
    sheet.SetSize(2 * box.Width(), 2 * box.Height());
    return sheet;
}

// Column and row of a quadrant inside a sheet of twice the box.
void CopyBoxInto(TBitmap& sheet, int column, int row, const FishBoundingBox& box,
                 const TBitmap& turned) {
    const int w = box.Width();
    const int h = box.Height();
    sheet.Canvas().CopyRect(Rect(column * w, row * h, (column + 1) * w, (row + 1) * h),
                            turned.Canvas(),
                            Rect(box.Left, box.Top, box.Right + 1, box.Bottom + 1));
}

} // namespace

UpDownSheets BuildUpDownSheets(const TBitmap& source, int angle, TBitmap& upBitmap,
                               TBitmap& downBitmap) {
    // Every quadrant is turned from the sheet as it was, even when it is a working surface.
    const TBitmap sheet = source;
    RotateQuadrant(sheet, angle, 1, upBitmap, downBitmap);
    const FishBoundingBox upBox = MaskBox(upBitmap);
    const FishBoundingBox downBox = MaskBox(downBitmap);
    if (!upBox.Found() || !downBox.Found()) {
        throw ENoBlackInMask();
    }

    UpDownSheets sheets{SheetOfTwice(upBox), SheetOfTwice(downBox)};
    CopyBoxInto(sheets.Up, 1, 0, upBox, upBitmap);
    CopyBoxInto(sheets.Down, 1, 0, downBox, downBitmap);

    // Image, first shadow, second shadow: each quadrant lands where the sheet layout puts it.
    struct Placement {
        int Quadrant, Column, Row;
    };
    for (const Placement& p : {Placement{0, 0, 0}, Placement{2, 0, 1}, Placement{3, 1, 1}}) {
        RotateQuadrant(sheet, angle, p.Quadrant, upBitmap, downBitmap);
        CopyBoxInto(sheets.Up, p.Column, p.Row, upBox, upBitmap);
        CopyBoxInto(sheets.Down, p.Column, p.Row, downBox, downBitmap);
    }
    return sheets;
}

UpDownNames UpDownFileNames(const std::string& sourcePath) {
    const std::size_t slash = sourcePath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::string name = sourcePath.substr(nameStart);
    std::size_t baseEnd = sourcePath.size();
    // A leading dot names a hidden file rather than starting an extension; "." and ".." are
    // folders.
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot > 0 && name != "..") {
        baseEnd = nameStart + dot;
    }
    const std::string base = sourcePath.substr(0, baseEnd);
    return UpDownNames{base + "u.bmp", base + "d.bmp"};
}
