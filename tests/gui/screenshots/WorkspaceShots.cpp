// The workspace screenshots' shared staging: the sample picture answered to the open dialog, the
// still of the frame, and the clean-up that leaves an empty frame behind.
#include "screenshots/WorkspaceShots.h"

#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "fish/Unit4.h"
#include "screenshots/WorkspaceStrokes.h"
#include "shadow/Unit6.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>

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

  private:
    std::string path_;
};

std::string SamplePath(const std::string& sample) {
    // Normalised, as the open dialog would give it: the caption shows the path.
    return (std::filesystem::path(VELMORA_SAMPLES) / sample).lexically_normal().string();
}

void RunEvents() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
}
} // namespace

bool OpenSampleWorkspace(const std::string& sample) {
    const std::string path = SamplePath(sample);
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
    RunEvents();
    return Form1->MDIChildCount() == 3;
}

QWidget* StillOfFrameAndFree(TForm* floating, QWidget* popup) {
    RunEvents();
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
    RunEvents();
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
    ClickAt(fish->Image1, QPoint(3, 3));
    fish->SpeedButton2->click();
    RunEvents();
    auto* editor = qobject_cast<TMDIShadow*>(Form1->ActiveMDIChild());
    if (!editor) {
        return nullptr;
    }
    // Widened by the user until both views show.
    editor->SetClientWidth(editor->Image2->geometry().right() + 4);
    RunEvents();
    DragThrough(editor->Image1, WavyStroke(QPoint(40, 60), QPoint(180, 60), 8));
    DragThrough(editor->Image1, WavyStroke(QPoint(60, 110), QPoint(170, 100), 5));
    DragThrough(editor->Image2, WavyStroke(QPoint(50, 45), QPoint(190, 120), 6));
    DragThrough(editor->Image2, WavyStroke(QPoint(120, 40), QPoint(120, 130), 4));
    return editor;
}
