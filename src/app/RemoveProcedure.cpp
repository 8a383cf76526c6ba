// The removal of the suite, run by the setup window's Remove button. It runs
// from start to end inside the click handler; after it returns, by whatever
// way, the button's modal result ends the program.
#include "app/SetupState.h"
#include "app/setup1.h"
#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "engine/RemovalList.h"
#include "engine/RenameList.h"
#include "engine/ShellLinks.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/std_controls.h"

namespace app {

namespace {

constexpr char kCannotOpenRecord[] = "Unable to open system registry key";

// Reads the recorded install directory into InstallDir and asks whether to
// remove from there. False, after a terminate request, when the record gives
// no directory or the user says No. InstallDir is empty on entry.
bool ConfirmRecordedDirectory() {
    SetupRegistryGroup group;
    engine::TRegistry& registry = group.Registry();
    // A key that cannot be opened leaves InstallDir empty, and is told as a
    // record without a directory is.
    if (registry.OpenRegistryKey(engine::records::kInstallKey, true)) {
        InstallDir = registry.ReadTextValue(engine::records::kPathValue);
    }
    if (InstallDir.empty()) {
        ui::MessageDlg(kCannotOpenRecord, ui::TMsgDlgType::mtError, ui::TMsgDlgButtons::mbOK);
        ui::Application()->Terminate();
        return false;
    }
    // Only No stops: the box's close box answers Cancel, which goes on.
    if (ui::MessageDlg("Ok to remove Quarnel from " + InstallDir + " ?", ui::TMsgDlgType::mtWarning,
                       ui::TMsgDlgButtons::mbYesNo) == ui::mrNo) {
        ui::Application()->Terminate();
        return false;
    }
    registry.CloseRegistryKey();
    return true;
}

void DeleteMenuGroup(const std::string& programs) {
    if (programs.empty()) return;
    const std::string group = programs + engine::kMenuGroupName;
    if (engine::IsDirectoryPresent(group)) {
        engine::DeleteMatchingFiles(programs + engine::kMenuGroupShortcuts);
    }
    // What the shortcuts left (a read-only one, anything else put there)
    // goes with the folder.
    if (engine::IsDirectoryPresent(group)) engine::ClearDirectoryTree(group, true);
}

}  // namespace

void TSetupForm::RemoveButtonClick(ui::TComponent*) {
    InstallDir.clear();
    ShowStatus("Processing system registry");
    if (!ConfirmRecordedDirectory()) return;

    {
        // No key open: the record paths are taken from the root.
        SetupRegistryGroup group;
        engine::DeleteInstallationRecords(group.Registry());
        group.Registry().CloseRegistryKey();
    }

    ShowStatus("Getting menu folder");
    const std::string programs = engine::SpecialFolderPath(engine::kProgramsFolder);
    const std::string startup = engine::SpecialFolderPath(engine::kStartupFolder);

    const std::string driver = engine::SystemDirectoryPath() + engine::kDriverFileName;
    if (engine::IsFilePresent(driver)) engine::DeleteMatchingFiles(driver);

    ShowStatus("Removing menu entries");
    DeleteMenuGroup(programs);
    if (engine::IsDirectoryPresent(startup)) {
        engine::DeleteMatchingFiles(startup + engine::kStartupShortcutName);
    }

    engine::DeleteComponentFiles(InstallDir);

    // The running program may be this very copy, so it goes at the next
    // start. A list that cannot be written leaves it there, unreported.
    engine::ScheduleDeletionAtStartup(engine::WindowsDirectoryPath() + engine::kRenameListName,
                                      InstallDir + engine::kInstalledSetupName);

    StatusLabel->SetCaption("Complete");
    ui::MessageDlg("You have to reboot your system to completely uninstall Quarnel",
                   ui::TMsgDlgType::mtInformation, ui::TMsgDlgButtons::mbOK);
}

}  // namespace app
