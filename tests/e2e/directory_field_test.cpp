// The setup window's directory field: the ellipsis button and Alt+Down open
// the select-directory dialog; what it picks, creates or cancels reaches the
// edit, the install directory and the free-space figure of the right drive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include "driver_error.h"
#include "host_paths.h"
#include "setup_scenario.h"
#include "ui/handles.h"

namespace e2e {
namespace {

constexpr int kDirRowHeight = 17;
// The free-space label: left 396, top 28 of the setup window's client area,
// as far as the window's right edge.
constexpr POINT kFreeSpaceAt{396, 28};
constexpr SIZE kFreeSpaceSize{61, 13};

struct DialogControls {
    HWND window = nullptr;
    HWND nameEdit = nullptr;
    HWND dirList = nullptr;
    HWND drives = nullptr;
    HWND ok = nullptr;
    HWND cancel = nullptr;
};

std::string Upper(std::string text) {
    ::CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

bool SamePath(const std::string& a, const std::string& b) {
    return ::lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

// The free bytes as the program figures them where the system has
// GetDiskFreeSpaceExA (Windows 95 OSR2 on, and Wine): its count, uncapped.
std::int64_t FreeBytes(char drive) {
    const char root[4] = {drive, ':', '\\', '\0'};
    ULARGE_INTEGER available{}, total{}, free{};
    if (!::GetDiskFreeSpaceExA(root, &available, &total, &free)) return -1;
    return static_cast<std::int64_t>(available.QuadPart);
}

std::string FreeSpaceFigure(std::int64_t bytes) { return std::to_string(bytes / 1024000) + " MB"; }

// Dark pixels of a rectangle: the label's black text, whatever lies under it.
std::vector<bool> InkOf(HDC dc, int width, int height) {
    std::vector<bool> ink;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            ink.push_back(GetRValue(c) < 64 && GetGValue(c) < 64 && GetBValue(c) < 64);
        }
    return ink;
}

// Whether the free-space label shows exactly `text`: its ink on the screen
// is compared with the text drawn in the label's font.
bool FreeSpaceLabelShows(HWND setup, const std::string& text) {
    POINT at = kFreeSpaceAt;
    ::ClientToScreen(setup, &at);
    const int w = kFreeSpaceSize.cx, h = kFreeSpaceSize.cy;
    ui::ScopedGetDC screen(nullptr);
    ui::MemoryDC shown(screen.Get());
    ui::ScopedBitmap shownBits(::CreateCompatibleBitmap(screen.Get(), w, h));
    ui::SelectObjectScope selectShown(shown.Get(), shownBits.Get());
    ::BitBlt(shown.Get(), 0, 0, w, h, screen.Get(), at.x, at.y, SRCCOPY);

    ui::MemoryDC drawn(screen.Get());
    ui::ScopedBitmap drawnBits(::CreateCompatibleBitmap(screen.Get(), w, h));
    ui::SelectObjectScope selectDrawn(drawn.Get(), drawnBits.Get());
    RECT all{0, 0, w, h};
    ::FillRect(drawn.Get(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ui::ScopedFont font(::CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0,
                                      "MS Sans Serif"));
    ui::SelectObjectScope selectFont(drawn.Get(), font.Get());
    ::SetBkMode(drawn.Get(), TRANSPARENT);
    ::DrawTextA(drawn.Get(), text.c_str(), -1, &all, DT_EXPANDTABS);
    return InkOf(shown.Get(), w, h) == InkOf(drawn.Get(), w, h);
}

void PostChars(HWND window, const std::string& text) {
    for (char c : text) ::PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
}

// Replaces an edit's text by typing, as a user who selected it all would.
void TypeInto(HWND edit, const std::string& text) {
    ::PostMessageA(edit, EM_SETSEL, 0, -1);
    ::PostMessageA(edit, WM_CHAR, VK_BACK, 1);
    PostChars(edit, text);
}

class DirectoryField : public SetupScenario {
protected:
    HWND OpenSetup() {
        Launch();
        setup_ = AcceptAgreement();
        edit_ = ControlsOf(setup_).directoryEdit;
        return setup_;
    }
    HWND ButtonContainer() { return RequireChild(edit_, kFormClass); }
    void ClickEllipsis() { ClickAt(ButtonContainer(), 8, 8); }
    void PressAltDown() {
        const LPARAM data =
            1 | (static_cast<LPARAM>(::MapVirtualKeyA(VK_DOWN, 0)) << 16) | (1 << 29);
        ::PostMessageA(edit_, WM_SYSKEYDOWN, VK_DOWN, data);
        ::PostMessageA(edit_, WM_SYSKEYUP, VK_DOWN, data | static_cast<LPARAM>(0xC0000000u));
    }
    // The edit's text after typing into it has been handled.
    void TypeIntoField(const std::string& text) {
        TypeInto(edit_, text);
        WaitUntil([&] { return TextOf(edit_) == Upper(text); }, "the field to read " + text,
                  &Process());
    }

    DialogControls WaitForDialog() {
        DialogControls d;
        d.window = WaitForTopLevel(Process(), {kFormClass, std::string("Select Directory"), nullptr,
                                               "the select-directory dialog"});
        d.nameEdit = RequireChild(d.window, "EDIT");
        std::vector<HWND> lists = ChildrenOfClass(d.window, "LISTBOX");
        if (lists.size() != 2) throw DriverError("the dialog should have two lists");
        // The directory list is the left one.
        RECT a{}, b{};
        ::GetWindowRect(lists[0], &a);
        ::GetWindowRect(lists[1], &b);
        d.dirList = a.left < b.left ? lists[0] : lists[1];
        d.drives = RequireChild(d.window, "COMBOBOX");
        d.ok = RequireButton(d.window, "OK");
        d.cancel = RequireButton(d.window, "Cancel");
        return d;
    }
    void WaitForName(const DialogControls& d, const std::string& name) {
        WaitUntil([&] { return SamePath(TextOf(d.nameEdit), name); },
                  "the dialog's name edit to read " + name, &Process());
    }
    void WaitForDialogGone(const DialogControls& d) {
        WaitUntil([&] { return !::IsWindow(d.window) || !::IsWindowVisible(d.window); },
                  "the dialog to close", &Process());
    }
    // Across processes the platform hands list texts over in wide characters.
    static std::string RowText(const DialogControls& d, int row) {
        wchar_t wide[MAX_PATH] = L"";
        ::SendMessageW(d.dirList, LB_GETTEXT, row, reinterpret_cast<LPARAM>(wide));
        char text[MAX_PATH] = "";
        ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        return text;
    }
    // Double-clicks the directory row that shows `name`.
    void OpenRow(const DialogControls& d, const std::string& name) {
        const int count = static_cast<int>(::SendMessageA(d.dirList, LB_GETCOUNT, 0, 0));
        int row = -1;
        for (int i = 0; i < count && row < 0; ++i)
            if (SamePath(RowText(d, i), name)) row = i;
        if (row < 0) throw DriverError("no row " + name + " in the directory list");
        const int top = static_cast<int>(::SendMessageA(d.dirList, LB_GETTOPINDEX, 0, 0));
        if (row < top || row - top >= 7) ::SendMessageA(d.dirList, LB_SETTOPINDEX, row, 0);
        const int y = (row - static_cast<int>(::SendMessageA(d.dirList, LB_GETTOPINDEX, 0, 0))) *
                          kDirRowHeight +
                      kDirRowHeight / 2;
        const LPARAM at = MAKELPARAM(40, y);
        ::PostMessageA(d.dirList, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::PostMessageA(d.dirList, WM_LBUTTONUP, 0, at);
        ::PostMessageA(d.dirList, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::PostMessageA(d.dirList, WM_LBUTTONUP, 0, at);
    }
    // Chooses a drive in the drive box as a user would.
    void ChooseDrive(const DialogControls& d, char letter) {
        const DWORD drives = ::GetLogicalDrives();
        int index = 0;
        for (char c = 'A'; c < letter; ++c)
            if (drives & (1u << (c - 'A'))) ++index;
        ::SendMessageA(d.drives, CB_SETCURSEL, index, 0);
        ::PostMessageA(d.window, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(d.drives), CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(d.drives));
    }
    // Waits until the dialog shows a directory on the drive.
    void WaitForDrive(const DialogControls& d, char letter) {
        const std::string prefix = std::string(1, letter) + ":\\";
        try {
            WaitUntil([&] { return Upper(TextOf(d.nameEdit)).rfind(prefix, 0) == 0; },
                      "the dialog to move to drive " + prefix, &Process());
        } catch (const DriverError& error) {
            throw DriverError(std::string(error.what()) + "; it shows " + TextOf(d.nameEdit));
        }
    }
    void ExpectFreeSpaceLabel(const std::string& text) {
        WaitUntil([&] { return FreeSpaceLabelShows(setup_, text); },
                  "the free-space label to show \"" + text + "\"", &Process());
    }
    // The free space of a drive that others write to while the test runs
    // (drive C: is the host's disk, counted uncapped): the label's figure
    // within 20 units of the drive's figure now.
    void ExpectFreeSpaceLabelOf(char drive) {
        WaitUntil(
            [&] {
                const std::int64_t now = FreeBytes(drive) / 1024000;
                for (std::int64_t units = now - 20; units <= now + 20; ++units)
                    if (units >= 0 && FreeSpaceLabelShows(setup_, std::to_string(units) + " MB"))
                        return true;
                return false;
            },
            std::string("the free-space label to show the free space of ") + drive + ":",
            &Process());
    }
    // No message dialog within a moment of the free space being shown.
    void ExpectNoWarning() {
        ::Sleep(500);
        EXPECT_EQ(nullptr, FindTopLevel(Process().Id(), {kMessageDialogClass, std::nullopt, nullptr,
                                                         "a message dialog"}));
    }
    void Exit() {
        Click(ControlsOf(setup_).exitButton);
        ExpectCleanExit();
    }

    HWND setup_ = nullptr;
    HWND edit_ = nullptr;
};

TEST_F(DirectoryField, ButtonOpensTheDialogAndAPickedDirectoryFillsTheField) {
    RemoveDirectoryTree("C:\\QPICK");
    ASSERT_TRUE(MakeDirectories("C:\\QPICK"));
    OpenSetup();
    Screenshot(setup_, "field");
    RECT field{};
    ::GetClientRect(ButtonContainer(), &field);
    EXPECT_EQ(field.right, 16);
    EXPECT_EQ(field.bottom, 17);

    ClickEllipsis();
    DialogControls d = WaitForDialog();
    // Empty field, no earlier directory: the dialog opens where setup.exe was started.
    WaitForName(d, Medium().Dir());
    Screenshot(d.window, "dialog");
    const SIZE client = ClientSizeOf(d.window);
    EXPECT_EQ(client.cx, 424);
    EXPECT_EQ(client.cy, 255);
    RECT outer{};
    ::GetWindowRect(d.window, &outer);
    EXPECT_LE(std::abs((outer.left + outer.right) - ::GetSystemMetrics(SM_CXSCREEN)), 1);
    EXPECT_LE(std::abs((outer.top + outer.bottom) - ::GetSystemMetrics(SM_CYSCREEN)), 1);
    HWND help = FindChild(d.window, "BUTTON", std::string("Help"));
    EXPECT_TRUE(help == nullptr || !::IsWindowVisible(help));
    // Offered where the platform tells of a network, as Wine does.
    HWND network = FindChild(d.window, "BUTTON", std::string("Network..."));
    EXPECT_EQ(network != nullptr && ::IsWindowVisible(network),
              (::GetSystemMetrics(SM_NETWORK) & 1) != 0);

    OpenRow(d, "C:\\");
    WaitForName(d, "C:\\");
    OpenRow(d, "QPICK");
    WaitForName(d, "C:\\QPICK");
    Click(d.ok);
    WaitForDialogGone(d);
    WaitUntil([&] { return TextOf(edit_) == "C:\\QPICK"; }, "the field to show C:\\QPICK",
              &Process());
    ExpectFreeSpaceLabelOf('C');

    // The picked directory is now where an empty field's dialog starts.
    TypeInto(edit_, "");
    WaitUntil([&] { return TextOf(edit_).empty(); }, "the field to be emptied", &Process());
    PressAltDown();
    d = WaitForDialog();
    WaitForName(d, "C:\\QPICK");
    Click(d.cancel);
    WaitForDialogGone(d);
    Exit();
    RemoveDirectoryTree("C:\\QPICK");
}

TEST_F(DirectoryField, NewDirectoryIsCreatedWithItsParentsOnlyAfterYes) {
    RemoveDirectoryTree("C:\\QNEW");
    OpenSetup();
    PressAltDown();
    const DialogControls d = WaitForDialog();
    TypeInto(d.nameEdit, "c:\\qnew\\one\\two");
    WaitForName(d, "c:\\qnew\\one\\two");
    Click(d.ok);
    ExpectDialog("Confirm", "The specified directory does not exist. Create it?", IDNO);
    EXPECT_TRUE(::IsWindowVisible(d.window)) << "No closed the dialog";
    EXPECT_EQ(::GetFileAttributesA("C:\\QNEW"), INVALID_FILE_ATTRIBUTES) << "No created it";

    Click(d.ok);
    ExpectDialog("Confirm", "The specified directory does not exist. Create it?", IDYES);
    WaitForDialogGone(d);
    // Made once the dialog has closed, so a moment after it is gone.
    WaitUntil(
        [] {
            const DWORD made = ::GetFileAttributesA("C:\\QNEW\\ONE\\TWO");
            return made != INVALID_FILE_ATTRIBUTES && (made & FILE_ATTRIBUTE_DIRECTORY) != 0;
        },
        "C:\\QNEW\\ONE\\TWO to be made", &Process());
    WaitUntil([&] { return TextOf(edit_) == "C:\\QNEW\\ONE\\TWO"; },
              "the field to show the new one", &Process());

    // The install directory followed: the install's question names it.
    const SetupWindowControls controls = ControlsOf(setup_);
    ToggleListItem(controls.componentList, 0);
    WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install to be enabled",
              &Process());
    Click(controls.installButton);
    const WindowQuery dialog{kMessageDialogClass, std::nullopt, nullptr, "a message dialog"};
    WaitUntil([&] { return Process().HasExited() || FindTopLevel(Process().Id(), dialog); },
              "the install's question or the end of the program");
    if (!Process().HasExited())
        ExpectDialog("Information", "Ready to install Quarnel to a C:\\QNEW\\ONE\\TWO\\ ?", IDNO);
    ExpectCleanExit();
    RemoveDirectoryTree("C:\\QNEW");
}

TEST_F(DirectoryField, CancelReportsTheStartDirectoryAndKeepsTheText) {
    ASSERT_TRUE(MakeDirectories("M:\\QSTART")) << "drive M: is not linked into the prefix";
    OpenSetup();
    TypeIntoField("m:\\qstart");
    ClickEllipsis();
    const DialogControls d = WaitForDialog();
    WaitForName(d, "M:\\QSTART");
    ChooseDrive(d, 'C');
    WaitForDrive(d, 'C');
    Click(d.cancel);
    WaitForDialogGone(d);
    // The figure is M:'s, where the dialog started, not C:'s, where it was left.
    ExpectFreeSpaceLabel(FreeSpaceFigure(FreeBytes('M')));
    if (FreeBytes('M') >= 15000000) ExpectNoWarning();
    EXPECT_EQ(TextOf(edit_), "M:\\QSTART");
    Exit();
}

TEST_F(DirectoryField, LabelAcceleratorsMoveTheFocusInTheDialog) {
    OpenSetup();
    ClickEllipsis();
    const DialogControls d = WaitForDialog();
    const auto pressAlt = [&](char letter) {
        HWND focus = FocusOf(d.window);
        const LPARAM data = 1 | (1 << 29);
        ::PostMessageA(focus, WM_SYSKEYDOWN, static_cast<WPARAM>(letter), data);
        ::PostMessageA(focus, WM_SYSCHAR, static_cast<WPARAM>(letter + ('a' - 'A')), data);
        ::PostMessageA(focus, WM_SYSKEYUP, static_cast<WPARAM>(letter),
                       data | static_cast<LPARAM>(0xC0000000u));
    };
    pressAlt('D');
    WaitUntil([&] { return FocusOf(d.window) == d.dirList; }, "Alt+D to focus the directories",
              &Process());
    pressAlt('R');
    WaitUntil(
        [&] { return FocusOf(d.window) == d.drives || ::GetParent(FocusOf(d.window)) == d.drives; },
        "Alt+R to focus the drives", &Process());
    pressAlt('N');
    WaitUntil([&] { return FocusOf(d.window) == d.nameEdit; }, "Alt+N to focus the name",
              &Process());
    Click(d.cancel);
    WaitForDialogGone(d);
    Exit();
}

TEST_F(DirectoryField, FieldNamingAMissingDirectoryOpensAtTheCurrentDirectory) {
    OpenSetup();
    TypeIntoField("c:\\no\\such\\dir");
    ClickEllipsis();
    const DialogControls d = WaitForDialog();
    WaitForName(d, Medium().Dir());
    Click(d.cancel);
    WaitForDialogGone(d);
    ExpectFreeSpaceLabelOf('C');
    EXPECT_EQ(TextOf(edit_), "C:\\NO\\SUCH\\DIR");
    Exit();
}

TEST_F(DirectoryField, DriveBeyondKShowsItsOwnFreeSpace) {
    ASSERT_NE(FreeBytes('M'), -1) << "drive M: is not linked into the prefix";
    OpenSetup();
    ClickEllipsis();
    const DialogControls d = WaitForDialog();
    // Typed: a drive linked into a running prefix may be missing from the
    // platform's drive list for a while, though its files can be reached.
    TypeInto(d.nameEdit, "m:\\");
    WaitForDrive(d, 'M');
    Click(d.ok);
    WaitForDialogGone(d);
    const std::string figure = FreeSpaceFigure(FreeBytes('M'));
    ExpectFreeSpaceLabel(figure);
    EXPECT_NE(figure, FreeSpaceFigure(FreeBytes('C')));
    EXPECT_EQ(TextOf(edit_).rfind("M:\\", 0), 0u) << TextOf(edit_);
    Exit();
}

TEST_F(DirectoryField, SmallDriveShowsItsExactFigureAndTheWarning) {
    const std::int64_t free = FreeBytes('N');
    if (free < 0 || free >= 15000000)
        GTEST_SKIP() << "drive N: is not a small tmpfs here (free " << free << ")";
    OpenSetup();
    ClickEllipsis();
    const DialogControls d = WaitForDialog();
    TypeInto(d.nameEdit, "n:\\");
    WaitForDrive(d, 'N');
    Click(d.ok);
    ExpectDialog("Warning", "Not enough free space", IDOK);
    ExpectFreeSpaceLabel(FreeSpaceFigure(free));
    Screenshot(setup_, "small-drive");
    Exit();
}

TEST_F(DirectoryField, DriveLetterWithNothingBehindItShowsNothingFree) {
    ASSERT_EQ(FreeBytes('Q'), -1) << "drive Q: should have nothing behind it";
    OpenSetup();
    ClickEllipsis();
    const DialogControls d = WaitForDialog();
    TypeInto(d.nameEdit, "q:\\quarnel");
    WaitForName(d, "q:\\quarnel");
    Click(d.ok);
    ExpectDialog("Confirm", "The specified directory does not exist. Create it?", IDYES);
    ExpectDialog("Warning", "Not enough free space", IDOK);
    ExpectFreeSpaceLabel("0 MB");
    EXPECT_EQ(TextOf(edit_), "Q:\\QUARNEL");
    Exit();
}

}  // namespace
}  // namespace e2e
