// TForm3, the pen settings window: a hidden, stay-on-top tool window for the whole run that
// draws the soft pen's stamp into its client area and into every shadow editor.
#pragma once

#include "app/toolkit/Form.h"
#include "shadow/PenStamp.h"

class QLabel;
class QScrollBar;

class TForm3 : public TForm {
    Q_OBJECT

  public:
    TForm3();

    QLabel* Label1 = nullptr;
    QScrollBar* ScrollBar1 = nullptr; // pen width
    QLabel* Label2 = nullptr;
    QScrollBar* ScrollBar2 = nullptr; // centre size in 25ths of the width
    QLabel* Label3 = nullptr;
    QScrollBar* ScrollBar3 = nullptr; // density

    // Derived from the sliders; the width slider alone leaves CenterSize in pixels as it was.
    int PenWidth = kPenWidthStart;
    int CenterSize = CenterSizeFor(kPenWidthStart, kCentreStart);
    int PenDensity = kDensityStart;

    // The stamp into the client area's stamp square, then into every shadow editor's PenBitmap.
    void DrawPen();

  public slots:
    void FormShow();
    void FormPaint();
    void ScrollBar1Change();
    void ScrollBar2Change();
    void ScrollBar3Change();

  protected:
    void FindComponents() override;
};

extern TForm3* Form3;
