// The removal, from the Remove button on a machine with the suite installed:
// what goes, what stays, what the next Windows start finishes, and the ways
// it stops before anything is removed.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "host_paths.h"
#include "install_state.h"
#include "installed_state.h"
#include "registry_state.h"
#include "setup_scenario.h"
#include "ui/handles.h"

namespace e2e {
namespace {

const char kRebootText[] = "You have to reboot your system to completely uninstall Quarnel";
const char kCannotOpenRecord[] = "Unable to open system registry key";
const char kOtherProductKey[] = "SOFTWARE\\Brenvik\\Sorvik";

std::string Question(const std::string& dir) { return "Ok to remove Quarnel from " + dir + " ?"; }

// Names of the matches of a mask in the order the platform lists them.
std::vector<std::string> MatchesInPlatformOrder(const std::string& mask) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(mask.c_str(), &found));
    if (!search.IsValid()) return names;
    do {
        names.push_back(found.cFileName);
    } while (::FindNextFileA(search.Get(), &found));
    return names;
}

std::vector<std::string> Without(std::vector<std::string> entries, const std::string& path) {
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [&](const std::string& entry) {
                                     return entry.compare(0, path.size() + 1, path + " ") == 0;
                                 }),
                  entries.end());
    return entries;
}

// Paths below `dir`, relative to it, sorted: files and directories alike.
std::vector<std::string> NamesBelow(const std::string& dir, const std::string& prefix = "") {
    std::vector<std::string> names;
    for (const std::string& name : DirectoryEntries(JoinPath(dir, prefix))) {
        names.push_back(prefix + name);
        const std::string path = JoinPath(dir, prefix + name);
        if (DirectoryExists(path)) {
            const std::vector<std::string> below = NamesBelow(dir, prefix + name + "\\");
            names.insert(names.end(), below.begin(), below.end());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class Removal : public SetupScenario {
protected:
    // Starts the program and presses Remove, which the setup window must offer.
    HWND PressRemove() {
        Launch();
        HWND setup = AcceptAgreement();
        const SetupWindowControls controls = ControlsOf(setup);
        EXPECT_TRUE(IsEnabled(controls.removeButton)) << "Remove is disabled";
        Click(controls.removeButton);
        return setup;
    }

    // The removal of the suite recorded at `dir`, confirmed, to its end.
    void Remove(const std::string& dir) {
        HWND setup = PressRemove();
        ExpectDialog("Warning", Question(dir), IDYES);
        WaitForMessageDialog(Process());
        Screenshot(setup, "complete");
        ExpectDialog("Information", kRebootText, IDOK);
        ExpectCleanExit();
    }

    // A real install of `items` into the default directory, without the
    // readme viewer and without the restart. A fresh machine shows an empty
    // field and no Remove first.
    void InstallIntoTheDefaultDirectory(std::initializer_list<int> items, bool expectFresh) {
        Launch();
        const SetupWindowControls controls = ControlsOf(AcceptAgreement());
        if (expectFresh) {
            EXPECT_EQ("", TextOf(controls.directoryEdit));
            EXPECT_FALSE(IsEnabled(controls.removeButton));
        }
        for (int item : items) ToggleListItem(controls.componentList, item);
        Click(controls.viewReadmeCheck);
        WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install", &Process());
        Click(controls.installButton);
        ExpectDialog("Information", "Ready to install Quarnel to a c:\\quarnel\\ ?", IDYES);
        ExpectDialog("Information",
                     "Quarnel has been successfully installed. You have to restart Windows. Ok to "
                     "reboot ?",
                     IDNO);
        ExpectCleanExit();
    }

    // What every confirmed removal takes, whatever was installed.
    void ExpectRecordsShortcutsAndDriverGone() {
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
        EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kVendorKey));
        EXPECT_FALSE(PathExists(MenuGroupFolder()));
        EXPECT_FALSE(PathExists(StartupShortcut()));
        EXPECT_FALSE(PathExists(DriverFile()));
    }

    void ExpectFiles(const std::vector<std::string>& files, bool present) {
        for (const std::string& file : files) EXPECT_EQ(present, PathExists(file)) << file;
    }
};

TEST_F(Removal, FullInstallationGoesButForTheReadmeDiskwareDirectoriesAndOthersFiles) {
    const InstalledState state;
    PlantInstalledState(state);
    const std::vector<std::string> others = {
        "C:\\QUARNEL\\WARDEX\\notes.txt", "C:\\QUARNEL\\WARDEX\\smartlog.txt",
        "C:\\QUARNEL\\SULMET\\results.txt", "C:\\QUARNEL\\TRIVEL\\Defects\\0001.def",
        StartupFolder() + "\\Other.lnk"};
    for (const std::string& file : others) WriteFileBytes(file, "not Quarnel's");
    WriteTextValue(HKEY_LOCAL_MACHINE, kOtherProductKey, "Path", "C:\\SORVIK\\");
    ASSERT_FALSE(PathExists(RenameList()));

    Remove("C:\\QUARNEL\\");

    ExpectRecordsShortcutsAndDriverGone();
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOtherProductKey));
    DeleteKeyTree(HKEY_LOCAL_MACHINE, kOtherProductKey);
    ExpectFiles(RemovedFiles(state), false);
    ExpectFiles(KeptFiles(state), true);
    ExpectFiles(others, true);
    ::DeleteFileA(others.back().c_str());
    for (const char* dir : {"", "WARDEX", "PELKIN", "ORVANE", "SULMET", "TRIVEL", "TRIVEL\\Defects",
                            "TRIVEL\\Diskware"})
        EXPECT_TRUE(PathExists(state.installDir + dir)) << dir;
    EXPECT_EQ("[rename]\r\nNUL=C:\\QUARNEL\\setup.exe", ReadFileBytes(RenameList()));

    // The next run finds no installation.
    Launch();
    const SetupWindowControls next = ControlsOf(AcceptAgreement());
    EXPECT_EQ("", TextOf(next.directoryEdit));
    EXPECT_FALSE(IsEnabled(next.removeButton));
    Click(next.exitButton);
    ExpectCleanExit();
}

TEST_F(Removal, NextWindowsStartDeletesTheSetupCopyAndNothingElse) {
    const InstalledState state;
    PlantInstalledState(state);
    Remove(state.installDir);
    const std::vector<std::string> before = TreeSnapshot(state.installDir);

    RunNextWindowsStart();

    EXPECT_FALSE(PathExists(state.installDir + "setup.exe"));
    EXPECT_EQ(Without(before, state.installDir + "setup.exe"), TreeSnapshot(state.installDir));
    EXPECT_FALSE(PathExists(RenameList())) << "the rename list was not carried out";
}

TEST_F(Removal, SulmetAloneKeepsItsFilesSinceNoWardexDirectoryGuardsThem) {
    InstalledState state;
    state.components = {Component::Sulmet};
    PlantInstalledState(state);

    Remove(state.installDir);

    ExpectRecordsShortcutsAndDriverGone();
    ExpectFiles(RemovedFiles(state), true);
    EXPECT_EQ("[rename]\r\nNUL=C:\\QUARNEL\\setup.exe", ReadFileBytes(RenameList()));
}

TEST_F(Removal, WithoutTrivelTheRestGoes) {
    InstalledState state;
    state.components = {Component::Wardex, Component::Pelkin, Component::Orvane, Component::Sulmet};
    PlantInstalledState(state);

    Remove(state.installDir);

    ExpectRecordsShortcutsAndDriverGone();
    ExpectFiles(RemovedFiles(state), false);
    ExpectFiles(KeptFiles(state), true);
    EXPECT_FALSE(PathExists(state.installDir + "TRIVEL"));
}

// Every match of a mask is tried: a read-only one stays alone.
TEST_F(Removal, AReadOnlyMatchStaysAndTheMatchesAroundItGo) {
    const InstalledState state;
    PlantInstalledState(state);
    const std::string wardex = state.installDir + "WARDEX\\";
    for (const char* name : {"smart.002", "smart.003", "smart.004", "smart.005"})
        WriteFileBytes(wardex + name, "saved drive data");
    // The middle one in the platform's order, so that matches lie on both sides.
    const std::vector<std::string> order = MatchesInPlatformOrder(wardex + "smart.*");
    ASSERT_EQ(5u, order.size());
    const auto readOnly = order.begin() + 2;
    MakeReadOnly(wardex + *readOnly);

    Remove(state.installDir);

    for (auto name = order.begin(); name != order.end(); ++name)
        EXPECT_EQ(name == readOnly, PathExists(wardex + *name)) << *name;
    EXPECT_FALSE(PathExists(wardex + "dlsize.001")) << "the next entry was not tried";
}

TEST_F(Removal, AReadOnlyShortcutInTheGroupGoesWithTheGroup) {
    const InstalledState state;
    PlantInstalledState(state);
    MakeReadOnly(MenuGroupFolder() + "\\Pelkin.lnk");

    Remove(state.installDir);

    EXPECT_FALSE(PathExists(MenuGroupFolder()));
}

TEST_F(Removal, NoToTheQuestionChangesNothing) {
    const InstalledState state;
    PlantInstalledState(state);
    const std::vector<std::string> before = SnapshotOf(state);

    PressRemove();
    ExpectDialog("Warning", Question(state.installDir), IDNO);
    ExpectCleanExit();

    EXPECT_EQ(before, SnapshotOf(state));
}

TEST_F(Removal, EmptyPathGivesOneErrorBoxAndRemovesNothing) {
    const InstalledState state;
    PlantInstalledState(state);
    Launch();
    const SetupWindowControls controls = ControlsOf(AcceptAgreement());
    // Emptied by someone else while the window was open: the setup window
    // never offers Remove for a record without a directory.
    WriteTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path", "");
    const std::vector<std::string> before = SnapshotOf(state);

    Click(controls.removeButton);
    ExpectDialog("Error", kCannotOpenRecord, IDOK);
    ExpectCleanExitWithout({kMessageDialogClass, std::nullopt, nullptr, "a second message box"});

    EXPECT_EQ(before, SnapshotOf(state));
}

TEST_F(Removal, PathOfANonTextTypeStopsBeforeTheQuestion) {
    const InstalledState state;
    PlantInstalledState(state);
    Launch();
    const SetupWindowControls controls = ControlsOf(AcceptAgreement());
    WriteDwordValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path", 1);
    const std::vector<std::string> before = SnapshotOf(state);

    Click(controls.removeButton);
    ExpectStandardErrorBox("Invalid data type for 'Path'");
    ExpectCleanExitWithout({kMessageDialogClass, std::nullopt, nullptr, "the question"});

    EXPECT_EQ(before, SnapshotOf(state));
}

TEST_F(Removal, ExistingRenameListKeepsOtherProgramsOperations) {
    const InstalledState state;
    PlantInstalledState(state);
    const std::string others =
        "[boot]\r\nshell=Explorer.exe\r\n\r\n[rename]\r\nC:\\OTHER\\PROG.DLL=C:\\OTHER\\PROG.NEW"
        "\r\nNUL=C:\\OTHER\\OLD.TMP\r\n\r\n[386Enh]\r\ndevice=*vmm\r\n";
    WriteFileBytes(RenameList(), others);

    Remove(state.installDir);

    EXPECT_EQ(
        "[boot]\r\nshell=Explorer.exe\r\n\r\n[rename]\r\nC:\\OTHER\\PROG.DLL=C:\\OTHER\\PROG.NEW"
        "\r\nNUL=C:\\OTHER\\OLD.TMP\r\nNUL=C:\\QUARNEL\\setup.exe\r\n\r\n[386Enh]\r\n"
        "device=*vmm\r\n",
        ReadFileBytes(RenameList()));
}

TEST_F(Removal, InstallationOnDriveD) {
    ScopedDriveD drive;
    if (!drive.Usable()) GTEST_SKIP() << "the prefix has a D: of its own, or none could be mapped";
    InstalledState state;
    state.installDir = "D:\\TOOLS\\";
    PlantInstalledState(state);

    Remove("D:\\TOOLS\\");

    ExpectRecordsShortcutsAndDriverGone();
    ExpectFiles(RemovedFiles(state), false);
    ExpectFiles(KeptFiles(state), true);
    EXPECT_EQ("[rename]\r\nNUL=D:\\TOOLS\\setup.exe", ReadFileBytes(RenameList()));
}

TEST_F(Removal, RoundTripLeavesTheReadmeDiskwareAndDirectoriesAndTheNextStartTheRest) {
    InstallIntoTheDefaultDirectory({0, 1, 2, 3, 4}, true);
    ASSERT_TRUE(PathExists(MenuGroupFolder()));
    ASSERT_TRUE(PathExists(StartupShortcut()));

    Remove("c:\\quarnel\\");

    ExpectRecordsShortcutsAndDriverGone();
    const std::vector<std::string> left = {"ORVANE",
                                           "PELKIN",
                                           "SULMET",
                                           "TRIVEL",
                                           "TRIVEL\\Defects",
                                           "TRIVEL\\Diskware",
                                           "TRIVEL\\Diskware\\keldan.dw",
                                           "WARDEX",
                                           "readme.doc",
                                           "setup.exe"};
    EXPECT_EQ(left, NamesBelow("C:\\QUARNEL"));
    EXPECT_EQ("[rename]\r\nNUL=c:\\quarnel\\setup.exe", ReadFileBytes(RenameList()));

    RunNextWindowsStart();
    EXPECT_EQ(std::vector<std::string>(left.begin(), left.end() - 1), NamesBelow("C:\\QUARNEL"));

    // And again: the next run finds no installation and installs anew.
    InstallIntoTheDefaultDirectory({0}, true);
    EXPECT_TRUE(PathExists("C:\\QUARNEL\\WARDEX\\wardex.exe"));
    EXPECT_TRUE(PathExists("C:\\QUARNEL\\setup.exe"));
    EXPECT_TRUE(PathExists(MenuGroupFolder()));
}

// Windows 95 as sold is where the shipped program has the fewest DLLs to
// lean on: the same install and removal run there as on Windows 98.
TEST_F(Removal, RoundTripOnWindows95) {
    SimulateWindows95();
    InstallIntoTheDefaultDirectory({0, 4}, true);
    ASSERT_TRUE(PathExists("C:\\QUARNEL\\TRIVEL\\Diskware\\keldan.dw"));

    Remove("c:\\quarnel\\");

    ExpectRecordsShortcutsAndDriverGone();
    EXPECT_EQ("[rename]\r\nNUL=c:\\quarnel\\setup.exe", ReadFileBytes(RenameList()));
}

}  // namespace
}  // namespace e2e
