// Files dropped on the frame: the menu of the three work commands, each choice opening the same
// windows as its command does after the Open dialog; what is not an existing file is ignored.
#include "app/Unit1.h"
#include "fish/Unit9.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QPushButton>
#include <QTest>

using namespace gui_test;

namespace {

const std::vector<std::string> kCommands = {"Fish Data", "Rotate Fish Data", "Accessory Data"};

struct DropCase {
    const char* name;
    int choice;
    std::vector<int> filesOpened; // which of the two files the command is run on
};

class FileDropTest : public FishWorkspaceTest, public ::testing::WithParamInterface<DropCase> {
  protected:
    void SetUp() override {
        FishWorkspaceTest::SetUp();
        FishPicture picture(60, 40);
        picture.Fish = Rect(10, 10, 40, 30);
        files = {WritePicture("first.bmp", picture), WritePicture("second.bmp", picture)};
    }
    void TearDown() override {
        CloseAllQuietly();
        FishWorkspaceTest::TearDown();
    }
    bool Drop(const std::vector<std::string>& paths) { return DropOnFrame(Form1, paths); }
    // What the user sees after a command: the children's captions and the pen window.
    std::pair<std::vector<std::string>, bool> Outcome() {
        RunPostedEvents();
        return {ChildNames(Form1), Form3->Visible()};
    }
    std::vector<std::string> files;
};

} // namespace

TEST_P(FileDropTest, EachMenuChoiceOpensWhatItsCommandOpensAfterTheOpenDialog) {
    QPushButton* buttons[] = {Form1->BitBtn2, Form1->BitBtn3, Form1->BitBtn1};
    Form3->Show();
    for (int index : GetParam().filesOpened) {
        dialogs.ExpectOpen(files[static_cast<std::size_t>(index)]);
        QTest::mouseClick(buttons[GetParam().choice], Qt::LeftButton);
    }
    const auto byCommand = Outcome();
    ASSERT_FALSE(byCommand.first.empty());
    CloseAllQuietly();
    RunPostedEvents();
    WorkspaceClosing = false;
    Form3->Show();

    dialogs.ExpectMenu(kCommands, GetParam().choice);
    ASSERT_TRUE(Drop({files[0], Path("missing.bmp"), files[1]}));
    EXPECT_EQ(Outcome(), byCommand);
}

INSTANTIATE_TEST_SUITE_P(Commands, FileDropTest,
                         ::testing::Values(DropCase{"FishDataTakesTheFirstFile", 0, {0}},
                                           DropCase{"RotateOpensOneWindowPerFile", 1, {0, 1}},
                                           DropCase{
                                               "AccessoryDataOpensOneWindowPerFile", 2, {0, 1}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FileDropTest, AMenuClosedWithoutAChoiceOrADropOfNoExistingFileOpensNothing) {
    dialogs.ExpectMenu(kCommands, std::nullopt);
    EXPECT_TRUE(Drop({files[0]}));
    EXPECT_EQ(Form1->MDIChildCount(), 0);
    EXPECT_FALSE(Drop({Path("missing.bmp"), Folder().string()}))
        << "neither a missing file nor a folder is taken";
    EXPECT_EQ(Form1->MDIChildCount(), 0);
}
