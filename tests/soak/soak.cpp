// The soak run: hundreds of scripted fish workspaces (open, pick, paint, preview, save, close)
// interleaved with rotation and accessory windows, watching the resident memory and the number
// of live widgets, then the last cycle's files checked byte for byte against the algorithms.
#include "accessory/AccessoryCrop.h"
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/SheetComposer.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "rotate/Unit8.h"
#include "rotate/UpDownSheets.h"
#include "support/DataWindowTest.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <string>

using namespace gui_test;

namespace {

const char* const kOverwriteQuestion = "既存のファイルに上書きしてもいいですか？";
const char* const kFinished = "画像ファイル作成終了";

// The resident set size in kB, as the kernel reports it.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

int CyclesFrom(const char* variable, int fallback) {
    const char* text = std::getenv(variable);
    return text ? std::atoi(text) : fallback;
}

constexpr int kBaselineCycle = 50;
constexpr double kAllowedGrowth = 1.05;

class Soak : public FishWorkspaceTest {
  protected:
    void SetUp() override {
        FishWorkspaceTest::SetUp();
        // One zoomed picture and one wide enough to put the second view below the first.
        small_.Fish = Rect(10, 6, 40, 24);
        small_.SpotAt = QPoint(20, 10);
        wide_.Fish = Rect(20, 10, 140, 60);
        wide_.SpotAt = QPoint(60, 30);
        wide_.Background = RGB(10, 90, 30);
        smallPath_ = WritePicture("small.bmp", small_);
        widePath_ = WritePicture("wide.bmp", wide_);
        sheetPath_ = WriteSurface("sheet.bmp", FishSheet());
        rockPaths_[0] = WriteSurface("rock-a.bmp", RockPicture(kWater));
        rockPaths_[1] = WriteSurface("rock-b.bmp", RockPicture(RGB(40, 160, 40)));
        std::filesystem::create_directory(PathOf("out"));
    }

    // Open, pick the background, paint in both views, watch the preview, save, close.
    void FishCycle(int cycle) {
        const FishPicture& picture = cycle % 2 == 0 ? small_ : wide_;
        OpenWorkspace(cycle % 2 == 0 ? smallPath_ : widePath_);
        ASSERT_EQ(Form1->MDIChildCount(), 3);
        Click(Fish()->Image1, QPoint(1, 1));
        RaiseEditor();
        const QPoint from(picture.Fish.Left + cycle % 7, picture.Fish.Top + 2);
        const std::vector<QPoint> moves1 = {from + QPoint(1, 0), from + QPoint(5, 2),
                                            from + QPoint(9, 3)};
        const std::vector<QPoint> moves2 = {from + QPoint(2, 1), from + QPoint(2, 8)};
        Stroke(Shadow()->Image1, from, moves1);
        Stroke(Shadow()->Image2, from, moves2);
        QTest::mouseClick(Shadow()->SpeedButton3, Qt::LeftButton);
        ASSERT_EQ(Form1->ActiveMDIChild(), Anim());

        const std::string out = PathOf("out/sheet.bmp");
        dialogs.ExpectSave(out);
        if (FileExists(out)) {
            dialogs.ExpectWarning(kOverwriteQuestion, TMsgResult::mrYes);
        }
        dialogs.ExpectInformation(kFinished);
        QTest::mouseClick(Fish()->SpeedButton1, Qt::LeftButton);
        ASSERT_TRUE(DataSaved);

        // What the last cycle must have written, from the same inputs by the algorithms alone.
        const int zoom = Shadow()->Zoomed ? 2 : 1;
        TBitmap shadow1(picture.Width * zoom, picture.Height * zoom);
        TBitmap shadow2 = shadow1;
        for (const QPoint& p : moves1) {
            StampDefaultPen(shadow1, p.x(), p.y());
        }
        for (const QPoint& p : moves2) {
            StampDefaultPen(shadow2, p.x(), p.y());
        }
        TBitmap sheet;
        ComposeFishSheet(picture.Draw(), picture.Background, shadow1, shadow2, zoom, sheet);
        expectedSheet_ = EncodeBmp(sheet);

        Fish()->Close1->trigger();
        RunPostedEvents();
        ASSERT_EQ(Form1->MDIChildCount(), 0);
    }

    // Open the sheet, type an angle, show it, Create Data, close.
    void RotationCycle(int cycle) {
        dialogs.ExpectOpen(sheetPath_);
        QTest::mouseClick(Form1->BitBtn3, Qt::LeftButton);
        auto* window = qobject_cast<TMDIRotate*>(Form1->ActiveMDIChild());
        ASSERT_NE(window, nullptr);
        const int angle = 10 + 7 * (cycle % 9);
        window->Edit1->selectAll();
        QTest::keyClicks(window->Edit1, QString::number(angle));
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        dialogs.ExpectInformation(kUpDownDoneMessage);
        QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
        ASSERT_FALSE(window->Unsaved);
        window->Close1->trigger();
        RunPostedEvents();
        ASSERT_EQ(Form1->MDIChildCount(), 0);
        lastAngle_ = angle;
    }

    // Open a decoration, pick its background, save under a chosen name, close.
    void AccessoryCycle(int cycle) {
        const std::string& source = rockPaths_[cycle % 2];
        dialogs.ExpectOpen(source);
        QTest::mouseClick(Form1->BitBtn1, Qt::LeftButton);
        auto* window = qobject_cast<TMDIAcc*>(Form1->ActiveMDIChild());
        ASSERT_NE(window, nullptr);
        QTest::mouseClick(window->Image2, Qt::LeftButton, {}, QPoint(1, 1));
        const AccessoryNames names = AccessoryFileNames(PathOf("out/rock.bmp"));
        dialogs.ExpectSave(PathOf("out/rock.bmp"));
        if (FileExists(names.Mask)) {
            dialogs.ExpectWarning(MaskOverwritePrompt(names.Mask), TMsgResult::mrYes);
        }
        dialogs.ExpectInformation(kImageFileDoneMessage);
        QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
        ASSERT_FALSE(window->Unsaved);
        window->Close1->trigger();
        RunPostedEvents();
        ASSERT_EQ(Form1->MDIChildCount(), 0);
        lastRock_ = cycle % 2;
    }

    FishPicture small_{50, 30};
    FishPicture wide_{160, 70};
    std::string smallPath_, widePath_, sheetPath_;
    std::string rockPaths_[2];
    ByteStore expectedSheet_;
    int lastAngle_ = -1;
    int lastRock_ = -1;
};

} // namespace

TEST_F(Soak, ResidentMemoryStaysFlatAndTheLastCycleWritesWhatTheAlgorithmsMake) {
    const int fishCycles = CyclesFrom("SOAK_FISH_CYCLES", 500);
    const int dataCycles = CyclesFrom("SOAK_DATA_CYCLES", 200);
    ASSERT_GT(fishCycles, kBaselineCycle);
    const auto started = std::chrono::steady_clock::now();
    long baselineKb = -1;
    qsizetype baselineWidgets = -1;
    int dataDone = 0;
    for (int cycle = 0; cycle < fishCycles && !HasFailure(); ++cycle) {
        FishCycle(cycle);
        // The rotation and accessory cycles spread evenly over the fish cycles.
        if (dataDone < dataCycles &&
            static_cast<long>(dataDone) * fishCycles < static_cast<long>(cycle + 1) * dataCycles) {
            RotationCycle(dataDone);
            AccessoryCycle(dataDone);
            ++dataDone;
        }
        if ((cycle + 1) % 50 == 0) {
            RunPostedEvents();
            const long kb = ResidentKb();
            const struct mallinfo2 heap = mallinfo2();
            std::printf("cycle %4d: VmRSS %ld kB, heap in use %zu kB, %lld widgets, %d rotation "
                        "and accessory cycles\n",
                        cycle + 1, kb, heap.uordblks / 1024,
                        static_cast<long long>(QApplication::allWidgets().size()), dataDone);
            std::fflush(stdout);
            if (cycle + 1 == kBaselineCycle) {
                baselineKb = kb;
                baselineWidgets = QApplication::allWidgets().size();
            }
        }
    }
    ASSERT_FALSE(HasFailure());
    while (dataDone < dataCycles) {
        RotationCycle(dataDone);
        AccessoryCycle(dataDone);
        ++dataDone;
    }
    RunPostedEvents();
    const long endKb = ResidentKb();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("after %d cycles: VmRSS %ld kB; end: VmRSS %ld kB (%+.2f%%), %d fish cycles, %d "
                "rotation and accessory cycles, %.1f s\n",
                kBaselineCycle, baselineKb, endKb, 100.0 * (endKb - baselineKb) / baselineKb,
                fishCycles, dataDone, seconds);
    EXPECT_LE(static_cast<double>(endKb), kAllowedGrowth * baselineKb);
    EXPECT_EQ(QApplication::allWidgets().size(), baselineWidgets);

    // The last cycle's files, byte for byte.
    EXPECT_EQ(BytesOfFile(PathOf("out/sheet.bmp")), expectedSheet_);
    TBitmap up, down;
    const UpDownSheets turned = BuildUpDownSheets(FishSheet(), lastAngle_, up, down);
    const UpDownNames upDown = UpDownFileNames(sheetPath_);
    EXPECT_EQ(BytesOfFile(upDown.Up), EncodeBmp(turned.Up));
    EXPECT_EQ(BytesOfFile(upDown.Down), EncodeBmp(turned.Down));
    const TColor rockBackground = lastRock_ == 0 ? kWater : RGB(40, 160, 40);
    const AccessoryData crop = CropAccessory(RockPicture(rockBackground), rockBackground);
    const AccessoryNames names = AccessoryFileNames(PathOf("out/rock.bmp"));
    EXPECT_EQ(BytesOfFile(names.Picture), EncodeBmp(crop.Picture));
    EXPECT_EQ(BytesOfFile(names.Mask), EncodeBmp(crop.Mask));
}
