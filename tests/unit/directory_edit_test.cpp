// The directory edit: button placement in every border case, the ellipsis
// picture, the button face in a memory bitmap, upper case, keys, caret and
// the dialog step with a stand-in for the dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/ComboEditLayout.h"
#include "controls/DirectoryEdit.h"
#include "controls/EditButtonGlyphs.h"
#include "temp_dir.h"
#include "ui/exceptions.h"
#include "ui/form.h"
#include "ui/handles.h"
#include "ui/std_controls.h"

namespace {

using controls::TDirectoryEdit;
using controls::TEditBorderStyle;

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// ------------------------------------------------------------ pure rules

TEST(ComboEditLayout, ButtonPlacementForEachBorder) {
    // The setup window's field: 301 x 21, 3-D, single border, button 16 wide.
    EXPECT_TRUE(
        SameRect(controls::ButtonContainerBounds(4, true, TEditBorderStyle::bsSingle, 301, 21, 16),
                 RECT{281, 0, 297, 17}));
    EXPECT_TRUE(
        SameRect(controls::ButtonContainerBounds(4, false, TEditBorderStyle::bsSingle, 301, 21, 16),
                 RECT{283, 2, 299, 19}));
    // No border, and every border before version 4: the full height at the right end.
    for (bool ctl3d : {true, false}) {
        EXPECT_TRUE(SameRect(
            controls::ButtonContainerBounds(4, ctl3d, TEditBorderStyle::bsNone, 301, 21, 16),
            RECT{285, 0, 301, 21}));
        EXPECT_TRUE(SameRect(
            controls::ButtonContainerBounds(3, ctl3d, TEditBorderStyle::bsSingle, 301, 21, 16),
            RECT{285, 0, 301, 21}));
    }
    EXPECT_TRUE(SameRect(controls::EditTextArea(297, 17, 16), RECT{0, 0, 279, 18}));
    EXPECT_EQ(controls::MinimumEditHeight(16, 13, 1), 18);
    EXPECT_EQ(controls::MinimumEditHeight(12, 20, 2), 21);
}

TEST(EllipsisGlyph, LayoutFollowsTheButtonWidth) {
    const controls::EllipsisLayout field = controls::EllipsisGlyphLayout(16);
    EXPECT_EQ(field.width, 10);
    EXPECT_EQ(field.height, 4);
    EXPECT_EQ(std::vector<int>(field.dotLeft, field.dotLeft + 3), (std::vector<int>{0, 4, 8}));
    // A wide button: the gap stops growing at 3 and the dots are centred.
    const controls::EllipsisLayout wide = controls::EllipsisGlyphLayout(30);
    EXPECT_EQ(wide.width, 24);
    EXPECT_EQ(std::vector<int>(wide.dotLeft, wide.dotLeft + 3), (std::vector<int>{6, 11, 16}));
    // A narrow one: the gap never drops below 1, even where the dots overhang.
    const controls::EllipsisLayout narrow = controls::EllipsisGlyphLayout(12);
    EXPECT_EQ(narrow.width, 6);
    EXPECT_EQ(std::vector<int>(narrow.dotLeft, narrow.dotLeft + 3), (std::vector<int>{-1, 2, 5}));
    EXPECT_EQ(controls::EllipsisGlyphLayout(3).width, 1);
}

TEST(EllipsisGlyph, BitmapHasThreeBlackSquaresOnWhite) {
    ui::ScopedBitmap glyph(controls::MakeEllipsisGlyph(16));
    BITMAP info{};
    ASSERT_TRUE(::GetObjectA(glyph.Get(), sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 10);
    EXPECT_EQ(info.bmHeight, 4);
    EXPECT_EQ(info.bmBitsPixel, 1);
    ui::MemoryDC dc(nullptr);
    ui::SelectObjectScope select(dc.Get(), glyph.Get());
    std::string picture;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 10; ++x) picture += ::GetPixel(dc.Get(), x, y) == 0 ? '#' : '.';
        picture += '\n';
    }
    EXPECT_EQ(picture,
              "..........\n"
              "##..##..##\n"
              "##..##..##\n"
              "..........\n");
}

// ------------------------------------------------------- the real control

class DirectoryEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<ui::TForm>();
        form_->RegisterHandler("Changed", [this](ui::TComponent*) {
            changes_.push_back(edit_ != nullptr ? edit_->Text() : std::string("?"));
        });
        form_->RegisterHandler("DefaultClick", [this](ui::TComponent*) { ++defaultClicks_; });
        form_->RegisterHandler("CancelClick", [this](ui::TComponent*) { ++cancelClicks_; });
        form_->RegisterEventHandler("AfterDialog",
                                    controls::TExecOpenDialogEvent(
                                        [this](ui::TComponent*, std::string& name, bool& action) {
                                            afterNames_.push_back(name);
                                            afterActions_.push_back(action);
                                            textAtAfter_ = edit_->Text();
                                        }));
        TDirectoryEdit::SetDialogRunner([this](std::string& dir, controls::TSelectDirOpts, int) {
            startDirs_.push_back(dir);
            UINT mode = ::SetErrorMode(0);
            ::SetErrorMode(mode);
            errorModes_.push_back(mode);
            if (!confirm_) return false;
            dir = chosen_;
            return true;
        });
    }
    void TearDown() override {
        TDirectoryEdit::SetDialogRunner(nullptr);
        form_.reset();
    }

    void Load(const std::string& extra = "", bool bold = true) {
        form_->CreateFromText(
            "F : TForm { ClientWidth: 457 ClientHeight: 262\n"
            "  E : TDirectoryEdit { Left: 4 Top: 20 Width: 301 Height: 21 GlyphKind: gkEllipsis "
            "NumGlyphs: 1 ButtonWidth: 16 CharCase: ecUpperCase TabOrder: 0 " +
            std::string(bold ? "Font.Style: [fsBold] " : "") +
            "OnChange: Changed OnAfterDialog: AfterDialog " + extra +
            " }\n"
            "  Ok : TButton { Left: 4 Top: 224 Default: true TabOrder: 1 OnClick: DefaultClick }\n"
            "  No : TButton { Left: 100 Top: 224 Cancel: true TabOrder: 2 OnClick: CancelClick }\n"
            "}");
        edit_ = form_->Find<TDirectoryEdit>("E");
        form_->Show();
    }
    void Key(UINT message, WPARAM key, LPARAM data = 0) {
        ::SendMessageA(edit_->Handle(), message, key, data | 1);
    }
    void AltDown() { Key(WM_SYSKEYDOWN, VK_DOWN, 1 << 29); }

    std::unique_ptr<ui::TForm> form_;
    TDirectoryEdit* edit_ = nullptr;
    std::vector<std::string> changes_, startDirs_, afterNames_;
    std::vector<bool> afterActions_;
    std::vector<UINT> errorModes_;
    std::string textAtAfter_;
    bool confirm_ = true;
    std::string chosen_;
    int defaultClicks_ = 0, cancelClicks_ = 0;
};

TEST_F(DirectoryEditTest, ButtonSitsInsideTheRightEndAndTextStopsShortOfIt) {
    Load();
    HWND container = edit_->ButtonContainer()->Handle();
    ASSERT_EQ(::GetParent(container), edit_->Handle());
    RECT placed{};
    ::GetWindowRect(container, &placed);
    ::MapWindowPoints(nullptr, edit_->Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(SameRect(placed, RECT{281, 0, 297, 17}))
        << placed.left << "," << placed.top << " " << placed.right << "," << placed.bottom;
    EXPECT_EQ(edit_->Button()->Width(), 16);
    EXPECT_EQ(edit_->Button()->Height(), 17);
    RECT text{};
    ::SendMessageA(edit_->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    // Asked for (0, 0)-(279, 18); the platform insets that by the pixel of
    // the sunken edge and trims it to whole lines.
    EXPECT_GE(text.left, 0);
    EXPECT_GE(text.top, 0);
    EXPECT_TRUE(text.right == 278 || text.right == 279) << text.right;
    EXPECT_LE(text.bottom, 18);
    const LONG style = ::GetWindowLongA(edit_->Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_CLIPCHILDREN);
    EXPECT_TRUE(style & ES_OEMCONVERT);

    // Without the 3-D look the button moves in by the plain border.
    edit_->SetCtl3D(false);
    ::GetWindowRect(edit_->ButtonContainer()->Handle(), &placed);
    ::MapWindowPoints(nullptr, edit_->Handle(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_TRUE(SameRect(placed, RECT{283, 2, 299, 19}));
}

TEST_F(DirectoryEditTest, HeightIsRaisedToTheLeastAndWidthsThatLeaveNoTextAreRefused) {
    Load();
    edit_->SetBounds(4, 20, 301, 5);
    EXPECT_GE(edit_->Height(), 13 + 4 * ::GetSystemMetrics(SM_CYBORDER) + 1);
    EXPECT_LT(edit_->Height(), 21);
    edit_->SetButtonWidth(400);
    EXPECT_EQ(edit_->ButtonWidth(), 16);
    edit_->SetButtonWidth(1);
    EXPECT_FALSE(::IsWindowVisible(edit_->ButtonContainer()->Handle()));
}

TEST_F(DirectoryEditTest, TypedAndSetTextReadsBackInUpperCase) {
    Load();
    edit_->SetText("c:\\quarnel");
    EXPECT_EQ(edit_->Text(), "C:\\QUARNEL");
    ::SendMessageA(edit_->Handle(), EM_SETSEL, 10, 10);
    ::SendMessageA(edit_->Handle(), WM_CHAR, 'x', 1);
    EXPECT_EQ(edit_->Text(), "C:\\QUARNELX");
    EXPECT_EQ(edit_->WindowText(), "C:\\QUARNELX");
    EXPECT_EQ(changes_.back(), "C:\\QUARNELX");
    // Text set straight into the window is upper-cased and reported too.
    ::SendMessageA(edit_->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("d:\\tools"));
    EXPECT_EQ(edit_->Text(), "D:\\TOOLS");
    EXPECT_EQ(changes_.back(), "D:\\TOOLS");
    // The multi-line window never takes a line break.
    ::SendMessageA(edit_->Handle(), WM_CHAR, '\r', 1);
    EXPECT_EQ(edit_->WindowText(), "D:\\TOOLS");
}

TEST_F(DirectoryEditTest, EnterAndEscapeGoToTheWindowsButtons) {
    Load();
    Key(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(defaultClicks_, 1);
    Key(WM_KEYDOWN, VK_ESCAPE);
    EXPECT_EQ(cancelClicks_, 1);
    EXPECT_EQ(edit_->WindowText(), "");
}

TEST_F(DirectoryEditTest, EnteringByFocusSelectsAllButAClickOnTheTextDoesNot) {
    Load();
    edit_->SetText("C:\\WINDOWS");
    form_->Find<ui::TButton>("Ok")->SetFocus();
    edit_->SetFocus();
    DWORD from = 99, to = 0;
    ::SendMessageA(edit_->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                   reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 10u);

    form_->Find<ui::TButton>("Ok")->SetFocus();
    ::SendMessageA(edit_->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 5));
    ::SendMessageA(edit_->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 5));
    ::SendMessageA(edit_->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                   reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, to);
}

TEST_F(DirectoryEditTest, CaretIsTwoPixelsWideForTheBoldFont) {
    Load();
    edit_->SetFocus();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &info));
    EXPECT_EQ(info.hwndCaret, edit_->Handle());
    EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, 2);
    EXPECT_EQ(info.rcCaret.bottom - info.rcCaret.top, 13);  // MS Sans Serif at -11
}

TEST_F(DirectoryEditTest, RegularFontGetsAOnePixelCaret) {
    Load("", false);
    edit_->SetFocus();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(::GetGUIThreadInfo(::GetCurrentThreadId(), &info));
    EXPECT_EQ(info.rcCaret.right - info.rcCaret.left, 1);
}

// The face as a 16 x 17 button draws it: '#' black, 'w' highlight, 'f' face.
class EditButtonFaceTest : public DirectoryEditTest {
protected:
    COLORREF At(bool pressed, int x, int y) {
        ui::ScopedGetDC screen(nullptr);
        ui::MemoryDC dc(screen.Get());
        ui::ScopedBitmap bitmap(::CreateCompatibleBitmap(screen.Get(), 16, 17));
        ui::SelectObjectScope select(dc.Get(), bitmap.Get());
        edit_->Button()->PaintFace(dc.Get(), pressed);
        return ::GetPixel(dc.Get(), x, y);
    }
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
};

TEST_F(EditButtonFaceTest, RaisedFaceWithTheTwoLeftLinesAndCentredDots) {
    Load();
    ASSERT_EQ(edit_->Button()->Width(), 16);
    ASSERT_EQ(edit_->Button()->Height(), 17);
    // Left edge: face colour down to the row above the bottom, highlight inside it.
    for (int y = 0; y <= 15; ++y) EXPECT_EQ(At(false, 0, y), face) << "x 0, row " << y;
    for (int y = 1; y <= 14; ++y) EXPECT_EQ(At(false, 1, y), highlight) << "x 1, row " << y;
    // Raised: dark at the bottom and right, face in the middle.
    EXPECT_EQ(At(false, 8, 16), RGB(0, 0, 0));
    EXPECT_EQ(At(false, 15, 8), RGB(0, 0, 0));
    EXPECT_EQ(At(false, 8, 15), shadow);
    EXPECT_EQ(At(false, 8, 3), face);
    // The 10 x 4 glyph is centred at (3, 6): dots in rows 7 and 8.
    for (int x : {3, 4, 7, 8, 11, 12}) {
        EXPECT_EQ(At(false, x, 7), RGB(0, 0, 0)) << "dot pixel at x " << x;
        EXPECT_EQ(At(false, x, 8), RGB(0, 0, 0)) << "dot pixel at x " << x;
    }
    for (int x : {5, 6, 9, 10}) EXPECT_EQ(At(false, x, 7), face) << "gap at x " << x;
    EXPECT_EQ(At(false, 3, 6), face);
}

TEST_F(EditButtonFaceTest, PressedFaceMovesTheDotsAndDropsTheLines) {
    Load();
    for (int x : {4, 5, 8, 9, 12, 13}) EXPECT_EQ(At(true, x, 9), RGB(0, 0, 0)) << "x " << x;
    EXPECT_EQ(At(true, 3, 7), face);
    EXPECT_NE(At(true, 1, 5), highlight);
    EXPECT_NE(At(true, 8, 16), RGB(0, 0, 0)) << "a pressed face is sunken, not raised";
}

// ------------------------------------------------------------ dialog step

TEST_F(DirectoryEditTest, AltDownOpensTheDialogUnlessReadOnly) {
    Load();
    AltDown();
    EXPECT_EQ(startDirs_.size(), 1u);
    edit_->SetReadOnly(true);
    AltDown();
    EXPECT_EQ(startDirs_.size(), 1u);
    // Down without Alt is an ordinary key.
    edit_->SetReadOnly(false);
    Key(WM_KEYDOWN, VK_DOWN);
    EXPECT_EQ(startDirs_.size(), 1u);
}

TEST_F(DirectoryEditTest, DialogStartsAtTheTextTheInitialDirOrTheRoot) {
    testing_support::TempDir temp;
    const std::string existing = temp / "START";
    ASSERT_TRUE(::CreateDirectoryA(existing.c_str(), nullptr));
    Load();
    confirm_ = false;
    edit_->DoClick();  // empty text, empty InitialDir
    edit_->SetInitialDir(existing);
    edit_->DoClick();  // empty text
    edit_->SetText(existing + "\\MISSING");
    edit_->DoClick();  // a directory that does not exist, InitialDir set
    edit_->SetText(existing);
    edit_->DoClick();
    ASSERT_EQ(startDirs_.size(), 4u);
    EXPECT_EQ(startDirs_[0], "\\");
    EXPECT_EQ(startDirs_[1], existing);
    EXPECT_EQ(startDirs_[2], "\\");
    EXPECT_EQ(::lstrcmpiA(startDirs_[3].c_str(), existing.c_str()), 0);
    // The error mode is quiet during the dialog only.
    for (UINT mode : errorModes_) EXPECT_EQ(mode, 0x8001u);
    const UINT now = ::SetErrorMode(0);
    ::SetErrorMode(now);
    EXPECT_NE(now, 0x8001u);
}

TEST_F(DirectoryEditTest, ConfirmedDialogPutsTheDirectoryIntoTheTextAndInitialDir) {
    testing_support::TempDir temp;
    chosen_ = temp / "picked";
    ASSERT_TRUE(::CreateDirectoryA(chosen_.c_str(), nullptr));
    Load();
    edit_->SetText("c:\\old");
    changes_.clear();
    edit_->SetFocus();  // selects all, as the dialog step does after the dialog
    edit_->DoClick();
    ASSERT_EQ(afterNames_.size(), 1u);
    EXPECT_EQ(afterNames_[0], chosen_);
    EXPECT_TRUE(afterActions_[0]);
    EXPECT_EQ(textAtAfter_, "C:\\OLD") << "the text changes only after the handler";
    std::string upper = chosen_;
    ::CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_EQ(edit_->Text(), upper);
    ASSERT_FALSE(changes_.empty());
    EXPECT_EQ(changes_.back(), upper);
    EXPECT_EQ(edit_->InitialDir(), chosen_);

    // A confirmed name that is no directory leaves InitialDir alone.
    chosen_ = temp / "never-made";
    edit_->DoClick();
    EXPECT_EQ(edit_->InitialDir(), temp / "picked");
}

TEST_F(DirectoryEditTest, CancelledDialogReportsTheStartAndKeepsTheText) {
    Load();
    confirm_ = false;
    edit_->SetText("c:\\not\\there");
    changes_.clear();
    edit_->DoClick();
    ASSERT_EQ(afterNames_.size(), 1u);
    EXPECT_EQ(afterNames_[0], "\\");
    EXPECT_FALSE(afterActions_[0]);
    EXPECT_EQ(edit_->Text(), "C:\\NOT\\THERE");
    EXPECT_TRUE(changes_.empty());
    EXPECT_EQ(edit_->InitialDir(), "");
}

TEST_F(DirectoryEditTest, BeforeDialogCanStopTheDialog) {
    Load();
    edit_->OnBeforeDialog = [](ui::TComponent*, std::string&, bool& action) { action = false; };
    edit_->DoClick();
    EXPECT_TRUE(startDirs_.empty());
    EXPECT_TRUE(afterNames_.empty());
}

TEST_F(DirectoryEditTest, DialogErrorRestoresTheErrorModeAndSkipsTheAfterEvent) {
    Load();
    const UINT before = ::SetErrorMode(0);
    ::SetErrorMode(before);
    TDirectoryEdit::SetDialogRunner([](std::string&, controls::TSelectDirOpts, int) -> bool {
        throw ui::Exception("Unable to create directory");
    });
    edit_->SetText("c:\\keep");
    EXPECT_THROW(edit_->DoClick(), ui::Exception);
    const UINT after = ::SetErrorMode(0);
    ::SetErrorMode(after);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(afterNames_.empty());
    EXPECT_EQ(edit_->Text(), "C:\\KEEP");
}

}  // namespace
