// The Install button: checks the choices and the room on the drive, asks,
// writes the installation records, copies the suite from the medium, makes the
// shortcuts, opens the readme and offers the restart the driver needs. It runs
// in one go on the GUI thread; the status line and the gauge repaint
// themselves as it goes. Nothing done is undone when a later step fails: the
// removal clears a partial install with its own lists.
#include <windows.h>

#include "app/Platform.h"
#include "app/SetupState.h"
#include "app/SystemActions.h"
#include "app/setup1.h"
#include "app/setup2.h"
#include "app/setupf.h"
#include "controls/CheckListBox.h"
#include "controls/Gauge.h"
#include "engine/ComponentTable.h"
#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "engine/RemovalList.h"
#include "engine/ShellLinks.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/std_controls.h"

namespace app {

namespace {

constexpr int kProgramsFolder = CSIDL_PROGRAMS;
constexpr int kStartupFolder = CSIDL_STARTUP;
// Ten display units of 1024000 bytes: the least room an install starts with.
constexpr std::int32_t kLeastFreeBytes = 10240000;

void ShowError(const std::string& text) {
    ui::MessageDlg(text, ui::TMsgDlgType::mtError, ui::TMsgDlgButtons::mbOK);
}

int Ask(const std::string& question) {
    return ui::MessageDlg(question, ui::TMsgDlgType::mtInformation, ui::TMsgDlgButtons::mbYesNo);
}

}  // namespace

void TSetupForm::InstallButtonClick(ui::TComponent*) {
    if (!AnyComponentChosen()) {
        ShowError("You have to select at least one component to install");
        return;
    }
    // The steps below read the directory's first and last characters; an
    // emptied field has neither, and nothing is to be made for it.
    if (InstallDir.empty()) {
        ShowError("Please enter the directory to install Quarnel to");
        return;
    }

    // Refused before anything is made: below a longer directory the last
    // files of the install could not be written, and a copy that fails half
    // way leaves records and directories behind.
    const std::size_t backslash = engine::EndsWithBackslash(InstallDir) ? 0 : 1;
    if (InstallDir.size() + backslash > engine::LongestInstallDirectory()) {
        ShowError(
            ui::Format("The directory name is too long. Please choose one of at most %u "
                       "characters",
                       static_cast<unsigned>(engine::LongestInstallDirectory() - 1)));
        return;
    }

    // One level only; a missing parent is made by the first copy.
    if (!engine::IsDirectoryPresent(InstallDir)) engine::MakeDirectory(InstallDir);
    if (!engine::EndsWithBackslash(InstallDir)) InstallDir += '\\';

    const int drive = DriveNumberFromPath(InstallDir);
    FreeSpaceLabel->SetCaption(FreeSpaceText(DriveFreeBytes(drive)));
    if (DriveFreeBytes(drive) < kLeastFreeBytes) {
        ShowError("Not enough free space available");
        return;
    }

    // Only the answer No stops here; a box closed otherwise goes on.
    if (Ask("Ready to install Quarnel to a " + InstallDir + " ?") == ui::mrNo) return;

    // Set only: it shows when the label is next painted.
    StatusLabel->SetCaption("Processing system registry");
    {
        SetupRegistryGroup group;
        engine::TRegistry& registry = group.Registry();
        if (!registry.OpenRegistryKey(engine::records::kInstallKey, true)) {
            ShowError("Error updating system registry");
            registry.CloseRegistryKey();
            ui::Application()->Terminate();
            return;
        }
        registry.WriteTextValue(engine::records::kVersionValue, engine::records::kVersion);
        registry.WriteTextValue(engine::records::kPathValue, InstallDir);
        registry.CloseRegistryKey();
    }
    {
        // Without this entry the suite still works; it is only not listed.
        SetupRegistryGroup group;
        engine::TRegistry& registry = group.Registry();
        if (registry.OpenRegistryKey(engine::records::kUninstallKey, true)) {
            registry.WriteTextValue(engine::records::kDisplayNameValue,
                                    engine::records::kDisplayName);
            registry.WriteTextValue(engine::records::kUninstallStringValue,
                                    engine::records::UninstallCommand(InstallDir));
        }
        registry.CloseRegistryKey();
    }

    ShowStatus("Creating main menu entry");
    std::string programs, startup;
    if (MenuCreateCheckBox->Checked()) programs = engine::SpecialFolderPath(kProgramsFolder);
    if (CheckBox2->Checked()) startup = engine::SpecialFolderPath(kStartupFolder);
    const std::string group = programs + engine::kMenuGroupName;
    if (!programs.empty() && !engine::IsDirectoryPresent(group)) engine::MakeDirectory(group);
    const auto groupPresent = [&] {
        return !programs.empty() && engine::IsDirectoryPresent(group);
    };

    ui::TComponent* gauge = CurrentProgressBar;

    ShowStatus("Copying setup file");
    engine::CopyFileWithProgress(SourceDir + "\\setup.exe", InstallDir + engine::kSetupCopyName,
                                 gauge);

    if (groupPresent()) {
        ShowStatus("Creating SETUP shortcut");
        engine::CreateShellLink(InstallDir + "Setup.EXE", "", InstallDir,
                                programs + "\\Quarnel\\Quarnel Setup.lnk");
    }

    const auto& table = engine::ComponentTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!ProductToInstall->Checked(static_cast<int>(i))) continue;
        const engine::Component& component = table[i];

        ShowStatus("Creating subdirectory");
        for (const char* directory : component.directories) {
            if (directory == nullptr) continue;
            if (!engine::IsDirectoryPresent(InstallDir + directory))
                engine::MakeDirectory(InstallDir + directory);
        }
        for (const engine::ComponentFile& file : component.files) {
            if (file.source == nullptr) continue;
            if (file.status != nullptr) ShowStatus(file.status);
            engine::CopyFileWithProgress(SourceDir + file.source, InstallDir + file.destination,
                                         gauge);
        }
        if (MenuCreateCheckBox->Checked() && groupPresent()) {
            ShowStatus(component.shortcut.status);
            engine::CreateShellLink(InstallDir + component.shortcut.target, "",
                                    InstallDir + component.directories[0],
                                    programs + component.shortcut.linkName);
        }
    }

    ShowStatus("Copying VxD");
    engine::CopyFileWithProgress(SourceDir + "\\quarnel",
                                 engine::SystemDirectoryPath() + engine::kDriverFileName, gauge);

    ShowStatus("Processing system registry, adding VxD");
    {
        SetupRegistryGroup group;
        engine::TRegistry& registry = group.Registry();
        if (registry.OpenRegistryKey(engine::records::kDriverKey, true)) {
            registry.WriteByteValue(engine::records::kStartValue, engine::records::kStart,
                                    sizeof engine::records::kStart);
            registry.WriteTextValue(engine::records::kStaticVxdValue, engine::records::kStaticVxd);
        } else {
            // The rest still runs; the pending quit then closes the reboot
            // question unanswered, so Windows does not restart without its driver.
            ShowError("Unable to update system registry for VxD");
            ui::Application()->Terminate();
        }
        registry.CloseRegistryKey();
    }

    // Made whether or not Wardex was chosen this time.
    if (CheckBox2->Checked() && !startup.empty()) {
        engine::CreateShellLink(InstallDir + "WARDEX\\WARDEX.EXE", "", InstallDir + "WARDEX\\",
                                startup + engine::kStartupShortcutName);
    }

    engine::CopyFileWithProgress(SourceDir + "\\readme.", InstallDir + engine::kReadmeCopyName,
                                 gauge);
    if (CheckBox1->Checked()) OpenDocument(Handle(), InstallDir + engine::kReadmeCopyName);

    StatusLabel->SetCaption("Done");

    Hide();
    if (Form1 != nullptr) Form1->Hide();
    if (LicenseForm != nullptr) LicenseForm->Hide();

    if (Ask("Quarnel has been successfully installed. You have to restart Windows. Ok to reboot "
            "?") == ui::mrYes)
        RestartWindows();
}

}  // namespace app
