// The removal of the suite. It runs from start to end in one go and reports
// only through the status line and its messages; a deletion that fails after
// the question is passed over.
#include <exception>

#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "engine/RemovalList.h"
#include "engine/RenameList.h"
#include "engine/SetupLog.h"
#include "engine/SetupProcedure.h"
#include "engine/ShellLinks.h"

namespace engine {

namespace {

constexpr char kCannotOpenRecord[] = "Unable to open system registry key";

// A deletion the log tells of, whether it went or not.
void DeleteLogged(const std::string& mask, const char* what) {
    if (DeleteMatchingFiles(mask)) {
        LogLine(std::string(what) + " deleted: " + mask);
    } else {
        LogError(std::string("Cannot delete ") + what + " " + mask);
    }
}

void DeleteMenuGroup(const std::string& programs) {
    if (programs.empty()) return;
    const std::string group = programs + kMenuGroupName;
    if (IsDirectoryPresent(group)) DeleteLogged(programs + kMenuGroupShortcuts, "Shortcuts");
    // What the shortcuts left (a read-only one, anything else put there)
    // goes with the folder.
    if (IsDirectoryPresent(group)) {
        if (ClearDirectoryTree(group, true)) {
            LogLine("Menu group deleted: " + group);
        } else {
            LogError("Cannot delete the menu group " + group);
        }
    }
}

Outcome RemovalSteps(std::string& installDir, SetupHost& host) {
    installDir.clear();
    host.Status("Processing system registry");
    {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        // A key that cannot be opened leaves the directory empty, and is
        // told as a record without a directory is.
        if (registry.OpenRegistryKey(records::kInstallKey, true)) {
            installDir = registry.ReadTextValue(records::kPathValue);
        }
        if (installDir.empty()) {
            host.Fail(kCannotOpenRecord);
            host.RequestEnd();
            return Outcome::NoRecord;
        }
        // Only No stops: a box closed otherwise goes on.
        if (!host.Confirm("Ok to remove Quarnel from " + installDir + " ?",
                          ui::TMsgDlgType::mtWarning)) {
            host.RequestEnd();
            return Outcome::Cancelled;
        }
    }
    {
        // No key open: the record paths are taken from the root.
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        DeleteInstallationRecords(registry);
    }

    host.Status("Getting menu folder");
    const std::string programs = SpecialFolderPath(kProgramsFolder);
    const std::string startup = SpecialFolderPath(kStartupFolder);

    const std::string driver = SystemDirectoryPath() + kDriverFileName;
    if (IsFilePresent(driver)) DeleteLogged(driver, "Driver");

    host.Status("Removing menu entries");
    DeleteMenuGroup(programs);
    if (IsDirectoryPresent(startup)) DeleteLogged(startup + kStartupShortcutName, "Shortcut");

    DeleteComponentFiles(installDir);
    LogLine("Component files deleted where present below " + installDir);

    // The running program may be this very copy, so it goes at the next
    // start. A list that cannot be written leaves it there; the log says so.
    ScheduleDeletionAtStartup(SystemRenameList(), installDir + kInstalledSetupName);

    host.Status("Complete", false);
    host.ShowInformation("You have to reboot your system to completely uninstall Quarnel");
    return Outcome::Done;
}

}  // namespace

Outcome RunRemoval(std::string& installDir, SetupHost& host) {
    try {
        return RemovalSteps(installDir, host);
    } catch (const std::exception& error) {
        LogError(error.what());
        throw;
    }
}

}  // namespace engine
