// The select-directory dialog: its geometry and buttons per options, where
// it starts, its lists, scaling, the create question, and the creation of
// missing directories.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string>

#include "controls/DirectoryCreation.h"
#include "controls/FileSystemLists.h"
#include "controls/SelectDirDialog.h"
#include "temp_dir.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/exceptions.h"
#include "ui/std_controls.h"

namespace {

using controls::TSelectDirDlg;

bool SamePath(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

std::string WithoutTrailingBackslash(std::string path) {
    if (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

class SelectDirDialogTest : public ::testing::Test {
protected:
    void TearDown() override {
        TSelectDirDlg::SetNetworkDialogFinder(nullptr);
        ui::SetDialogResponder(nullptr);
    }
    std::unique_ptr<TSelectDirDlg> Make(controls::TSelectDirOpts options, int help = 0,
                                        int pixelsPerInch = 96) {
        return std::make_unique<TSelectDirDlg>(options, help, pixelsPerInch);
    }
};

TEST_F(SelectDirDialogTest, LayoutAndTabOrderWithHelpHidden) {
    TSelectDirDlg::SetNetworkDialogFinder([] { return controls::NetworkConnectDialog(); });
    auto dialog = Make(controls::sdAllowCreate | controls::sdPrompt);
    EXPECT_EQ(dialog->Caption(), "Select Directory");
    EXPECT_EQ(dialog->ClientWidth(), 424);
    EXPECT_EQ(dialog->ClientHeight(), 255);
    EXPECT_EQ(dialog->DirList->Left(), 8);
    EXPECT_EQ(dialog->DirList->ItemHeight(), 17);
    EXPECT_EQ(dialog->FileList->ItemHeight(), 13);
    EXPECT_EQ(dialog->FileList->Font().Color(), ui::clGrayText);
    EXPECT_EQ(dialog->DriveList->Top(), 192);
    // Help context 0: Help hidden, OK and Cancel in the places of Cancel and Help.
    EXPECT_FALSE(dialog->HelpButton->Visible());
    EXPECT_EQ(dialog->OKButton->Left(), 256);
    EXPECT_EQ(dialog->CancelButton->Left(), 340);
    EXPECT_TRUE(dialog->OKButton->IsDefault());
    EXPECT_TRUE(dialog->CancelButton->IsCancel());
    EXPECT_EQ(dialog->DirList->TabOrder(), 0);
    EXPECT_EQ(dialog->DirEdit->TabOrder(), 1);
    EXPECT_EQ(dialog->DriveList->TabOrder(), 2);
    EXPECT_EQ(dialog->FileList->TabOrder(), 6);
    // Creating allowed: the name edit, not the path label.
    EXPECT_TRUE(dialog->DirEdit->Visible());
    EXPECT_FALSE(dialog->DirLabel->Visible());
    // No network: no Network button.
    EXPECT_FALSE(dialog->NetButton->Visible());
}

TEST_F(SelectDirDialogTest, HelpContextKeepsHelpAndThePathLabelShowsWithoutCreating) {
    auto dialog = Make(0, 7);
    EXPECT_TRUE(dialog->HelpButton->Visible());
    EXPECT_EQ(dialog->OKButton->Left(), 172);
    EXPECT_EQ(dialog->CancelButton->Left(), 256);
    EXPECT_FALSE(dialog->DirEdit->Visible());
    EXPECT_TRUE(dialog->DirLabel->Visible());
}

DWORD WINAPI FakeConnectDialog(HWND, DWORD) { return 0; }

TEST_F(SelectDirDialogTest, NetworkButtonShowsWhenTheLibrariesOfferTheDialog) {
    TSelectDirDlg::SetNetworkDialogFinder([] { return &FakeConnectDialog; });
    auto dialog = Make(0);
    EXPECT_TRUE(dialog->NetButton->Visible());
    EXPECT_EQ(dialog->NetButton->Caption(), "Ne&twork...");
}

// The Win32 way: the system metrics tell of a network, and the network
// library of Windows 95 and 98 has the connection dialog (the capability
// query of 16-bit Windows is no export of theirs).
TEST_F(SelectDirDialogTest, WithANetworkThePlatformsConnectionDialogIsOffered) {
    if ((::GetSystemMetrics(SM_NETWORK) & 1) == 0) GTEST_SKIP() << "no network here";
    auto dialog = Make(0);
    EXPECT_TRUE(dialog->NetButton->Visible());
}

TEST_F(SelectDirDialogTest, ScalesForAScreenOtherThan96PixelsPerInch) {
    auto dialog = Make(controls::sdAllowCreate, 0, 120);
    EXPECT_EQ(dialog->ClientWidth(), 530);
    EXPECT_EQ(dialog->ClientHeight(), 319);
    EXPECT_EQ(dialog->DirList->Left(), 10);
    EXPECT_EQ(dialog->DriveList->Top(), 240);
    EXPECT_EQ(dialog->Font().Height(), -14);
    EXPECT_EQ(dialog->FileList->Font().Height(), dialog->Font().Height());
    EXPECT_EQ(dialog->FileList->Font().Color(), ui::clGrayText);
    // Help still gives its place to Cancel, at the scaled positions.
    EXPECT_EQ(dialog->CancelButton->Left(), 425);
}

TEST_F(SelectDirDialogTest, StartsAtAnExistingDirectoryAndListsItsNormalFiles) {
    testing_support::TempDir temp;
    const std::string dir = WithoutTrailingBackslash(temp.Path());
    ASSERT_TRUE(::CreateDirectoryA((temp / "Sub").c_str(), nullptr));
    ASSERT_TRUE(testing_support::WriteFileOfSize(temp / "plain.txt", 3));
    ASSERT_TRUE(testing_support::WriteFileOfSize(temp / "secret.txt", 3));
    ::SetFileAttributesA((temp / "secret.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    auto dialog = Make(controls::sdAllowCreate);
    dialog->SetStartDirectory(temp.Path());
    EXPECT_TRUE(SamePath(dialog->DirList->Directory(), dir)) << dialog->DirList->Directory();
    EXPECT_TRUE(SamePath(dialog->DirEdit->Text(), dir));
    EXPECT_EQ(dialog->FileList->Items(), (std::vector<std::string>{"plain.txt"}));
    // The last row is the subdirectory, one level below the shown directory.
    const int last = dialog->DirList->Count() - 1;
    EXPECT_EQ(dialog->DirList->Item(last), "Sub");
    EXPECT_TRUE(SamePath(dialog->DirList->ItemPath(last), dir + "\\Sub"));
    EXPECT_TRUE(SamePath(dialog->DirList->ItemPath(0), dir.substr(0, 3)));
    EXPECT_EQ(dialog->DriveList->Drive(), std::toupper(static_cast<unsigned char>(dir[0])));
}

TEST_F(SelectDirDialogTest, BareRootOpensAtTheCurrentDirectoryAndAMissingOneFallsBack) {
    testing_support::CurrentDirectoryScope inWindows("C:\\windows");
    ASSERT_TRUE(inWindows.Entered());
    auto dialog = Make(controls::sdAllowCreate);
    dialog->SetStartDirectory("\\");
    EXPECT_TRUE(SamePath(dialog->DirList->Directory(), "C:\\windows"));
    dialog->SetStartDirectory("C:\\");
    EXPECT_TRUE(SamePath(dialog->DirList->Directory(), "C:\\windows")) << "a drive root is bare";
    dialog->SetStartDirectory("C:\\windows\\system32");
    EXPECT_TRUE(SamePath(dialog->DirList->Directory(), "C:\\windows\\system32"));
    // A directory that cannot be read: the process's current directory again.
    dialog->SetStartDirectory("C:\\no\\such\\place");
    EXPECT_TRUE(SamePath(dialog->DirList->Directory(), "C:\\windows"));
    EXPECT_TRUE(SamePath(dialog->DirEdit->Text(), "C:\\windows"));
    EXPECT_EQ(dialog->DriveList->Drive(), 'C');
}

TEST_F(SelectDirDialogTest, OkOnAMissingDirectoryAsksAndNoKeepsTheDialogOpen) {
    testing_support::TempDir temp;
    const std::string wanted = temp / "new\\deeper";
    std::vector<std::string> questions;
    std::vector<int> answers{ui::mrNo, ui::mrYes};
    ui::SetDialogResponder([&](const ui::DialogRequest& request) {
        questions.push_back(request.caption + ": " + request.text);
        EXPECT_EQ(request.buttons, ui::TMsgDlgButtons::mbYesNo);
        const int answer = answers[std::min(questions.size(), answers.size()) - 1];
        return answer;
    });
    auto dialog = Make(controls::sdAllowCreate | controls::sdPrompt);
    dialog->SetStartDirectory(temp.Path());
    dialog->DirEdit->SetText(wanted);
    HWND ok = dialog->OKButton->Handle();
    ::PostMessageA(ok, BM_CLICK, 0, 0);
    ::PostMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->ShowModal(), ui::mrOk);
    ASSERT_EQ(questions.size(), 2u) << "No must keep the dialog open for a second OK";
    EXPECT_EQ(questions[0], "Confirm: The specified directory does not exist. Create it?");
    EXPECT_EQ(dialog->Directory(), wanted);
    EXPECT_FALSE(controls::DirectoryExists(wanted)) << "the dialog itself creates nothing";
}

TEST_F(SelectDirDialogTest, OkOnAnExistingDirectoryAsksNothing) {
    testing_support::TempDir temp;
    int questions = 0;
    ui::SetDialogResponder([&](const ui::DialogRequest&) { return ++questions, ui::mrNo; });
    auto dialog = Make(controls::sdAllowCreate | controls::sdPrompt);
    dialog->SetStartDirectory(temp.Path());
    ::PostMessageA(dialog->OKButton->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog->ShowModal(), ui::mrOk);
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(SamePath(dialog->Directory(), WithoutTrailingBackslash(temp.Path())));
}

TEST_F(SelectDirDialogTest, DoubleClickOpensARowsDirectory) {
    testing_support::TempDir temp;
    ASSERT_TRUE(::CreateDirectoryA((temp / "inner").c_str(), nullptr));
    auto dialog = Make(controls::sdAllowCreate);
    dialog->SetStartDirectory(temp.Path());
    auto* list = dialog->DirList;
    list->SetItemIndex(list->Count() - 1);
    ::SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(list->ControlId(), LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list->Handle()));
    EXPECT_TRUE(SamePath(list->Directory(), temp / "inner"));
    EXPECT_TRUE(SamePath(dialog->DirEdit->Text(), temp / "inner"));
    // The root row goes back up to the drive's root.
    list->SetItemIndex(0);
    ::SendMessageA(dialog->Handle(), WM_COMMAND, MAKEWPARAM(list->ControlId(), LBN_DBLCLK),
                   reinterpret_cast<LPARAM>(list->Handle()));
    EXPECT_EQ(list->Directory().size(), 3u);
}

// ------------------------------------------------------------- creation

TEST(DirectoryCreation, MakesMissingParentsAndRefusesAnEmptyPath) {
    testing_support::TempDir temp;
    const std::string deep = temp / "a\\b\\c\\";
    controls::ForceDirectories(deep);
    EXPECT_TRUE(controls::DirectoryExists(temp / "a\\b\\c"));
    controls::ForceDirectories(temp / "a\\b");  // already there: nothing to do
    try {
        controls::ForceDirectories("");
        ADD_FAILURE() << "an empty path was accepted";
    } catch (const ui::Exception& error) {
        EXPECT_STREQ(error.what(), "Unable to create directory");
    }
    // A drive with nothing behind it fails quietly.
    EXPECT_NO_THROW(controls::ForceDirectories("Q:\\quarnel\\x"));
    EXPECT_FALSE(controls::DirectoryExists("Q:\\quarnel\\x"));
}

TEST(DirectoryCreation, BareNameIsMadeInTheCurrentDirectory) {
    testing_support::TempDir temp;
    testing_support::CurrentDirectoryScope inTemp(temp.Path());
    ASSERT_TRUE(inTemp.Entered());
    EXPECT_NO_THROW(controls::ForceDirectories("loose"));
    EXPECT_TRUE(controls::DirectoryExists(temp / "loose"));
}

TEST(DirectoryCreation, DirectoryPartOfAPath) {
    EXPECT_EQ(controls::ExtractFilePath("C:\\A\\B"), "C:\\A\\");
    EXPECT_EQ(controls::ExtractFilePath("C:B"), "C:");
    EXPECT_EQ(controls::ExtractFilePath("name"), "");
}

TEST(PathLabel, ShortensInnerDirectoriesFirst) {
    const auto width = [](const std::string& text) { return static_cast<int>(text.size()); };
    const std::string path = "C:\\one\\two\\three\\last";
    EXPECT_EQ(controls::ShortenPathToFit(path, width, 100), path);
    EXPECT_EQ(controls::ShortenPathToFit(path, width, 18), "C:\\...\\three\\last");
    EXPECT_EQ(controls::ShortenPathToFit(path, width, 12), "C:\\...\\last");
    EXPECT_EQ(controls::ShortenPathToFit(path, width, 5), "...\\last");
}

}  // namespace
