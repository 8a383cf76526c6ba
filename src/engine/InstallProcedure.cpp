// The install: checks the choices and the room on the drive, asks, writes the
// installation records, copies the suite from the medium, makes the
// shortcuts, opens the readme and offers the restart the driver needs. It
// runs in one go; nothing done is undone when a later step fails: the
// removal clears a partial install with its own lists.
#include <windows.h>

#include <exception>

#include "engine/AnswerFile.h"
#include "engine/DriveSpace.h"
#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "engine/RemovalList.h"
#include "engine/SetupLog.h"
#include "engine/SetupProcedure.h"
#include "engine/ShellLinks.h"
#include "engine/StreamErrors.h"
#include "ui/exceptions.h"

namespace engine {

namespace {

// Ten display units of 1024000 bytes: the least room an install starts with.
constexpr std::int64_t kLeastFreeBytes = 10240000;

Outcome InstallSteps(InstallChoices& choices, SetupHost& host) {
    std::string& installDir = choices.installDir;
    const std::string& sourceDir = choices.sourceDir;

    bool anyComponent = false;
    for (const bool chosen : choices.components) anyComponent = anyComponent || chosen;
    if (!anyComponent) {
        host.Fail("You have to select at least one component to install");
        return Outcome::Refused;
    }
    // The steps below read the directory's first and last characters; an
    // emptied field has neither, and nothing is to be made for it.
    if (installDir.empty()) {
        host.Fail("Please enter the directory to install Quarnel to");
        return Outcome::Refused;
    }
    // Refused before anything is made: below a longer directory the last
    // files of the install could not be written, and a copy that fails half
    // way leaves records and directories behind.
    const std::size_t backslash = EndsWithBackslash(installDir) ? 0 : 1;
    if (installDir.size() + backslash > LongestInstallDirectory()) {
        host.Fail(
            ui::Format("The directory name is too long. Please choose one of at most %u "
                       "characters",
                       static_cast<unsigned>(LongestInstallDirectory() - 1)));
        return Outcome::Refused;
    }

    // One level only; a missing parent is made by the first copy.
    const std::string madeDirectory = installDir;
    const bool made = !IsDirectoryPresent(installDir) &&
                      (MakeDirectory(installDir), IsDirectoryPresent(installDir));
    if (!EndsWithBackslash(installDir)) installDir += '\\';

    const int drive = DriveNumberFromPath(installDir);
    host.ShowFreeSpace(DriveFreeBytes(drive));
    if (DriveFreeBytes(drive) < kLeastFreeBytes) {
        // A refused install leaves nothing behind: the directory just made
        // for it, still empty, goes again.
        if (made) ::RemoveDirectoryA(PlatformPath(madeDirectory).c_str());
        host.Fail("Not enough free space available");
        return Outcome::Refused;
    }

    if (!host.Confirm("Ready to install Quarnel to a " + installDir + " ?",
                      ui::TMsgDlgType::mtInformation)) {
        return Outcome::Cancelled;
    }

    host.Status("Processing system registry", false);
    {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!registry.OpenRegistryKey(records::kInstallKey, true)) {
            host.Fail("Error updating system registry");
            host.RequestEnd();
            return Outcome::Failed;
        }
        registry.WriteTextValue(records::kVersionValue, records::kVersion);
        registry.WriteTextValue(records::kPathValue, installDir);
    }
    {
        // Without this entry the suite still works; it is only not listed.
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (registry.OpenRegistryKey(records::kUninstallKey, true)) {
            registry.WriteTextValue(records::kDisplayNameValue, records::kDisplayName);
            registry.WriteTextValue(records::kUninstallStringValue,
                                    records::UninstallCommand(installDir));
        }
    }

    host.Status("Creating main menu entry");
    // A folder asked for and not found costs its shortcuts; the rest of the
    // install goes on, but it is not complete.
    const char* const lost = "its shortcuts are not made";
    std::string programs, startup;
    if (choices.menuGroup) programs = SpecialFolderPathOrLogged(kProgramsFolder, lost);
    if (choices.startupShortcut) startup = SpecialFolderPathOrLogged(kStartupFolder, lost);
    const bool foldersFound =
        (!choices.menuGroup || !programs.empty()) && (!choices.startupShortcut || !startup.empty());
    const std::string group = programs + kMenuGroupName;
    if (!programs.empty() && !IsDirectoryPresent(group)) MakeDirectory(group);
    const auto groupPresent = [&] { return !programs.empty() && IsDirectoryPresent(group); };

    ui::TComponent* gauge = host.ProgressTarget();

    host.Status("Copying setup file");
    CopyFileWithProgress(sourceDir + "\\setup.exe", SetupCopyIn(installDir), gauge);

    if (groupPresent()) {
        host.Status("Creating SETUP shortcut");
        CreateShellLink(installDir + "Setup.EXE", "", installDir,
                        programs + "\\Quarnel\\Quarnel Setup.lnk");
    }

    const auto& table = ComponentTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!choices.components[i]) continue;
        const Component& component = table[i];

        host.Status("Creating subdirectory");
        for (const char* directory : component.directories) {
            if (directory == nullptr) continue;
            if (!IsDirectoryPresent(installDir + directory)) MakeDirectory(installDir + directory);
        }
        for (const ComponentFile& file : component.files) {
            if (file.source == nullptr) continue;
            if (file.status != nullptr) host.Status(file.status);
            CopyFileWithProgress(sourceDir + file.source, installDir + file.destination, gauge);
        }
        if (choices.menuGroup && groupPresent()) {
            host.Status(component.shortcut.status);
            CreateShellLink(installDir + component.shortcut.target, "",
                            installDir + component.directories[0],
                            programs + component.shortcut.linkName);
        }
    }

    host.Status("Copying VxD");
    CopyFileWithProgress(sourceDir + "\\quarnel", SystemDirectoryPath() + kDriverFileName, gauge);

    host.Status("Processing system registry, adding VxD");
    bool driverRegistered = true;
    {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (registry.OpenRegistryKey(records::kDriverKey, true)) {
            registry.WriteByteValue(records::kStartValue, records::kStart, sizeof records::kStart);
            registry.WriteTextValue(records::kStaticVxdValue, records::kStaticVxd);
        } else {
            // The rest still runs; the pending end then closes the restart
            // question unanswered, so Windows does not restart without its
            // driver.
            driverRegistered = false;
            host.Fail("Unable to update system registry for VxD");
            host.RequestEnd();
        }
    }

    // Only for a Wardex that is there, installed now or by an earlier run:
    // at every logon Windows resolves each start-up shortcut and asks the
    // user to search for a target that is missing.
    if (choices.startupShortcut && !startup.empty() &&
        IsFilePresent(installDir + "WARDEX\\WARDEX.EXE")) {
        CreateShellLink(installDir + "WARDEX\\WARDEX.EXE", "", installDir + "WARDEX\\",
                        startup + kStartupShortcutName);
    }

    CopyFileWithProgress(sourceDir + "\\readme.", installDir + kReadmeCopyName, gauge);
    if (choices.viewReadme) host.OpenReadme(PlatformPath(installDir + kReadmeCopyName));

    // Before the windows go and the restart is offered: a restart taken at
    // once ends the program.
    if (!choices.answerFile.empty()) SaveAnswerFile(choices.answerFile, choices);
    host.Status("Done", false);
    host.HideWindows();
    host.OfferRestart(
        "Quarnel has been successfully installed. You have to restart Windows. Ok to reboot ?");
    return driverRegistered && foldersFound ? Outcome::Done : Outcome::Failed;
}

}  // namespace

Outcome RunInstall(InstallChoices& choices, SetupHost& host) {
    try {
        return InstallSteps(choices, host);
    } catch (const std::exception& error) {
        // Told by the caller as well (the standard error box); logged here,
        // where every way into the install passes.
        LogError(LoggedText(error));
        throw;
    }
}

}  // namespace engine
