#include "installed_state.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "driver_error.h"
#include "host_paths.h"
#include "install_state.h"
#include "registry_state.h"
#include "ui/handles.h"
#include "wine_host.h"

namespace e2e {
namespace {

struct ComponentFiles {
    Component component;
    const char* shortcut;  // in the menu group
    std::vector<std::string> directories;
    // What the install copies and what the program writes as it runs: every
    // name the removal deletes.
    std::vector<std::string> removed;
    // What the install copies and the removal leaves.
    std::vector<std::string> kept;
};

const std::vector<ComponentFiles>& Components() {
    static const std::vector<ComponentFiles> components = {
        {Component::Wardex,
         "Wardex.lnk",
         {"WARDEX"},
         {"WARDEX\\wardex.exe", "WARDEX\\alert.wav", "WARDEX\\wardex.ini", "WARDEX\\smart.001",
          "WARDEX\\dlsize.001", "WARDEX\\startup.log", "WARDEX\\log.txt", "WARDEX\\wardex.doc",
          "WARDEX\\wardex_d.zip"},
         {}},
        {Component::Pelkin,
         "Pelkin.lnk",
         {"PELKIN"},
         {"PELKIN\\pelkin.exe", "PELKIN\\pelkin_d.zip", "PELKIN\\pelkin_d.doc"},
         {}},
        {Component::Orvane,
         "Orvane.lnk",
         {"ORVANE"},
         {"ORVANE\\orvane.exe", "ORVANE\\orvane_d.zip", "ORVANE\\orvane_d.doc"},
         {}},
        {Component::Sulmet,
         "Sulmet.lnk",
         {"SULMET"},
         {"SULMET\\sulmet.exe", "SULMET\\sulmet_d.zip", "SULMET\\sulmet_d.doc"},
         {}},
        {Component::Trivel,
         "Trivel.lnk",
         {"TRIVEL", "TRIVEL\\Defects", "TRIVEL\\Diskware"},
         {"TRIVEL\\trivel.exe", "TRIVEL\\trivel_d.zip", "TRIVEL\\trivel_d.doc"},
         {"TRIVEL\\Diskware\\keldan.dw"}},
    };
    return components;
}

bool Chosen(const InstalledState& state, Component component) {
    return std::find(state.components.begin(), state.components.end(), component) !=
           state.components.end();
}

std::string DirectoryOf(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

void WriteBinaryValue(const std::string& path, const std::string& name, BYTE byte) {
    ui::RegKey key;
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr) != ERROR_SUCCESS ||
        ::RegSetValueExA(key.Get(), name.c_str(), 0, REG_BINARY, &byte, 1) != ERROR_SUCCESS)
        throw DriverError("cannot write registry value " + path + "\\" + name);
}

void DeleteFileIfThere(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

std::string EntryText(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return path + " -";
    char details[64];
    std::snprintf(details, sizeof details, " %lu %lx",
                  static_cast<unsigned long>(data.nFileSizeLow),
                  static_cast<unsigned long>(data.dwFileAttributes));
    return path + details;
}

void AddTree(const std::string& dir, std::vector<std::string>& entries) {
    WalkTree(dir, [&](const std::string& path, bool) { entries.push_back(EntryText(path)); });
}

void AddKey(const std::string& path, const std::vector<std::string>& values,
            std::vector<std::string>& entries) {
    if (!KeyExists(HKEY_LOCAL_MACHINE, path)) {
        entries.push_back(path + " absent");
        return;
    }
    const KeyContents contents = ContentsOf(HKEY_LOCAL_MACHINE, path);
    entries.push_back(path + " " + std::to_string(contents.subkeys) + " " +
                      std::to_string(contents.values));
    for (const std::string& value : values)
        entries.push_back(path + "\\" + value + "=" +
                          ReadTextValue(HKEY_LOCAL_MACHINE, path, value).value_or("(none)"));
}

// Where the scenarios' own drive D: lies on the host; a mapping to such a
// directory is left over from a run that did not end well, and is ours.
constexpr char kDriveDHostPrefix[] = "/tmp/quarnel-e2e-drive-d-";

}  // namespace

ScopedDriveD::ScopedDriveD() {
    // A D: of the prefix that is not the scenarios' own is never written to.
    const std::string previous = PathExists("D:\\") ? testing_support::HostPathOf("D:\\") : "";
    if (PathExists("D:\\") && previous.rfind(kDriveDHostPrefix, 0) != 0) return;
    const std::string dir = kDriveDHostPrefix + std::to_string(::GetCurrentProcessId());
    MakeDirectories(WindowsPathOf(dir));
    if (testing_support::DefineHostDrive('d', dir)) hostDir_ = dir;
    // What a run that did not end well left behind goes now.
    if (!previous.empty() && hostDir_ + "/" != previous && hostDir_ != previous) {
        RemoveDirectoryTree(WindowsPathOf(previous));
    }
}

ScopedDriveD::~ScopedDriveD() {
    if (hostDir_.empty()) return;
    testing_support::DefineHostDrive('d', "");
    RemoveDirectoryTree(WindowsPathOf(hostDir_));
}

std::string RenameList() {
    char dir[MAX_PATH] = "";
    ::GetWindowsDirectoryA(dir, MAX_PATH);
    return JoinPath(dir, "wininit.ini");
}

std::string DoneRenameList() {
    const std::string list = RenameList();
    return list.substr(0, list.size() - 3) + "bak";
}

void PlantInstalledState(const InstalledState& state) {
    const std::string& dir = state.installDir;
    WriteTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Version", "2.5");
    WriteTextValue(HKEY_LOCAL_MACHINE, kRecordKey, "Path", dir);
    WriteTextValue(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName", "Quarnel");
    WriteTextValue(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString", dir + "Setup.exe");
    WriteBinaryValue(kDriverKey, "Start", 0);
    WriteTextValue(HKEY_LOCAL_MACHINE, kDriverKey, "StaticVxD", "QUARNEL.VXD");

    if (!MakeDirectories(dir)) throw DriverError("cannot make " + dir);
    for (const std::string& file : KeptFiles(state)) {
        MakeDirectories(DirectoryOf(file));
        WriteFileBytes(file, "kept: " + file);
    }
    for (const ComponentFiles& component : Components()) {
        if (!Chosen(state, component.component)) continue;
        for (const std::string& sub : component.directories) MakeDirectories(dir + sub);
    }
    for (const std::string& file : RemovedFiles(state)) WriteFileBytes(file, "removed: " + file);
    WriteFileBytes(DriverFile(), "Quarnel static driver");

    if (state.menuGroup) {
        const std::string group = MenuGroupFolder();
        MakeDirectories(group);
        WriteFileBytes(group + "\\Quarnel Setup.lnk", "shortcut to " + dir + "Setup.EXE");
        for (const ComponentFiles& component : Components()) {
            if (Chosen(state, component.component))
                WriteFileBytes(group + "\\" + component.shortcut, "shortcut");
        }
    }
    if (state.startupShortcut) {
        MakeDirectories(StartupFolder());
        WriteFileBytes(StartupShortcut(), "shortcut to " + dir + "WARDEX\\WARDEX.EXE");
    }
}

std::vector<std::string> RemovedFiles(const InstalledState& state) {
    std::vector<std::string> files;
    for (const ComponentFiles& component : Components()) {
        if (!Chosen(state, component.component)) continue;
        for (const std::string& file : component.removed) files.push_back(state.installDir + file);
    }
    return files;
}

std::vector<std::string> KeptFiles(const InstalledState& state) {
    std::vector<std::string> files = {state.installDir + "setup.exe",
                                      state.installDir + "readme.doc"};
    for (const ComponentFiles& component : Components()) {
        if (!Chosen(state, component.component)) continue;
        for (const std::string& file : component.kept) files.push_back(state.installDir + file);
    }
    return files;
}

void ClearInstalledState() {
    // D:\TOOLS lies on the scenario's own drive, which goes with the scenario.
    RemoveDirectoryTree("C:\\QUARNEL");
    RemoveDirectoryTree(MenuGroupFolder());
    DeleteFileIfThere(StartupShortcut());
    DeleteFileIfThere(DriverFile());
    DeleteFileIfThere(RenameList());
    DeleteFileIfThere(DoneRenameList());
}

std::vector<std::string> TreeSnapshot(const std::string& dir) {
    std::vector<std::string> entries;
    AddTree(dir, entries);
    std::sort(entries.begin(), entries.end());
    return entries;
}

std::vector<std::string> SnapshotOf(const InstalledState& state) {
    std::vector<std::string> entries = TreeSnapshot(state.installDir);
    const std::vector<std::string> group = TreeSnapshot(MenuGroupFolder());
    entries.insert(entries.end(), group.begin(), group.end());
    entries.push_back(EntryText(MenuGroupFolder()));
    entries.push_back(EntryText(StartupShortcut()));
    entries.push_back(EntryText(DriverFile()));
    entries.push_back(EntryText(RenameList()));
    AddKey(kRecordKey, {"Version", "Path"}, entries);
    AddKey(kUninstallKey, {"DisplayName", "UninstallString"}, entries);
    AddKey(kDriverKey, {"StaticVxD"}, entries);
    return entries;
}

void WalkTree(const std::string& dir,
              const std::function<void(const std::string& path, bool directory)>& visit) {
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(JoinPath(dir, "*").c_str(), &found));
    if (!search.IsValid()) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = JoinPath(dir, name);
        const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        visit(path, directory);
        if (directory) WalkTree(path, visit);
    } while (::FindNextFileA(search.Get(), &found));
}

bool PathExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadFileBytes(const std::string& path) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) throw DriverError("cannot read " + path);
    std::string bytes;
    char block[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), block, sizeof block, &read, nullptr) && read > 0)
        bytes.append(block, read);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file.IsValid() ||
        !::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) ||
        written != bytes.size())
        throw DriverError("cannot write " + path);
}

void RunNextWindowsStart() {
    char dir[MAX_PATH] = "";
    ::GetSystemDirectoryA(dir, MAX_PATH);
    std::string command = "\"" + JoinPath(dir, "wineboot.exe") + "\" -r";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        throw DriverError("cannot start " + command);
    ui::ScopedHandle process(info.hProcess);
    ui::ScopedHandle thread(info.hThread);
    if (::WaitForSingleObject(process.Get(), 60000) != WAIT_OBJECT_0)
        throw DriverError(command + " did not end within a minute");
}

}  // namespace e2e
