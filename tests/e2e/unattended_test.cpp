// Unattended runs from the command line, end to end: what a silent install
// and removal leave (the same as the window's for the same choices), the
// exit codes a deployment tool reads, the log, and that no window of the
// program ever shows. Exit codes are read whole here, inside the prefix,
// with GetExitCodeProcess: Wine's own status keeps only 8 bits of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "driver_error.h"
#include "host_paths.h"
#include "install_state.h"
#include "installed_state.h"
#include "registry_state.h"
#include "setup_scenario.h"
#include "ui/handles.h"

namespace e2e {
namespace {

constexpr DWORD kRestartNeeded = 3010;
constexpr DWORD kFailed = 1603;
constexpr DWORD kNoInstallRecorded = 1605;
constexpr DWORD kAlreadyRunning = 1618;
constexpr DWORD kUnsupportedSystem = 1633;
constexpr DWORD kBadCommandLine = 1639;
constexpr DWORD kRunTimeoutMs = 60000;

// Typed with blanks and in mixed case; the field holds it in upper case.
constexpr char kTypedDir[] = "C:\\Quarnel Tools";
constexpr char kInstalledDir[] = "C:\\QUARNEL TOOLS\\";
// Where /MIF=..\ESCAPE would point from the Windows directory.
constexpr char kEscapedMif[] = "C:\\ESCAPE.MIF";

std::string Hex(const std::vector<unsigned char>& bytes) {
    std::string text;
    char pair[4];
    for (unsigned char b : bytes) {
        std::snprintf(pair, sizeof pair, "%02x", b);
        text += pair;
    }
    return text;
}

void AddFiles(const std::string& dir, std::vector<std::string>& entries) {
    WalkTree(dir, [&](const std::string& path, bool directory) {
        if (directory) {
            entries.push_back(path + "\\");
        } else if (path.size() > 4 && _stricmp(path.c_str() + path.size() - 4, ".lnk") == 0) {
            // A shortcut as the shell reads it back.
            const auto link = ReadShortcut(path);
            entries.push_back(path + " -> " +
                              (link ? link->target + " in " + link->workingDirectory + " with [" +
                                          link->arguments + "]"
                                    : std::string("unreadable")));
        } else {
            const std::string bytes = ReadFileBytes(path);
            entries.push_back(path + " " + std::to_string(bytes.size()) + " bytes, digest " +
                              std::to_string(std::hash<std::string>()(bytes)));
        }
    });
}

void AddValues(const std::string& key, std::vector<std::string>& entries) {
    if (!KeyExists(HKEY_LOCAL_MACHINE, key)) {
        entries.push_back(key + " absent");
        return;
    }
    const KeyContents contents = ContentsOf(HKEY_LOCAL_MACHINE, key);
    entries.push_back(key + " " + std::to_string(contents.values) + " values");
    for (const char* name :
         {"Version", "Path", "DisplayName", "UninstallString", "Start", "StaticVxD"}) {
        if (const auto value = ReadRawValue(HKEY_LOCAL_MACHINE, key, name))
            entries.push_back(key + "\\" + name + " type " + std::to_string(value->type) + " " +
                              Hex(value->bytes));
    }
}

// Everything an install leaves: files byte for byte, shortcuts as the shell
// reads them, and the records with their values and types.
std::vector<std::string> EndState(const std::string& installDir) {
    std::vector<std::string> entries;
    AddFiles(installDir, entries);
    AddFiles(MenuGroupFolder(), entries);
    for (const std::string& file : {StartupShortcut(), DriverFile(), RenameList()}) {
        if (!PathExists(file)) {
            entries.push_back(file + " absent");
        } else if (file == StartupShortcut()) {
            const auto link = ReadShortcut(file);
            entries.push_back(file + " -> " + (link ? link->target : std::string("unreadable")));
        } else {
            entries.push_back(file + " digest " +
                              std::to_string(std::hash<std::string>()(ReadFileBytes(file))));
        }
    }
    AddValues(kVendorKey, entries);
    AddValues(kRecordKey, entries);
    AddValues(kUninstallKey, entries);
    AddValues(kDriverKey, entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

class Unattended : public SetupScenario {
protected:
    void SetUp() override {
        SetupScenario::SetUp();
        char temp[MAX_PATH] = "";
        ::GetTempPathA(sizeof temp, temp);
        logPath_ = JoinPath(
            temp, "quarnel-unattended-" + std::to_string(::GetCurrentProcessId()) + ".log");
        ::DeleteFileA(logPath_.c_str());
        RemoveDirectoryTree("C:\\QUARNEL TOOLS");
    }
    void TearDown() override {
        ::DeleteFileA(logPath_.c_str());
        // The status MIF and the answer file some scenarios make.
        char windows[MAX_PATH] = "", temp[MAX_PATH] = "";
        ::GetWindowsDirectoryA(windows, sizeof windows);
        ::DeleteFileA(JoinPath(windows, "QUARNEL.MIF").c_str());
        ::DeleteFileA(kEscapedMif);
        ::DeleteFileA(JoinPath(windows, std::string(51, 'Q') + ".MIF").c_str());
        ::GetTempPathA(sizeof temp, temp);
        ::DeleteFileA(JoinPath(temp, "quarnel answers.inf").c_str());
        RemoveDirectoryTree("C:\\QUARNEL TOOLS");
        SetupScenario::TearDown();
    }

    // Starts the program with the switches and the log, watches its
    // top-level windows until it ends, and answers its whole exit code.
    DWORD RunSilently(const std::string& switches) {
        Launch(LoggedSwitches(switches));
        return WatchSilentRun(Process());
    }
    // The test's log, unless the switches name one of their own (a switch
    // is given once at most).
    std::string LoggedSwitches(const std::string& switches) const {
        std::string upper = switches;
        ::CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
        if (upper.find("/LOG=") != std::string::npos) return switches;
        return "\"/LOG=" + logPath_ + "\" " + switches;
    }
    DWORD WatchSilentRun(SetupProcess& process) {
        std::vector<std::string> shown;
        WaitUntil(
            [&] {
                for (HWND window : VisibleTopLevelWindows(process.Id()))
                    shown.push_back(ClassOf(window) + " \"" + TextOf(window) + "\"");
                return !shown.empty() || process.HasExited();
            },
            "the silent run to end", nullptr, kRunTimeoutMs);
        if (!shown.empty()) {
            ADD_FAILURE() << "a silent run showed " << shown.front();
            process.Kill();
        }
        return *process.ExitCode();
    }

    std::string Log() const { return PathExists(logPath_) ? ReadFileBytes(logPath_) : ""; }
    void ExpectLogged(const std::string& line) {
        EXPECT_NE(std::string::npos, Log().find(line)) << "not in the log:\n"
                                                       << line << "\nlog:\n"
                                                       << Log();
    }

    // Nothing of an install anywhere: no records (not even the empty one the
    // window makes), no directory, nothing in the menu or the system.
    void ExpectNothingWritten() {
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kVendorKey));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
        EXPECT_FALSE(PathExists(kDefaultInstallDir));
        EXPECT_FALSE(PathExists("C:\\QUARNEL TOOLS"));
        EXPECT_FALSE(PathExists(MenuGroupFolder()));
        EXPECT_FALSE(PathExists(StartupShortcut()));
        EXPECT_FALSE(PathExists(DriverFile()));
    }

    void ForgetInstall() {
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kVendorKey);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kUninstallKey);
        DeleteKeyTree(HKEY_LOCAL_MACHINE, kDriverKey);
        RemoveDirectoryTree("C:\\QUARNEL TOOLS");
        ClearInstalledState();
    }

    std::string logPath_;
};

TEST_F(Unattended, ChosenDirectoryComponentsAndOptionsEndAsInTheWindow) {
    const std::string switches =
        std::string("/components=pelkin,TRIVEL /NoMenu \"/DIR=") + kTypedDir + "\"";
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT " + switches));
    const std::vector<std::string> silent = EndState(kInstalledDir);
    ExpectLogged("Copying Trivel Executable");
    ExpectLogged("File copied: " + Medium().Dir() + "\\trivel. to " + kInstalledDir +
                 "TRIVEL\\trivel.exe");
    ExpectLogged("Registry value written: HKLM\\SOFTWARE\\Brenvik\\Quarnel Path = \"" +
                 std::string(kInstalledDir) + "\"");
    ExpectLogged("Registry value written: HKLM\\" + std::string(kDriverKey) + " Start = hex:00");
    // No Wardex, so no start-up shortcut to one.
    EXPECT_FALSE(PathExists(StartupShortcut()));
    ExpectLogged("Exit code 3010");
    EXPECT_TRUE(ReadmeViewerWindows().empty()) << "a silent install opened the readme";
    EXPECT_FALSE(PathExists(MenuGroupFolder()));

    // The same choices preset in the window, seen there, then installed.
    ForgetInstall();
    ::DeleteFileA(logPath_.c_str());
    Launch(switches + " \"/LOG=" + logPath_ + "\"");
    HWND setup = AcceptAgreement();
    const SetupWindowControls controls = ControlsOf(setup);
    EXPECT_EQ("C:\\QUARNEL TOOLS", TextOf(controls.directoryEdit));
    EXPECT_EQ(BST_UNCHECKED, ::SendMessageA(controls.menuGroupCheck, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, ::SendMessageA(controls.startupCheck, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(IsEnabled(controls.installButton));
    Screenshot(setup, "presets");
    Click(controls.viewReadmeCheck);  // the readme opened by the window is no end state
    Click(controls.installButton);
    ExpectDialog("Information",
                 std::string("Ready to install Quarnel to a ") + kInstalledDir + " ?", IDYES);
    const MessageBoxView reboot = WaitForMessageDialog(Process(), kRunTimeoutMs);
    AnswerMessageBox(Process(), reboot, IDNO);
    ExpectCleanExit(kRunTimeoutMs);
    const std::vector<std::string> window = EndState(kInstalledDir);
    EXPECT_EQ(window, silent);
    // The window logs the same steps.
    ExpectLogged("Copying Trivel Executable");
    // Pelkin and Trivel only: the comparison is not of two empty states.
    EXPECT_NE(std::string::npos, ::testing::PrintToString(window).find("PELKIN\\\\pelkin.exe"));
    EXPECT_EQ(std::string::npos, ::testing::PrintToString(window).find("WARDEX\\\\wardex.exe"));
}

// The status MIF as the SMS SDK's writer lays it out, with this product's
// names and the outcome's status and description.
std::string ExpectedMif(const std::string& status, const std::string& description) {
    std::string text = R"(START COMPONENT
  NAME = "WORKSTATION"
  START GROUP
    NAME = "ComponentID"
    ID = 1
    CLASS = "DMTF|ComponentID|1.0"
    START ATTRIBUTE
      NAME = "Manufacturer"
      ID = 1
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(64)
      VALUE = "Brenvik"
    END ATTRIBUTE
    START ATTRIBUTE
      NAME = "Product"
      ID = 2
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(64)
      VALUE = "Quarnel"
    END ATTRIBUTE
    START ATTRIBUTE
      NAME = "Version"
      ID = 3
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(64)
      VALUE = "2.5"
    END ATTRIBUTE
    START ATTRIBUTE
      NAME = "Locale"
      ID = 4
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(16)
      VALUE = "ENU"
    END ATTRIBUTE
    START ATTRIBUTE
      NAME = "Serial Number"
      ID = 5
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(64)
      VALUE = ""
    END ATTRIBUTE
    START ATTRIBUTE
      NAME = "Installation"
      ID = 6
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(64)
      VALUE = "DateTime"
    END ATTRIBUTE
  END GROUP
  START GROUP
    NAME = "InstallStatus"
    ID = 2
    CLASS = "MICROSOFT|JOBSTATUS|1.0"
    START ATTRIBUTE
      NAME = "Status"
      ID = 1
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(32)
      VALUE = "@STATUS@"
    END ATTRIBUTE
    START ATTRIBUTE
      NAME = "Description"
      ID = 2
      ACCESS = READ-ONLY
      STORAGE = SPECIFIC
      TYPE = STRING(128)
      VALUE = "@DESCRIPTION@"
    END ATTRIBUTE
  END GROUP
END COMPONENT
)";
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.insert(at, 1, '\r');
    text.replace(text.find("@STATUS@"), 8, status);
    text.replace(text.find("@DESCRIPTION@"), 13, description);
    return text;
}

// The names of the files in the Windows directory that match `pattern`.
std::vector<std::string> WindowsFiles(const char* pattern) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    const HANDLE search = ::FindFirstFileA(JoinPath(windows, pattern).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.push_back(entry.cFileName);
    while (::FindNextFileA(search, &entry));
    ::FindClose(search);
    return names;
}

TEST_F(Unattended, TheStatusMifTellsEveryOutcomeInOneWholeFile) {
    char windows[MAX_PATH] = "";
    ::GetWindowsDirectoryA(windows, sizeof windows);
    const std::string mif = JoinPath(windows, "QUARNEL.MIF");
    ::DeleteFileA(mif.c_str());
    const auto expectMif = [&](const std::string& status, const std::string& description) {
        EXPECT_EQ(ExpectedMif(status, description), PathExists(mif) ? ReadFileBytes(mif) : "");
        // One MIF, and nothing left of the one it replaced.
        EXPECT_EQ(std::vector<std::string>{"QUARNEL.MIF"}, WindowsFiles("*.MIF"));
        EXPECT_EQ(std::vector<std::string>{}, WindowsFiles("qst*.tmp"));
    };

    // A run refused for its /MIF= writes none: neither where the refused
    // value points (C:\ESCAPE.MIF) nor in the Windows directory.
    EXPECT_EQ(kBadCommandLine, RunSilently("/SILENT /MIF=..\\ESCAPE"));
    EXPECT_EQ(kBadCommandLine, RunSilently("/SILENT /MIF=" + std::string(51, 'Q')));
    Launch("/MIF=QUARNEL");
    ExpectDialog("Error", "/MIF= needs /SILENT", IDOK);
    EXPECT_EQ(kBadCommandLine, Process().WaitForExit(kDefaultTimeoutMs));
    EXPECT_FALSE(PathExists(kEscapedMif));
    EXPECT_EQ(std::vector<std::string>{}, WindowsFiles("*.MIF"));

    EXPECT_EQ(kBadCommandLine, RunSilently("/SILENT /MIF=QUARNEL /QUIET"));
    expectMif("Failed", "Command line not understood: Unknown switch: /QUIET");

    // Refused by a check: the words are the log's.
    std::string longDir = "C:\\QUARNEL TOOLS";
    while (longDir.size() < 240) longDir += "\\level";
    EXPECT_EQ(kFailed, RunSilently("/SILENT /mif=QUARNEL.mif \"/DIR=" + longDir + "\""));
    const std::string tooLong =
        "The directory name is too long. Please choose one of at most 230 characters";
    ExpectLogged("Error: " + tooLong);
    expectMif("Failed", tooLong);
    ExpectNothingWritten();

    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT /MIF=QUARNEL"));
    // Each backslash of the path doubled, as the MIF's strings escape it.
    expectMif("Success",
              "Quarnel 2.5 installed to c:\\\\quarnel\\\\; Windows must restart to complete it");
    ExpectLogged("Status MIF written: " + mif);

    // Without /MIF= no file at all.
    ASSERT_TRUE(::DeleteFileA(mif.c_str()));
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT /REMOVE"));
    EXPECT_EQ(std::vector<std::string>{}, WindowsFiles("*.MIF"));
}

// One technician's choices in the window, saved, then made again with nobody
// at the machine.
TEST_F(Unattended, AnswersSavedByTheWindowInstallTheSameSilently) {
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    const std::string answers = JoinPath(temp, "quarnel answers.inf");
    ::DeleteFileA(answers.c_str());

    Launch(LoggedSwitches("\"/SAVEINF=" + answers + "\""));
    HWND setup = AcceptAgreement();
    const SetupWindowControls controls = ControlsOf(setup);
    ToggleListItem(controls.componentList, 1);  // Pelkin
    ToggleListItem(controls.componentList, 4);  // Trivel
    Click(controls.viewReadmeCheck);            // the readme opened by the window is no end state
    Click(controls.startupCheck);
    ::SendMessageA(controls.directoryEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kTypedDir));
    WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install to be enabled",
              &Process());
    Click(controls.installButton);
    ExpectDialog("Information",
                 std::string("Ready to install Quarnel to a ") + kInstalledDir + " ?", IDYES);
    const MessageBoxView reboot = WaitForMessageDialog(Process(), kRunTimeoutMs);
    // Written before the restart is offered: a restart taken ends the program.
    const std::string saved = PathExists(answers) ? ReadFileBytes(answers) : "";
    AnswerMessageBox(Process(), reboot, IDNO);
    ExpectCleanExit(kRunTimeoutMs);
    EXPECT_EQ(
        "[Setup]\r\nDir=C:\\QUARNEL TOOLS\\\r\nComponents=Pelkin,Trivel\r\nMenuGroup=Yes\r\n"
        "ViewReadme=No\r\nStartupShortcut=No\r\n",
        saved);
    const std::vector<std::string> window = EndState(kInstalledDir);

    // Made again silently, and saved again: the readme asked for is not
    // opened, and the file keeps it as asked.
    ForgetInstall();
    std::string asked = saved;
    ASSERT_NE(std::string::npos, asked.find("ViewReadme=No"));
    asked.replace(asked.find("ViewReadme=No"), 13, "ViewReadme=Yes");
    WriteFileBytes(answers, asked);
    EXPECT_EQ(kRestartNeeded,
              RunSilently("/SILENT \"/LOADINF=" + answers + "\" \"/SAVEINF=" + answers + "\""));
    EXPECT_EQ(window, EndState(kInstalledDir));
    EXPECT_NE(std::string::npos, ::testing::PrintToString(window).find("PELKIN\\\\pelkin.exe"));
    EXPECT_EQ(asked, ReadFileBytes(answers));
    EXPECT_TRUE(ReadmeViewerWindows().empty()) << "a silent install opened the readme";

    // A file the program does not understand, or cannot read: refused as a
    // command line is, in a box when there is a screen, and nothing written.
    ForgetInstall();
    WriteFileBytes(answers, "[Setup]\r\nComponents=Wardex\r\nMenuGroup=Maybe\r\n");
    const std::string why =
        "The answer file " + answers + " is not understood: MenuGroup= takes Yes or No, not Maybe";
    EXPECT_EQ(kBadCommandLine, RunSilently("/SILENT \"/LOADINF=" + answers + "\""));
    ExpectLogged("Error: Command line not understood: " + why);
    Launch("\"/LOADINF=" + answers + "\"");
    ExpectDialog("Error", why, IDOK);
    EXPECT_EQ(kBadCommandLine, Process().WaitForExit(kDefaultTimeoutMs));
    ASSERT_TRUE(::DeleteFileA(answers.c_str()));
    EXPECT_EQ(kBadCommandLine, RunSilently("/SILENT \"/LOADINF=" + answers + "\""));
    ExpectLogged("Error: Command line not understood: The answer file " + answers +
                 " cannot be read");
    ExpectNothingWritten();
}

TEST_F(Unattended, DefaultsInstallEverythingToTheRecordedDirectory) {
    WriteTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path", "C:\\Quarnel Tools\\");
    // A log that cannot be written does not stop the install.
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT /LOG=C:\\no\\such\\directory\\q.log"));
    const std::string dir = kInstalledDir;
    EXPECT_EQ((std::vector<std::string>{"ORVANE", "PELKIN", "SULMET", "TRIVEL", "WARDEX",
                                        "readme.doc", "setup.exe"}),
              DirectoryEntries(dir));
    EXPECT_EQ((std::vector<std::string>{"Orvane.lnk", "Pelkin.lnk", "Quarnel Setup.lnk",
                                        "Sulmet.lnk", "Trivel.lnk", "Wardex.lnk"}),
              DirectoryEntries(MenuGroupFolder()));
    EXPECT_TRUE(PathExists(StartupShortcut()));
    EXPECT_TRUE(SameContents(JoinPath(Medium().Dir(), "quarnel"), DriverFile()));
    EXPECT_EQ(dir, ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").value_or("?"));
}

TEST_F(Unattended, AStartupShortcutFollowsAWardexThatAnEarlierRunInstalled) {
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT /COMPONENTS=Wardex /NOSTARTUP"));
    ASSERT_FALSE(PathExists(StartupShortcut()));
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT /COMPONENTS=Pelkin"));
    EXPECT_TRUE(PathExists(StartupShortcut()));
}

TEST_F(Unattended, RemovalByTheRecordedCommandThenNothingLeftToRemove) {
    // Installed with every default, then removed as a technician would, by
    // the recorded command with the two switches.
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT"));
    const std::string command =
        ReadTextValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").value_or("?");
    EXPECT_EQ("c:\\quarnel\\Setup.exe", command);
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT /REMOVE"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
    EXPECT_FALSE(PathExists(MenuGroupFolder()));
    EXPECT_FALSE(PathExists(StartupShortcut()));
    EXPECT_FALSE(PathExists(DriverFile()));
    EXPECT_FALSE(PathExists("C:\\quarnel\\WARDEX\\wardex.exe"));
    EXPECT_TRUE(PathExists("C:\\quarnel\\readme.doc"));
    EXPECT_EQ("[rename]\r\nNUL=c:\\quarnel\\setup.exe", ReadFileBytes(RenameList()));
    ExpectLogged("Registry key deleted: HKLM\\" + std::string(kUninstallKey));
    ExpectLogged("Line added to C:\\windows\\wininit.ini: NUL=c:\\quarnel\\setup.exe");

    const std::vector<std::string> before = EndState(kDefaultInstallDir);
    EXPECT_EQ(kNoInstallRecorded, RunSilently("/SILENT /REMOVE"));
    EXPECT_EQ(before, EndState(kDefaultInstallDir));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey)) << "a refused removal made the record";
    ExpectLogged("Error: No installation of Quarnel is recorded on this machine");
}

TEST_F(Unattended, EachRefusalHasItsCodeAndWritesNothing) {
    const auto expectRefused = [&](DWORD code, const std::string& switches,
                                   const std::string& logged) {
        SCOPED_TRACE(switches);
        const std::vector<std::string> medium = Medium().FileNames();
        EXPECT_EQ(code, RunSilently(switches));
        ExpectNothingWritten();
        EXPECT_EQ(medium, Medium().FileNames());
        ExpectLogged(logged);
    };
    expectRefused(kBadCommandLine, "/SILENT /QUIET",
                  "Error: Command line not understood: Unknown switch: /QUIET");
    expectRefused(kBadCommandLine, "/SILENT /COMPONENTS=Wardex,Zorvex",
                  "Unknown component: Zorvex");
    expectRefused(kBadCommandLine, "/SILENT /DIR=", "/DIR= needs a directory");
    // What was meant cannot be known: an unclosed quote would take the
    // switches after it into the directory's name, a second /DIR= either.
    expectRefused(kBadCommandLine, "/SILENT \"/DIR=C:\\Quarnel Tools /NOMENU",
                  "Error: Command line not understood: A double quote is not closed: "
                  "\"/DIR=C:\\Quarnel Tools /NOMENU");
    expectRefused(kBadCommandLine, "/SILENT /DIR=C:\\QUARNEL /dir=\"C:\\Quarnel Tools\"",
                  "/DIR= is given twice");
    // A printer port as the log would hold the run up; nothing is written
    // to it, nor anything else.
    for (const char* device : {"/LOG=LPT1", "/LOG=C:\\LOGS\\prn.log"}) {
        SCOPED_TRACE(device);
        EXPECT_EQ(kBadCommandLine, RunSilently(std::string("/SILENT ") + device));
        ExpectNothingWritten();
    }
    // One character over: a Trivel file in use could not be copied beside
    // itself, GetTempFileNameA taking a directory of MAX_PATH - 14 at most.
    std::string longDir = "C:\\QUARNEL TOOLS";
    while (longDir.size() < 240) longDir += "\\level";
    longDir.resize(231);
    expectRefused(kFailed, "/SILENT \"/DIR=" + longDir + "\"",
                  "Error: The directory name is too long");
    const std::string drive = SmallDrive();
    if (!drive.empty()) {
        LeaveFreeOnDrive(drive, 10239999);
        expectRefused(kFailed, "/SILENT /DIR=" + drive + "\\QUARNEL",
                      "Error: Not enough free space available");
        EXPECT_FALSE(PathExists(drive + "\\QUARNEL")) << "a refused install left its directory";
        LeaveFreeOnDrive(drive, ~0ull);
    }
    SimulateWindowsNT();
    expectRefused(kUnsupportedSystem, "/SILENT",
                  "Error: This software is designed for Windows95/98");
}

// A silent removal that leaves anything it should have removed does not
// claim success, and the log names what stayed and why.
TEST_F(Unattended, ARemovalThatLeavesAFileOrItsSetupCopyEndsAsFailed) {
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT /NOSTARTUP"));
    const std::string stuck = "C:\\quarnel\\WARDEX\\wardex.exe";
    ASSERT_TRUE(::SetFileAttributesA(stuck.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(kFailed, RunSilently("/SILENT /REMOVE"));
    ExpectLogged("Error: Cannot delete c:\\quarnel\\WARDEX\\wardex.exe: it is read-only");
    ExpectLogged("Exit code 1603");
    EXPECT_TRUE(PathExists(stuck));
    // The rest went all the same; a shortcut the install did not make is
    // nothing that stayed.
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
    EXPECT_FALSE(PathExists("C:\\quarnel\\TRIVEL\\trivel.exe"));
    EXPECT_EQ(std::string::npos, Log().find("Cannot delete Shortcut")) << Log();
    ::SetFileAttributesA(stuck.c_str(), FILE_ATTRIBUTE_NORMAL);

    // The setup copy's line cannot reach the list: the next start would
    // leave the copy, so the removal is not complete.
    ForgetInstall();
    EXPECT_EQ(kRestartNeeded, RunSilently("/SILENT"));
    ASSERT_TRUE(::CreateDirectoryA(RenameList().c_str(), nullptr));
    EXPECT_EQ(kFailed, RunSilently("/SILENT /REMOVE"));
    ::RemoveDirectoryA(RenameList().c_str());
    ExpectLogged("Error: Cannot change C:\\windows\\wininit.ini: NUL=c:\\quarnel\\setup.exe");
    EXPECT_FALSE(PathExists("C:\\quarnel\\WARDEX\\wardex.exe"));
}

TEST_F(Unattended, AMissingMediumFileStopsHalfWayAndTheLogSaysWhich) {
    ASSERT_TRUE(::DeleteFileA(JoinPath(Medium().Dir(), "pelkin").c_str()));
    EXPECT_EQ(kFailed, RunSilently("/SILENT /COMPONENTS=Wardex,Pelkin,Orvane"));
    ExpectLogged("Error: Cannot open file " + Medium().Dir() + "\\pelkin.");
    ExpectLogged("Exit code 1603");
    EXPECT_TRUE(PathExists("C:\\quarnel\\WARDEX\\wardex.exe"));
    EXPECT_FALSE(PathExists("C:\\quarnel\\ORVANE"));
}

// A technician's run that meets a user's setup on the screen must neither
// race it nor claim success: it ends at once with its own code.
TEST_F(Unattended, ASilentRunWhileASetupIsOnTheScreenDoesNothingAndSaysSo) {
    Launch();
    const HWND agreement = WaitForAgreementWindow();
    SetupProcess silent;
    silent.Start(Medium().SetupPath(), Medium().Dir(), LoggedSwitches("/SILENT"));
    EXPECT_EQ(kAlreadyRunning, WatchSilentRun(silent));
    ExpectNothingWritten();
    ExpectLogged("Error: Another Quarnel Setup is running; nothing was done");
    EXPECT_TRUE(::IsWindowVisible(agreement)) << "the setup on the screen was disturbed";
    Click(RequireButton(agreement, "Decline"));
    EXPECT_EQ(0u, Process().WaitForExit(kDefaultTimeoutMs));
}

TEST_F(Unattended, AnUnknownSwitchInTheWindowFlowIsNamedInABoxBeforeAnythingIsWritten) {
    Launch("/DIR=C:\\X /Frobnicate");
    ExpectDialog("Error", "Unknown switch: /Frobnicate", IDOK);
    EXPECT_EQ(kBadCommandLine, Process().WaitForExit(kDefaultTimeoutMs));
    ExpectNothingWritten();
}

}  // namespace
}  // namespace e2e
