// The guide pictures' shared staging: the writer, the scripted user, stills and crops of the main
// window, and the pictures of written files.
#include "screenshots/guide/GuideImages.h"

#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/Unit4.h"
#include "screenshots/WorkspaceShots.h"
#include "shadow/Unit6.h"
#include "support/GuiTestSupport.h"
#include "support/MouseStrokes.h"

#include <QDir>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QToolButton>
#include <filesystem>
#include <iostream>

namespace {
// The frame's size while a workspace is on show: room for the editor's two zoomed views.
const QSize kStagingSize(700, 440);
const QColor kGround(246, 246, 242);

int ColourCount(const QImage& picture, int limit) {
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            colours.insert(row[x]);
            if (colours.size() > limit) {
                return colours.size();
            }
        }
    }
    return colours.size();
}

QRect OuterRect(const QWidget* window) {
    // An MDI child may sit in a frame of its own; the crop takes that frame.
    const QWidget* outer = window;
    if (auto* frame = qobject_cast<const QMdiSubWindow*>(window->parentWidget())) {
        outer = frame;
    }
    return QRect(outer->mapTo(Form1, QPoint(0, 0)), outer->size());
}
} // namespace

std::vector<TGuideJourney>& GuideJourneys() {
    static std::vector<TGuideJourney> journeys;
    return journeys;
}

void TGuidePictures::Put(const QString& name, const QImage& picture) {
    const QString file = QDir(folder_).filePath(name + ".png");
    if (picture.isNull()) {
        std::cerr << "velmora_guide_images: " << name.toStdString() << " failed\n";
        ++failures_;
        return;
    }
    QImage written = picture.convertToFormat(QImage::Format_RGB32);
    // With 256 colours or fewer the palette holds every one of them: nothing changes.
    if (ColourCount(written, 256) <= 256) {
        written =
            written.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    }
    // Quality 0 is the strongest compression.
    if (!written.save(file, "PNG", 0)) {
        std::cerr << "velmora_guide_images: cannot write " << file.toStdString() << '\n';
        ++failures_;
        return;
    }
    std::cout << file.toStdString() << '\n';
}

TGuideUser::TGuideUser() {
    Application->SetDialogs(this);
}

TGuideUser::~TGuideUser() {
    Application->SetDialogs(nullptr);
}

std::optional<std::string> TGuideUser::ExecuteOpen(const TOpenDialog&) {
    if (Opens.empty()) {
        return std::nullopt;
    }
    std::string path = Opens.front();
    Opens.pop_front();
    return path;
}

std::optional<std::string> TGuideUser::ExecuteSave(const TSaveDialog&) {
    if (Saves.empty()) {
        return std::nullopt;
    }
    std::string path = Saves.front();
    Saves.pop_front();
    return path;
}

namespace {
std::filesystem::path GuideFolder() {
    return std::filesystem::temp_directory_path() / "velmora-guide";
}
} // namespace

std::string SamplePicture(const std::string& sample, const std::string& name) {
    const std::filesystem::path folder = GuideFolder() / "pictures";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(std::filesystem::path(VELMORA_SAMPLES) / sample, folder / name,
                               std::filesystem::copy_options::overwrite_existing);
    return (folder / name).string();
}

std::string DataFile(const std::string& name) {
    const std::filesystem::path folder = GuideFolder() / "data";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

void RemoveGuideFolder() {
    std::filesystem::remove_all(GuideFolder());
}

QImage FrameStill(QWidget* floating) {
    gui_test::RunPostedEvents();
    QImage still = Form1->grab().toImage();
    if (floating && floating->isVisible()) {
        QPainter painter(&still);
        painter.drawPixmap(floating->geometry().topLeft() - Form1->geometry().topLeft(),
                           floating->grab());
    }
    return still;
}

QImage CropToChild(const QImage& still, const TForm* child, int margin) {
    const QRect rect = OuterRect(child).adjusted(-margin, -margin, margin, margin);
    return still.copy(rect.intersected(still.rect()));
}

QImage CropToChildren(const QImage& still, const QWidget* floating) {
    QRect shown(0, 0, 1, 1);
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        shown |= OuterRect(Form1->MDIChildren(i));
    }
    if (floating && floating->isVisible()) {
        shown |=
            QRect(floating->geometry().topLeft() - Form1->geometry().topLeft(), floating->size());
    }
    const int margin = 12;
    return still.copy(QRect(0, 0, shown.right() + 1 + margin, shown.bottom() + 1 + margin)
                          .intersected(still.rect()));
}

QImage FilePicture(const std::string& path, int scale) {
    const QImage picture(QString::fromStdString(path));
    if (picture.isNull()) {
        return picture;
    }
    return picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage Captioned(const std::vector<std::pair<QImage, QString>>& pictures) {
    const int gap = 16;
    const int captionHeight = 22;
    int width = gap;
    int height = 0;
    for (const auto& [picture, caption] : pictures) {
        if (picture.isNull()) {
            return {};
        }
        width += picture.width() + gap;
        height = std::max(height, picture.height());
    }
    QImage canvas(width, gap + height + captionHeight + gap / 2, QImage::Format_RGB32);
    canvas.fill(kGround);
    QPainter painter(&canvas);
    int x = gap;
    for (const auto& [picture, caption] : pictures) {
        painter.drawImage(x, gap, picture);
        // A thin outline shows where white pictures end on the light ground.
        painter.setPen(QColor(150, 150, 150));
        painter.drawRect(x - 1, gap - 1, picture.width() + 1, picture.height() + 1);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x - gap / 2, gap + height + 4, picture.width() + gap, captionHeight),
                         Qt::AlignHCenter | Qt::AlignTop, caption);
        x += picture.width() + gap;
    }
    return canvas;
}

QImage ExplainedSheet(const std::string& sheetPath, int scale) {
    const QImage sheet = FilePicture(sheetPath, scale);
    if (sheet.isNull()) {
        return sheet;
    }
    const int qw = sheet.width() / 2;
    const int qh = sheet.height() / 2;
    const int gap = 12;
    const int band = 22;
    QImage canvas(3 * gap + 2 * qw, 2 * (band + qh) + 3 * gap, QImage::Format_RGB32);
    canvas.fill(kGround);
    QPainter painter(&canvas);
    const char* names[] = {"1  fish (image)", "2  mask", "3  shadow pattern 1",
                           "4  shadow pattern 2"};
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const int column = quadrant % 2;
        const int row = quadrant / 2;
        const int x = gap + column * (qw + gap);
        const int y = gap + row * (band + qh + gap);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x, y, qw, band), Qt::AlignLeft | Qt::AlignVCenter, names[quadrant]);
        painter.drawImage(QPoint(x, y + band), sheet, QRect(column * qw, row * qh, qw, qh));
        // A thin outline shows where the white quadrants end on the light ground.
        painter.setPen(QColor(150, 150, 150));
        painter.drawRect(x - 1, y + band - 1, qw + 1, qh + 1);
    }
    return canvas;
}

void CloseAllChildren() {
    while (Form1->MDIChildCount() > 0) {
        Form1->MDIChildren(0)->Free();
    }
    gui_test::RunPostedEvents();
}

bool OpenGuideWorkspace() {
    Form1->resize(kStagingSize);
    Form1->BitBtn2->click();
    gui_test::RunPostedEvents();
    if (Form1->MDIChildCount() != 3) {
        return false;
    }
    // Offset one behind the other at their own sizes, as a user arranges them.
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        TForm* child = Form1->MDIChildren(i);
        const int offset = 28 * (Form1->MDIChildCount() - 1 - i);
        child->SetBounds(offset, offset, child->Width(), child->Height());
    }
    gui_test::RunPostedEvents();
    return true;
}

bool WorkspaceSavedAs(const std::string& picture, const std::string& sheet) {
    TGuideUser user;
    user.Opens.push_back(picture);
    user.Saves.push_back(sheet);
    TMDIShadow* editor = OpenGuideWorkspace() ? PaintSampleShadows() : nullptr;
    if (!editor) {
        return false;
    }
    editor->SpeedButton1->click();
    gui_test::RunPostedEvents();
    return FileExists(sheet);
}
