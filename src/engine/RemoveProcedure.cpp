// The removal of the suite. It runs from start to end in one go and reports
// only through the status line and its messages; a deletion that fails after
// the question is passed over on the screen, but logged with its reason and
// told by the outcome, so that an unattended removal does not claim success.
#include <exception>

#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "engine/RemovalList.h"
#include "engine/RenameList.h"
#include "engine/SetupLog.h"
#include "engine/SetupProcedure.h"
#include "engine/ShellLinks.h"
#include "engine/StreamErrors.h"

namespace engine {

namespace {

constexpr char kCannotOpenRecord[] = "Unable to open system registry key";

// A deletion the log tells of, whether it went or not; false when something
// stayed. A mask that matches nothing (a shortcut the install was told not
// to make) has nothing to remove.
bool DeleteLogged(const std::string& mask, const char* what) {
    switch (DeleteEveryMatch(mask)) {
        case MatchDeletion::NoMatch:
            return true;
        case MatchDeletion::AllGone:
            LogLine(std::string(what) + " deleted: " + PlatformPath(mask));
            return true;
        default:
            LogError(std::string("Cannot delete ") + what + " " + PlatformPath(mask));
            return false;
    }
}

// False when the group, or anything in it, stayed.
bool DeleteMenuGroup(const std::string& programs) {
    if (programs.empty()) return true;
    const std::string group = programs + kMenuGroupName;
    // What the shortcuts leave (a read-only one, anything else put there)
    // goes with the folder, so a shortcut that stays here is no failure yet.
    if (IsDirectoryPresent(group)) DeleteLogged(programs + kMenuGroupShortcuts, "Shortcuts");
    if (!IsDirectoryPresent(group)) return true;
    if (!ClearDirectoryTree(group, true)) {
        LogError("Cannot delete the menu group " + PlatformPath(group));
        return false;
    }
    LogLine("Menu group deleted: " + PlatformPath(group));
    return true;
}

Outcome RemovalSteps(std::string& installDir, SetupHost& host) {
    installDir.clear();
    host.Status("Processing system registry");
    {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        // A key that cannot be opened leaves the directory empty, and is
        // told as a record without a directory is.
        installDir = records::ReadInstallDir(registry, true);
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
    // False once anything stays that the removal should have removed; what
    // the next Windows start deletes counts as removed.
    bool complete = true;
    {
        // No key open: the record paths are taken from the root.
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        complete = DeleteInstallationRecords(registry);
    }

    host.Status("Getting menu folder");
    // A folder not found is one whose shortcuts were not looked for: they
    // may be there still.
    const char* const lost = "its shortcuts are not removed";
    const std::string programs = SpecialFolderPathOrLogged(kProgramsFolder, lost);
    const std::string startup = SpecialFolderPathOrLogged(kStartupFolder, lost);
    if (programs.empty() || startup.empty()) complete = false;

    const std::string driver = SystemDirectoryPath() + kDriverFileName;
    if (IsFilePresent(driver)) complete = DeleteLogged(driver, "Driver") && complete;

    host.Status("Removing menu entries");
    complete = DeleteMenuGroup(programs) && complete;
    if (IsDirectoryPresent(startup))
        complete = DeleteLogged(startup + kStartupShortcutName, "Shortcut") && complete;

    if (DeleteComponentFiles(installDir)) {
        LogLine("Component files deleted where present below " + PlatformPath(installDir));
    } else {
        LogError("Component files stayed below " + PlatformPath(installDir));
        complete = false;
    }

    // The running program may be this very copy, so it goes at the next
    // start. A list that cannot be written leaves it there; the log says so.
    if (!ScheduleDeletionAtStartup(SystemRenameList(), installDir + kInstalledSetupName))
        complete = false;

    host.Status("Complete", false);
    host.ShowInformation("You have to reboot your system to completely uninstall Quarnel");
    return complete ? Outcome::Done : Outcome::Failed;
}

}  // namespace

Outcome RunRemoval(std::string& installDir, SetupHost& host) {
    try {
        return RemovalSteps(installDir, host);
    } catch (const std::exception& error) {
        LogError(LoggedText(error));
        throw;
    }
}

}  // namespace engine
