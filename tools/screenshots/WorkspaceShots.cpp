// The workspace screenshots' shared staging: the sample picture answered to the open dialog, the
// still of the frame, and the clean-up that leaves an empty frame behind.
#include "screenshots/WorkspaceShots.h"

#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "fish/Unit4.h"
#include "shadow/Unit6.h"
#include "support/GuiTestSupport.h"
#include "support/MouseStrokes.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <cmath>
#include <filesystem>
#include <vector>

namespace {
// The frame's size while a workspace is on show: room for the editor's two zoomed views.
const QSize kStagingSize(980, 660);
QSize savedSize;

// The open dialog answers with the sample; nothing is ever saved or confirmed.
class TSampleDialogs : public IDialogs {
  public:
    explicit TSampleDialogs(std::string path) : path_(std::move(path)) {}
    std::optional<std::string> ExecuteOpen(const TOpenDialog&) override { return path_; }
    std::optional<std::string> ExecuteSave(const TSaveDialog&) override { return std::nullopt; }
    TMsgResult Warning(const std::string&) override { return TMsgResult::mrNo; }
    void Information(const std::string&) override {}
    void Error(const std::string&) override {}
    std::optional<int> PopupMenu(const std::vector<std::string>&) override { return std::nullopt; }

  private:
    std::string path_;
};

std::string SamplePath(const std::string& sample) {
    // Normalised, as the open dialog would give it: the caption shows the path.
    return (std::filesystem::path(VELMORA_SAMPLES) / sample).lexically_normal().string();
}

// A wavy stroke from `from` to `to` as the user paints it, one point every two pixels.
void PaintWave(QWidget* view, QPoint from, QPoint to, int amplitude) {
    std::vector<QPoint> points;
    const QPoint span = to - from;
    const int steps = std::max(1, std::max(std::abs(span.x()), std::abs(span.y())) / 2);
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double wave = amplitude * std::sin(t * 2 * 3.14159265358979);
        points.emplace_back(from.x() + static_cast<int>(span.x() * t),
                            from.y() + static_cast<int>(span.y() * t + wave));
    }
    gui_test::Stroke(view, from, points);
}
} // namespace

bool OpenSampleWorkspace(const std::string& sample) {
    return OpenWorkspaceOn(SamplePath(sample));
}

bool OpenWorkspaceOn(const std::string& path) {
    if (!FileExists(path)) {
        return false;
    }
    savedSize = Form1->size();
    Form1->resize(kStagingSize);
    TSampleDialogs answers(path);
    Application->SetDialogs(&answers);
    Form1->BitBtn2->click();
    Application->SetDialogs(nullptr);
    // Offset one behind the other at their own sizes, as a user arranges them, so the window in
    // front shows whole.
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        TForm* child = Form1->MDIChildren(i);
        const int offset = 28 * (Form1->MDIChildCount() - 1 - i);
        child->SetBounds(offset, offset, child->Width(), child->Height());
    }
    gui_test::RunPostedEvents();
    return Form1->MDIChildCount() == 3;
}

QMenu* OpenFrameMenu(const char* name) {
    QMenuBar* bar = Form1->MenuBarView();
    for (QAction* action : bar->actions()) {
        if (action->menu() && action->menu()->objectName() == name) {
            bar->setActiveAction(action);
            return action->menu();
        }
    }
    return nullptr;
}

QWidget* StillOfFrameAndFree(TForm* floating, QWidget* popup) {
    gui_test::RunPostedEvents();
    QPixmap still = Form1->grab();
    QPainter painter(&still);
    for (QWidget* over : {static_cast<QWidget*>(floating), popup}) {
        if (over && over->isVisible()) {
            const QPoint offset = over->geometry().topLeft() - Form1->geometry().topLeft();
            painter.drawPixmap(offset, over->grab());
        }
    }
    painter.end();
    if (popup) {
        popup->hide();
    }
    while (Form1->MDIChildCount() > 0) {
        Form1->MDIChildren(0)->Free();
    }
    if (floating) {
        floating->Hide();
    }
    if (savedSize.isValid()) {
        Form1->resize(savedSize);
    }
    gui_test::RunPostedEvents();
    // The still outlives the stage, which the tool grabs after it returns; the previous one goes.
    static QLabel* label = nullptr;
    delete label;
    label = new QLabel;
    label->setContentsMargins(0, 0, 0, 0);
    label->setPixmap(still);
    label->resize(still.size());
    return label;
}

// Raises the editor as its button on the fish window does and paints two shadow patterns that
// differ, so the preview has something to alternate.
TMDIShadow* PaintSampleShadows() {
    auto* fish = qobject_cast<TMDIFish*>(Form1->ActiveMDIChild());
    if (!fish) {
        return nullptr;
    }
    gui_test::Click(fish->Image1, QPoint(3, 3));
    fish->SpeedButton2->click();
    gui_test::RunPostedEvents();
    auto* editor = qobject_cast<TMDIShadow*>(Form1->ActiveMDIChild());
    if (!editor) {
        return nullptr;
    }
    // Widened by the user until both views show.
    editor->SetClientWidth(editor->Image2->geometry().right() + 4);
    gui_test::RunPostedEvents();
    PaintWave(editor->Image1, QPoint(40, 60), QPoint(180, 60), 8);
    PaintWave(editor->Image1, QPoint(60, 110), QPoint(170, 100), 5);
    PaintWave(editor->Image2, QPoint(50, 45), QPoint(190, 120), 6);
    PaintWave(editor->Image2, QPoint(120, 40), QPoint(120, 130), 4);
    return editor;
}
