// The Install button, end to end: what a full install leaves on the machine,
// the options and subsets, and each way an install stops early.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "driver_error.h"
#include "host_paths.h"
#include "install_state.h"
#include "registry_state.h"
#include "setup_scenario.h"
#include "ui/handles.h"
#include "wine_host.h"

namespace e2e {
namespace {

constexpr char kInformation[] = "Information";
constexpr char kError[] = "Error";
constexpr char kRebootQuestion[] =
    "Quarnel has been successfully installed. You have to restart Windows. Ok to reboot ?";
// Copies of a few megabytes are quick, but the whole run goes through Wine.
constexpr DWORD kInstallTimeoutMs = 30000;

std::string Installed(const std::string& name) { return JoinPath(kDefaultInstallDir, name); }

BOOL CALLBACK CollectResourceName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<std::string>*>(names)->push_back(
        IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name))
                             : std::string(name));
    return TRUE;
}

// The icon groups of a program in the order the shell counts them for an
// icon index ("SETUP.EXE,0").
std::vector<std::string> IconGroupsOf(const std::string& program) {
    std::vector<std::string> names;
    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&::FreeLibrary)> module(
        ::LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), &::FreeLibrary);
    if (module != nullptr)
        ::EnumResourceNamesA(module.get(), RT_GROUP_ICON, &CollectResourceName,
                             reinterpret_cast<LONG_PTR>(&names));
    return names;
}

std::string AutorunValue(const std::string& inf, const char* key) {
    char value[MAX_PATH] = "";
    ::GetPrivateProfileStringA("autorun", key, "", value, sizeof value, inf.c_str());
    return value;
}

class Install : public SetupScenario {
protected:
    struct Options {
        bool menuGroup = true;
        bool viewReadme = false;
        bool startup = true;
        std::string directory;  // typed into the field when not empty
        std::string program;    // started instead of the medium's setup.exe
        std::string startDir;   // its current directory
    };

    // Starts the program, ticks the components and sets the options, then
    // clicks Install.
    HWND StartInstall(std::initializer_list<int> items, const Options& options) {
        if (options.program.empty())
            Launch();
        else
            LaunchFrom(options.program, options.startDir);
        HWND setup = AcceptAgreement();
        const SetupWindowControls controls = ControlsOf(setup);
        for (int item : items) ToggleListItem(controls.componentList, item);
        SetCheck(controls.menuGroupCheck, options.menuGroup);
        SetCheck(controls.viewReadmeCheck, options.viewReadme);
        SetCheck(controls.startupCheck, options.startup);
        if (!options.directory.empty())
            ::SendMessageA(controls.directoryEdit, WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>(options.directory.c_str()));
        WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install to be enabled",
                  &Process());
        Screenshot(setup, "before-install");
        Click(controls.installButton);
        return setup;
    }

    // Another program of the session, with a window of its own: a restart
    // ends it, anything else leaves it running.
    const SetupProcess& StartWitness() {
        const std::string exe = MediumFile("witness.exe");
        if (!::CopyFileA(MediumFile("sulmet").c_str(), exe.c_str(), FALSE))
            throw DriverError("cannot copy the other program");
        witness_.Start(exe, Medium().Dir());
        WaitUntil([&] { return !VisibleTopLevelWindows(witness_.Id()).empty(); },
                  "the other program's window");
        return witness_;
    }

    void TearDown() override {
        if (witness_.IsStarted()) witness_.Kill();
        // The small drive is shared with other scenarios: left empty.
        if (!SmallDrive().empty()) LeaveFreeOnDrive(SmallDrive(), ~0ull);
        SetupScenario::TearDown();
    }

    void SetCheck(HWND box, bool checked) {
        const bool now = ::SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (now != checked) Click(box);
    }

    void ConfirmInstallTo(const std::string& dir) {
        ExpectDialog(kInformation, "Ready to install Quarnel to a " + dir + " ?", IDYES);
    }

    void AnswerRebootQuestion(int answer) {
        const MessageBoxView box = WaitForMessageDialog(Process(), kInstallTimeoutMs);
        EXPECT_EQ(kRebootQuestion, box.text);
        // Every window of the program is hidden by now.
        EXPECT_EQ(std::vector<HWND>{box.window}, VisibleTopLevelWindows(Process().Id()));
        Screenshot(box.window, "reboot-question");
        AnswerMessageBox(Process(), box, answer);
    }

    void ExpectCopied(const std::string& sourceName, const std::string& destination) {
        const std::string source = JoinPath(Medium().Dir(), sourceName);
        EXPECT_TRUE(SameContents(source, destination))
            << destination << " is not a copy of " << source;
    }

    void ExpectShortcut(const std::string& link, const std::string& target,
                        const std::string& workingDirectory) {
        const auto view = ReadShortcut(link);
        ASSERT_TRUE(view.has_value()) << "no shortcut " << link;
        // The shell keeps the paths as given; a file system without case
        // may report either case back.
        EXPECT_STRCASEEQ(target.c_str(), view->target.c_str()) << link;
        EXPECT_STRCASEEQ(workingDirectory.c_str(), view->workingDirectory.c_str()) << link;
        EXPECT_EQ("", view->arguments) << link;
    }

    std::string MediumFile(const std::string& name) { return JoinPath(Medium().Dir(), name); }

private:
    SetupProcess witness_;
};

TEST_F(Install, AllComponentsIntoTheDefaultDirectory) {
    const SetupProcess& witness = StartWitness();
    StartInstall({0, 1, 2, 3, 4}, Options{});
    ConfirmInstallTo("c:\\quarnel\\");
    AnswerRebootQuestion(IDNO);
    ExpectCleanExit(kInstallTimeoutMs);
    EXPECT_FALSE(witness.HasExited()) << "No to the restart ended another program";

    // Files, each a copy of its source on the medium.
    ExpectCopied("setup.exe", Installed("setup.exe"));
    ExpectCopied("wardex", Installed("WARDEX\\wardex.exe"));
    ExpectCopied("alert", Installed("WARDEX\\alert.wav"));
    ExpectCopied("pelkin", Installed("PELKIN\\pelkin.exe"));
    ExpectCopied("orvane", Installed("ORVANE\\orvane.exe"));
    ExpectCopied("sulmet", Installed("SULMET\\sulmet.exe"));
    ExpectCopied("keldan", Installed("TRIVEL\\Diskware\\keldan.dw"));
    ExpectCopied("trivel", Installed("TRIVEL\\trivel.exe"));
    ExpectCopied("readme", Installed("readme.doc"));
    ExpectCopied("quarnel", DriverFile());
    EXPECT_TRUE(DirectoryExists(Installed("TRIVEL\\Defects")));
    EXPECT_TRUE(DirectoryEntries(Installed("TRIVEL\\Defects")).empty());
    EXPECT_EQ((std::vector<std::string>{"ORVANE", "PELKIN", "SULMET", "TRIVEL", "WARDEX",
                                        "readme.doc", "setup.exe"}),
              DirectoryEntries(kDefaultInstallDir));

    // Records; the directory typed without a backslash is recorded with one.
    EXPECT_EQ("2.5", ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Version").value_or("?"));
    EXPECT_EQ("c:\\quarnel\\", ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").value_or("?"));
    EXPECT_EQ("Quarnel",
              ReadTextValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName").value_or("?"));
    EXPECT_EQ("c:\\quarnel\\Setup.exe",
              ReadTextValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").value_or("?"));
    const auto start = ReadRawValue(HKEY_LOCAL_MACHINE, kDriverKey, "Start");
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), start->type);
    EXPECT_EQ(std::vector<unsigned char>{0}, start->bytes);
    EXPECT_EQ("QUARNEL.VXD",
              ReadTextValue(HKEY_LOCAL_MACHINE, kDriverKey, "StaticVxD").value_or("?"));

    // Shortcuts, read back through the shell.
    const std::string group = MenuGroupFolder();
    EXPECT_EQ((std::vector<std::string>{"Orvane.lnk", "Pelkin.lnk", "Quarnel Setup.lnk",
                                        "Sulmet.lnk", "Trivel.lnk", "Wardex.lnk"}),
              DirectoryEntries(group));
    ExpectShortcut(JoinPath(group, "Quarnel Setup.lnk"), "c:\\quarnel\\Setup.EXE", "c:\\quarnel\\");
    ExpectShortcut(JoinPath(group, "Wardex.lnk"), "c:\\quarnel\\WARDEX\\WARDEX.EXE",
                   "c:\\quarnel\\WARDEX\\");
    ExpectShortcut(JoinPath(group, "Pelkin.lnk"), "c:\\quarnel\\PELKIN\\PELKIN.EXE",
                   "c:\\quarnel\\PELKIN\\");
    ExpectShortcut(JoinPath(group, "Orvane.lnk"), "c:\\quarnel\\ORVANE\\ORVANE.EXE",
                   "c:\\quarnel\\ORVANE\\");
    ExpectShortcut(JoinPath(group, "Sulmet.lnk"), "c:\\quarnel\\SULMET\\SULMET.EXE",
                   "c:\\quarnel\\SULMET\\");
    ExpectShortcut(JoinPath(group, "Trivel.lnk"), "c:\\quarnel\\TRIVEL\\TRIVEL.EXE",
                   "c:\\quarnel\\TRIVEL\\");
    ExpectShortcut(StartupShortcut(), "c:\\quarnel\\WARDEX\\WARDEX.EXE", "c:\\quarnel\\WARDEX\\");
    EXPECT_TRUE(ReadmeViewerWindows().empty()) << "the readme was opened though not asked for";
}

// The shipped disc: the CD image, unpacked read-only by the test command,
// behind a CD-ROM drive letter; setup.exe started from its root as autorun
// starts it. Every file on the disc lands somewhere, byte for byte, and none
// keeps the disc's read-only mark (a removal could not delete it).
TEST_F(Install, FromTheDiscEveryFileIsInstalledAsTheDiscHoldsIt) {
    testing_support::ScopedDriveLetter cd(WindowsPathOf(QUARNEL_CD_HOST), DRIVE_CDROM);
    ASSERT_NE("", cd.Drive()) << "no drive letter for the disc unpacked at " << QUARNEL_CD_HOST;
    const std::string disc = cd.Drive() + "\\";
    ASSERT_EQ(static_cast<UINT>(DRIVE_CDROM), ::GetDriveTypeA(disc.c_str()));
    ui::ScopedHandle written(::CreateFileA((disc + "written.tmp").c_str(), GENERIC_WRITE, 0,
                                           nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_FALSE(written.IsValid()) << "the disc takes new files";

    // What Windows 95 and 98 start when the disc goes in, and the icon they
    // show for it: the program's own (APPICON), not one of its windows'.
    const std::string inf = disc + "AUTORUN.INF";
    const std::string program = AutorunValue(inf, "open");
    ASSERT_STRCASEEQ("SETUP.EXE", program.c_str());
    const std::string icon = AutorunValue(inf, "icon");
    const std::string::size_type comma = icon.find(',');
    ASSERT_NE(std::string::npos, comma) << "icon=" << icon;
    EXPECT_STRCASEEQ("SETUP.EXE", icon.substr(0, comma).c_str());
    const std::vector<std::string> groups = IconGroupsOf(disc + program);
    const std::size_t index = std::stoul(icon.substr(comma + 1));
    ASSERT_LT(index, groups.size()) << "icon=" << icon;
    EXPECT_EQ("APPICON", groups[index]) << "icon=" << icon;

    Options options;
    options.program = disc + program;
    options.startDir = disc;
    StartInstall({0, 1, 2, 3, 4}, options);
    ConfirmInstallTo("c:\\quarnel\\");
    AnswerRebootQuestion(IDNO);
    ExpectCleanExit(kInstallTimeoutMs);

    const std::vector<std::pair<std::string, std::string>> placed = {
        {"AUTORUN.INF", ""},
        {"CUSTOM.INI", ""},
        {"QUARNEL.SMS", ""},
        {"SETUP.EXE", Installed("setup.exe")},
        {"alert", Installed("WARDEX\\alert.wav")},
        {"keldan", Installed("TRIVEL\\Diskware\\keldan.dw")},
        {"orvane", Installed("ORVANE\\orvane.exe")},
        {"pelkin", Installed("PELKIN\\pelkin.exe")},
        {"quarnel", DriverFile()},
        {"readme", Installed("readme.doc")},
        {"sulmet", Installed("SULMET\\sulmet.exe")},
        {"trivel", Installed("TRIVEL\\trivel.exe")},
        {"wardex", Installed("WARDEX\\wardex.exe")}};
    std::vector<std::string> names;
    for (const auto& file : placed) names.push_back(file.first);
    EXPECT_EQ(names, DirectoryEntries(disc)) << "the disc's files, as its names give them";
    for (const auto& [name, destination] : placed) {
        if (destination.empty()) continue;
        EXPECT_TRUE(SameContents(disc + name, destination))
            << destination << " is not a copy of " << disc << name;
        const DWORD attributes = ::GetFileAttributesA(destination.c_str());
        EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES &&
                    (attributes & FILE_ATTRIBUTE_READONLY) == 0)
            << destination << " is read-only like its source on the disc";
    }
}

TEST_F(Install, SubsetIntoADirectoryWithABlank) {
    Options options;
    options.directory = "C:\\Program Files\\Quarnel";
    StartInstall({1, 4}, options);
    ConfirmInstallTo("C:\\PROGRAM FILES\\QUARNEL\\");
    AnswerRebootQuestion(IDNO);
    ExpectCleanExit(kInstallTimeoutMs);

    const std::string dir = "C:\\PROGRAM FILES\\QUARNEL\\";
    EXPECT_EQ((std::vector<std::string>{"PELKIN", "TRIVEL", "readme.doc", "setup.exe"}),
              DirectoryEntries(dir));
    EXPECT_EQ((std::vector<std::string>{"Defects", "Diskware", "trivel.exe"}),
              DirectoryEntries(dir + "TRIVEL"));
    EXPECT_TRUE(DirectoryEntries(dir + "TRIVEL\\Defects").empty());
    EXPECT_EQ((std::vector<std::string>{"Pelkin.lnk", "Quarnel Setup.lnk", "Trivel.lnk"}),
              DirectoryEntries(MenuGroupFolder()));
    // Quoted, so that the platform does not start C:\PROGRAM.EXE.
    EXPECT_EQ("\"C:\\PROGRAM FILES\\QUARNEL\\Setup.exe\"",
              ReadTextValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString").value_or("?"));
    RemoveDirectoryTree("C:\\PROGRAM FILES\\QUARNEL");
}

TEST_F(Install, PelkinAloneWithTheStartupOptionTickedMakesNoStartupShortcut) {
    StartInstall({1}, Options{});  // "Run Wardex at Windows startup" stays ticked
    ConfirmInstallTo("c:\\quarnel\\");
    AnswerRebootQuestion(IDNO);
    ExpectCleanExit(kInstallTimeoutMs);

    // Windows would ask at every logon where the missing Wardex went.
    EXPECT_FALSE(DirectoryExists(Installed("WARDEX")));
    EXPECT_FALSE(FileSizeOf(StartupShortcut()).has_value());
    EXPECT_EQ((std::vector<std::string>{"Pelkin.lnk", "Quarnel Setup.lnk"}),
              DirectoryEntries(MenuGroupFolder()));
    ExpectCopied("pelkin", Installed("PELKIN\\pelkin.exe"));
}

TEST_F(Install, YesToTheRebootEndsTheSession) {
    Options options;
    options.startup = false;
    const SetupProcess& witness = StartWitness();
    StartInstall({2}, options);
    ConfirmInstallTo("c:\\quarnel\\");
    AnswerRebootQuestion(IDYES);
    ExpectCleanExit(kInstallTimeoutMs);
    // The restart asks every program of the session to end.
    WaitUntil([&] { return witness.HasExited(); }, "the other program to be ended");
    ExpectCopied("orvane", Installed("ORVANE\\orvane.exe"));
}

TEST_F(Install, ViewReadmeOpensTheInstalledCopy) {
    Options options;
    options.viewReadme = true;
    options.startup = false;
    StartInstall({0}, options);
    ConfirmInstallTo("c:\\quarnel\\");
    AnswerRebootQuestion(IDNO);
    ExpectCleanExit(kInstallTimeoutMs);
    WaitUntil([] { return !ReadmeViewerWindows().empty(); }, "a window showing the readme");
    Screenshot(ReadmeViewerWindows().front(), "readme");
    EXPECT_FALSE(FileSizeOf(StartupShortcut()).has_value());
}

TEST_F(Install, MissingSourceStopsAtItsComponent) {
    ASSERT_TRUE(::DeleteFileA(MediumFile("pelkin").c_str()));
    StartInstall({0, 1, 2}, Options{});
    ConfirmInstallTo("c:\\quarnel\\");
    ExpectStandardErrorBox("Cannot open file " + Medium().Dir() + "\\pelkin.");
    ExpectCleanExit();

    EXPECT_TRUE(FileSizeOf(Installed("WARDEX\\wardex.exe")).has_value());
    EXPECT_TRUE(DirectoryExists(Installed("PELKIN")));
    EXPECT_FALSE(FileSizeOf(Installed("PELKIN\\pelkin.exe")).has_value());
    EXPECT_FALSE(DirectoryExists(Installed("ORVANE")));
    EXPECT_FALSE(FileSizeOf(DriverFile()).has_value());
    EXPECT_FALSE(FileSizeOf(Installed("readme.doc")).has_value());
    // The records are written before the first copy and stay.
    EXPECT_EQ("c:\\quarnel\\", ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").value_or("?"));
}

TEST_F(Install, DiskwareGoesInBeforeTheTrivelProgram) {
    ASSERT_TRUE(::DeleteFileA(MediumFile("trivel").c_str()));
    StartInstall({4}, Options{});
    ConfirmInstallTo("c:\\quarnel\\");
    ExpectStandardErrorBox("Cannot open file " + Medium().Dir() + "\\trivel.");
    ExpectCleanExit();
    ExpectCopied("keldan", Installed("TRIVEL\\Diskware\\keldan.dw"));
}

TEST_F(Install, ReadOnlyDestinationCannotBeReplaced) {
    ASSERT_TRUE(MakeDirectories(kDefaultInstallDir));
    WriteFileOfSize(Installed("setup.exe"), 10);
    MakeReadOnly(Installed("setup.exe"));
    // Wine run as root writes to read-only files; held open for reading only,
    // the file also refuses the writer there, as it does on Windows.
    ui::ScopedHandle held(::CreateFileA(Installed("setup.exe").c_str(), GENERIC_READ,
                                        FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.IsValid());
    StartInstall({0}, Options{});
    ConfirmInstallTo("c:\\quarnel\\");
    ExpectStandardErrorBox("Cannot create file c:\\quarnel\\\\setup.exe.");
    ExpectCleanExit();
    EXPECT_EQ(10u, FileSizeOf(Installed("setup.exe")).value_or(0));
    EXPECT_FALSE(DirectoryExists(Installed("WARDEX")));
}

TEST_F(Install, AMissingParentOfTheDirectoryStopsTheFirstCopy) {
    Options options;
    options.directory = "C:\\QUARNEL\\SUB";
    StartInstall({0}, options);
    ConfirmInstallTo("C:\\QUARNEL\\SUB\\");
    // The copy makes missing directories only up to a path without a doubled
    // separator, and the setup program's path has one.
    ExpectStandardErrorBox("Cannot create file C:\\QUARNEL\\SUB\\\\setup.exe.");
    ExpectCleanExit();
    EXPECT_EQ("C:\\QUARNEL\\SUB\\",
              ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").value_or("?"));
}

TEST_F(Install, ARecordThatCannotBeCreatedStopsBeforeAnyCopy) {
    CreateVolatileKey(HKEY_LOCAL_MACHINE, kVendorKey);
    StartInstall({0}, Options{});
    ConfirmInstallTo("c:\\quarnel\\");
    ExpectDialog(kError, "Error updating system registry", IDOK);
    ExpectCleanExit();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_TRUE(DirectoryEntries(kDefaultInstallDir).empty());
}

TEST_F(Install, ADriverRegistrationThatCannotBeMadeEndsWithoutTheRestart) {
    // The driver's key leads below a key that holds no lasting subkeys.
    CreateVolatileKey(HKEY_LOCAL_MACHINE, kVolatileTestKey);
    CreateKeyLink(HKEY_LOCAL_MACHINE, kDriverKey,
                  "\\Registry\\Machine\\SOFTWARE\\QuarnelTestVolatile\\QUARNEL");
    StartInstall({0}, Options{});
    ConfirmInstallTo("c:\\quarnel\\");
    ExpectDialog(kError, "Unable to update system registry for VxD", IDOK);
    // The rest still runs; the pending quit closes the restart question by
    // itself, so Windows is not restarted without its driver registered.
    ExpectCleanExit(kInstallTimeoutMs);
    DeleteKeyLink(HKEY_LOCAL_MACHINE, kDriverKey);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kDriverKey));
    ExpectCopied("quarnel", DriverFile());
    ExpectCopied("readme", Installed("readme.doc"));
    EXPECT_TRUE(FileSizeOf(StartupShortcut()).has_value());
}

TEST_F(Install, NoToTheConfirmationInstallsNothing) {
    StartInstall({0, 1}, Options{});
    ExpectDialog(kInformation, "Ready to install Quarnel to a c:\\quarnel\\ ?", IDNO);
    ExpectCleanExit();
    // Only the directory itself is made before the question.
    EXPECT_TRUE(DirectoryEntries(kDefaultInstallDir).empty());
    EXPECT_FALSE(ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").has_value());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(DirectoryExists(MenuGroupFolder()));
}

TEST_F(Install, AnEmptiedDirectoryFieldIsRefusedBeforeAnythingIsMade) {
    Launch();
    HWND setup = AcceptAgreement();
    const SetupWindowControls controls = ControlsOf(setup);
    ToggleListItem(controls.componentList, 0);
    ::SendMessageA(controls.directoryEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    WaitUntil([&] { return IsEnabled(controls.installButton); }, "Install to be enabled",
              &Process());
    Click(controls.installButton);
    ExpectDialog(kError, "Please enter the directory to install Quarnel to", IDOK);
    ExpectCleanExit();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").has_value());
}

TEST_F(Install, ADirectoryTooLongForItsFilesIsRefusedBeforeAnythingIsMade) {
    // Thousands of levels, as far as the field takes them.
    Options options;
    options.directory = "C:\\QUARNEL";
    while (options.directory.size() < 32000) options.directory += "\\a";
    StartInstall({4}, options);
    ExpectDialog(kError,
                 "The directory name is too long. Please choose one of at most 230 characters",
                 IDOK);
    ExpectCleanExit();
    EXPECT_FALSE(DirectoryExists(kDefaultInstallDir));
    EXPECT_FALSE(ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").has_value());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(Install, TooLittleRoomOnTheDriveIsRefused) {
    const std::string drive = SmallDrive();
    if (drive.empty()) GTEST_SKIP() << "no small drive (test.sh could not mount one)";
    // One byte below the least the install starts with.
    const std::uint64_t free = LeaveFreeOnDrive(drive, 10239999);
    ASSERT_LT(free, 10240000u);
    Options options;
    options.directory = drive + "\\QUARNEL";
    StartInstall({0}, options);
    ExpectDialog(kError, "Not enough free space available", IDOK);
    ExpectCleanExit();
    EXPECT_FALSE(ReadTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path").has_value());
}

TEST_F(Install, ADriveThatFillsUpDuringTheCopyReportsTheWriteError) {
    const std::string drive = SmallDrive();
    if (drive.empty()) GTEST_SKIP() << "no small drive (test.sh could not mount one)";
    const std::uint64_t free = LeaveFreeOnDrive(drive, 10300000);
    ASSERT_GE(free, 10240000u);
    // Larger than the room left.
    WriteFileOfSize(MediumFile("wardex"), 12 * 1024 * 1024);
    Options options;
    options.directory = drive + "\\QUARNEL";
    StartInstall({0}, options);
    ConfirmInstallTo(drive + "\\QUARNEL\\");
    ExpectStandardErrorBox("Stream write error.");
    ExpectCleanExit();
    EXPECT_FALSE(FileSizeOf(DriverFile()).has_value());
}

}  // namespace
}  // namespace e2e
