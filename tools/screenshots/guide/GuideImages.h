// The user's guide's pictures: each journey of the guide registers the pictures it renders, in the
// order a user meets them, and hands each finished picture to the writer by its file name.
#pragma once

#include "app/toolkit/Dialogs.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TForm;

// Writes the guide's pictures into one folder: 8-bit palette PNGs when the picture has no more
// than 256 colours (the same picture, smaller), full colour otherwise.
class TGuidePictures {
  public:
    explicit TGuidePictures(QString folder) : folder_(std::move(folder)) {}
    // Writes `name`.png; a null picture counts as a failure.
    void Put(const QString& name, const QImage& picture);
    int Failures() const { return failures_; }

  private:
    QString folder_;
    int failures_ = 0;
};

struct TGuideJourney {
    std::string name;
    std::function<void(TGuidePictures&)> render;
};

std::vector<TGuideJourney>& GuideJourneys();

// Registers at static initialisation: `static TRegisterJourney fish{"fish", [](auto& out) {...}};`
struct TRegisterJourney {
    TRegisterJourney(std::string name, std::function<void(TGuidePictures&)> render) {
        GuideJourneys().push_back({std::move(name), std::move(render)});
    }
};

// The user at the dialogs: the open dialog answers with the next queued file, the save dialog
// with the next queued name, every question with Yes; announcements are taken as read.
class TGuideUser : public IDialogs {
  public:
    TGuideUser();
    ~TGuideUser() override;
    std::deque<std::string> Opens;
    std::deque<std::string> Saves;

    std::optional<std::string> ExecuteOpen(const TOpenDialog&) override;
    std::optional<std::string> ExecuteSave(const TSaveDialog&) override;
    TMsgResult Warning(const std::string&) override { return TMsgResult::mrYes; }
    void Information(const std::string&) override {}
    void Error(const std::string&) override {}
    std::optional<int> PopupMenu(const std::vector<std::string>&) override { return std::nullopt; }
};

// The guide's pictures show the paths of the files in their captions: a copy of the sample picture
// `sample` named `name` in the fixed folder "velmora-guide/pictures" of the temporary folder, so
// the captions are the same at every run. Throws when the sample is missing.
std::string SamplePicture(const std::string& sample, const std::string& name);
// A file in the fixed folder "velmora-guide/data", where the journeys save what they make.
std::string DataFile(const std::string& name);
// Removes the fixed folder with everything in it.
void RemoveGuideFolder();

// The main window as it stands, with `floating` (a shown top-level window such as the pen window)
// drawn where it stands over it.
QImage FrameStill(QWidget* floating = nullptr);
// The part of a still of the main window that shows `child` (its frame included) with `margin`
// pixels around it, as far as the still reaches.
QImage CropToChild(const QImage& still, const TForm* child, int margin = 0);
// The part of a still of the main window from its top-left corner to the farthest corner of its
// child windows and `floating` (when shown), the empty work area beyond left out.
QImage CropToChildren(const QImage& still, const QWidget* floating = nullptr);

// A file the program wrote, enlarged by `scale` without smoothing.
QImage FilePicture(const std::string& path, int scale);
// Pictures in a row on a light ground, each with its caption below.
QImage Captioned(const std::vector<std::pair<QImage, QString>>& pictures);
// A fish data sheet enlarged by `scale`, its four quadrants pulled apart and each numbered and
// named.
QImage ExplainedSheet(const std::string& sheetPath, int scale);

// Presses the Fish Data button (the installed dialogs answer the open dialog) with the frame
// enlarged to hold the workspace, and offsets the three windows one behind the other; false
// unless all three opened.
bool OpenGuideWorkspace();
// Opens a fish workspace on a picture, picks the background at the picture's corner,
// paints both shadow patterns and saves the sheet as `sheet`.
// The saved sheet's path, or "" when a step failed. The workspace stays.
bool WorkspaceSavedAs(const std::string& picture, const std::string& sheet);
// Closes every child window of the main window, answering its questions with No.
void CloseAllChildren();
