// The classic select-directory dialog: a directory tree, the files of the
// shown directory, a drive box, and either the path or an edit for a name
// that may not exist yet (created on request).
#pragma once

#include <functional>
#include <string>

#include "ui/form.h"

namespace ui {
class TButton;
class TEdit;
}  // namespace ui

namespace controls {

class TDirectoryListBox;
class TFileListBox;
class TDriveComboBox;
class TPathLabel;

enum TSelectDirOpt : unsigned { sdAllowCreate = 1, sdPerformCreate = 2, sdPrompt = 4 };
using TSelectDirOpts = unsigned;

// The platform's dialog that connects a drive letter to the network (the
// Win32 WNetConnectionDialog of MPR.DLL), when there is a network to
// connect to.
using NetworkConnectDialog = DWORD(WINAPI*)(HWND owner, DWORD kind);
using NetworkDialogFinder = std::function<NetworkConnectDialog()>;

class TSelectDirDlg : public ui::TForm {
    QUARNEL_COMPONENT(TSelectDirDlg, ui::TForm)
public:
    // Builds the dialog for a screen of `pixelsPerInch`.
    TSelectDirDlg(TSelectDirOpts options, int helpContext, int pixelsPerInch);

    // Where the dialog opens; a bare drive opens at its current directory,
    // an unreadable directory at the process's current directory.
    void SetStartDirectory(const std::string& directory);
    // The result: the name edit's text as typed when creating is allowed,
    // else the shown directory.
    std::string Directory() const;

    TDirectoryListBox* DirList = nullptr;
    TFileListBox* FileList = nullptr;
    TDriveComboBox* DriveList = nullptr;
    ui::TEdit* DirEdit = nullptr;
    TPathLabel* DirLabel = nullptr;
    ui::TButton* NetButton = nullptr;
    ui::TButton* OKButton = nullptr;
    ui::TButton* CancelButton = nullptr;
    ui::TButton* HelpButton = nullptr;

    // Tests put a stand-in here; an empty finder restores the platform's.
    static void SetNetworkDialogFinder(NetworkDialogFinder finder);

private:
    void DirListChange(ui::TComponent* sender);
    void DriveListChange(ui::TComponent* sender);
    void NetButtonClick(ui::TComponent* sender);
    void FormClose(ui::TComponent* sender, ui::TCloseAction& action);
    void ScaleTo(int pixelsPerInch);

    TSelectDirOpts options_;
    NetworkConnectDialog connectDialog_ = nullptr;
};

// Runs the dialog from `directory`; on OK answers true and leaves the chosen
// directory there, created first when the options ask for it.
bool SelectDirectory(std::string& directory, TSelectDirOpts options, int helpContext);

}  // namespace controls
