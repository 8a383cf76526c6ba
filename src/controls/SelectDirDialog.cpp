#include "controls/SelectDirDialog.h"

#include <cctype>
#include <memory>

#include "controls/DirectoryCreation.h"
#include "controls/FileSystemLists.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/handles.h"
#include "ui/std_controls.h"

namespace controls {
namespace {

constexpr int kDesignPixelsPerInch = 96;
// The kind of connection the network dialog offers: a drive letter
// (RESOURCETYPE_DISK).
constexpr DWORD kConnectDrive = 1;

NetworkDialogFinder& Finder() {
    static NetworkDialogFinder finder;
    return finder;
}

// The connection dialog, when a network is installed. The capability query
// of 16-bit Windows (WNetGetCaps, in USER) is no part of the 32-bit user
// library; a 32-bit program asks the system metrics whether there is a
// network, and finds the dialog in the network library.
NetworkConnectDialog FindPlatformConnectDialog() {
    if ((::GetSystemMetrics(SM_NETWORK) & 1) == 0) return nullptr;
    // MPR.DLL, the Win32 network library of every Windows 95 and 98, loaded
    // on the first need and kept until the program ends.
    static const ui::LoadedLibrary library("MPR.DLL");
    if (library.Get() == nullptr) return nullptr;
    FARPROC entry = ::GetProcAddress(library.Get(), "WNetConnectionDialog");
    return reinterpret_cast<NetworkConnectDialog>(reinterpret_cast<void*>(entry));
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH] = "";
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
}

void RegisterDialogClasses() {
    static bool registered = false;
    if (registered) return;
    RegisterFileSystemListClasses();
    registered = true;
}

}  // namespace

void TSelectDirDlg::SetNetworkDialogFinder(NetworkDialogFinder finder) {
    Finder() = std::move(finder);
}

TSelectDirDlg::TSelectDirDlg(TSelectDirOpts options, int helpContext, int pixelsPerInch)
    : options_(options) {
    RegisterDialogClasses();
    RegisterHandler("DirListChange", [this](ui::TComponent* s) { DirListChange(s); });
    RegisterHandler("DriveListChange", [this](ui::TComponent* s) { DriveListChange(s); });
    RegisterHandler("NetButtonClick", [this](ui::TComponent* s) { NetButtonClick(s); });
    RegisterEventHandler(
        "FormClose",
        ui::TCloseEvent([this](ui::TComponent* s, ui::TCloseAction& a) { FormClose(s, a); }));
    CreateFromResource("SELECTDIRFORM");
    DirList = Find<TDirectoryListBox>("DirList");
    FileList = Find<TFileListBox>("FileList");
    DriveList = Find<TDriveComboBox>("DriveList");
    DirEdit = Find<ui::TEdit>("DirEdit");
    DirLabel = Find<TPathLabel>("DirLabel");
    NetButton = Find<ui::TButton>("NetButton");
    OKButton = Find<ui::TButton>("OKButton");
    CancelButton = Find<ui::TButton>("CancelButton");
    HelpButton = Find<ui::TButton>("HelpButton");

    // The lists show the process's current directory until a start is set.
    DirListChange(DirList);

    connectDialog_ = Finder() ? Finder()() : FindPlatformConnectDialog();
    NetButton->SetVisible(connectDialog_ != nullptr);

    const bool allowCreate = (options_ & sdAllowCreate) != 0;
    DirEdit->SetVisible(allowCreate);
    DirLabel->SetVisible(!allowCreate);

    if (pixelsPerInch != kDesignPixelsPerInch) ScaleTo(pixelsPerInch);

    if (helpContext == 0) {
        HelpButton->Hide();
        const int okLeft = CancelButton->Left();
        CancelButton->SetBounds(HelpButton->Left(), CancelButton->Top(), CancelButton->Width(),
                                CancelButton->Height());
        OKButton->SetBounds(okLeft, OKButton->Top(), OKButton->Width(), OKButton->Height());
    }
}

void TSelectDirDlg::ScaleTo(int pixelsPerInch) {
    ScaleBy(pixelsPerInch, kDesignPixelsPerInch);
    // The file list takes the dialog's font, in grey.
    FileList->Font() = Font();
    FileList->Font().SetColor(ui::clGrayText);
}

void TSelectDirDlg::SetStartDirectory(const std::string& directory) {
    std::string pattern = directory;
    if (pattern.empty() || pattern.back() != '\\') pattern += '\\';
    pattern += "*.*";
    char full[MAX_PATH] = "";
    char* filePart = nullptr;
    const DWORD length = ::GetFullPathNameA(pattern.c_str(), MAX_PATH, full, &filePart);
    if (length == 0 || length >= MAX_PATH) return;
    const std::string expanded(full, length);
    if (expanded.size() < 2 || !std::isalpha(static_cast<unsigned char>(expanded[0])) ||
        expanded[1] != ':')
        return;
    DriveList->SetDrive(expanded[0]);
    const std::string dir = WithoutTrailingBackslash(ExtractFilePath(expanded), 0);
    if (!DirList->SetDirectory(dir)) {
        const std::string current = CurrentDirectory();
        DirList->SetDirectory(current);
        if (!current.empty()) DriveList->SetDrive(current[0]);
    }
    DirListChange(DirList);
}

std::string TSelectDirDlg::Directory() const {
    if ((options_ & sdAllowCreate) != 0) return DirEdit->Text();
    return DirList->Directory();
}

void TSelectDirDlg::DirListChange(ui::TComponent*) {
    const std::string& dir = DirList->Directory();
    DirLabel->SetDirectory(dir);
    FileList->SetDirectory(dir);
    DirEdit->SetText(dir);
    if (DirEdit->HandleAllocated()) ::SendMessageA(DirEdit->Handle(), EM_SETSEL, 0, -1);
    DriveList->SetDrive(DirList->Drive());
}

void TSelectDirDlg::DriveListChange(ui::TComponent*) {
    // A drive that cannot be read leaves the list where it was.
    if (!DirList->SetDrive(DriveList->Drive())) DriveList->SetDrive(DirList->Drive());
}

void TSelectDirDlg::NetButtonClick(ui::TComponent*) {
    if (connectDialog_ == nullptr) return;
    connectDialog_(Handle(), kConnectDrive);
    DriveList->BuildList();
}

void TSelectDirDlg::FormClose(ui::TComponent*, ui::TCloseAction& action) {
    if (ModalResult() != ui::mrOk) return;
    const bool ask = (options_ & sdAllowCreate) != 0 && (options_ & sdPrompt) != 0;
    if (ask && !DirectoryExists(DirEdit->Text()) &&
        ui::MessageDlg("The specified directory does not exist. Create it?",
                       ui::TMsgDlgType::mtConfirmation, ui::TMsgDlgButtons::mbYesNo) != ui::mrYes)
        action = ui::TCloseAction::caNone;
}

bool SelectDirectory(std::string& directory, TSelectDirOpts options, int helpContext) {
    auto dialog =
        std::make_unique<TSelectDirDlg>(options, helpContext, TSelectDirDlg::ScreenPixelsPerInch());
    dialog->SetStartDirectory(directory);
    if (dialog->ShowModal() != ui::mrOk) return false;
    directory = dialog->Directory();
    if ((options & sdPerformCreate) != 0) ForceDirectories(directory);
    return true;
}

}  // namespace controls
