// An installed suite as the install leaves it, planted directly: the three
// registry records, the installed tree with the files the programs write as
// they run, the menu group and the start-up shortcut, and the driver in the
// system directory. Also the clean-up that gives each scenario a machine
// without any of it, and a snapshot to tell what a run changed.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace e2e {

enum class Component { Wardex, Pelkin, Orvane, Sulmet, Trivel };

struct InstalledState {
    std::string installDir = "C:\\QUARNEL\\";  // as recorded: with its backslash
    std::vector<Component> components = {Component::Wardex, Component::Pelkin, Component::Orvane,
                                         Component::Sulmet, Component::Trivel};
    bool menuGroup = true;
    bool startupShortcut = true;
};

std::string RenameList();
// Where the platform's next start leaves the rename list it has carried out.
std::string DoneRenameList();

bool PathExists(const std::string& path);

// Calls `visit` for every entry below `dir`, each directory before what it
// holds, with the entry's path and whether it is a directory.
void WalkTree(const std::string& dir,
              const std::function<void(const std::string& path, bool directory)>& visit);

void PlantInstalledState(const InstalledState& state);

// Paths of the planted files that the removal deletes, and of those it keeps
// (the readme, the diskware and the setup program's copy).
std::vector<std::string> RemovedFiles(const InstalledState& state);
std::vector<std::string> KeptFiles(const InstalledState& state);

// Removes every file, folder and shortcut an install or PlantInstalledState
// leaves on C:, and the rename list; the records are the fixture's to
// delete. What a scenario leaves on D: goes with its ScopedDriveD.
void ClearInstalledState();

// "path size attributes" for every file and directory below `dir`, and for
// each of the group, the start-up shortcut, the driver and the records with
// their values: equal snapshots mean nothing of the installation changed.
std::vector<std::string> SnapshotOf(const InstalledState& state);
std::vector<std::string> TreeSnapshot(const std::string& dir);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Drive D: for a scenario: Wine's mount manager maps it to a fresh host
// directory, and the mapping and the directory go with the object. A D: the
// prefix has of its own is left alone, and the scenario cannot run.
class ScopedDriveD {
public:
    ScopedDriveD();
    ~ScopedDriveD();
    ScopedDriveD(const ScopedDriveD&) = delete;
    ScopedDriveD& operator=(const ScopedDriveD&) = delete;
    bool Usable() const { return !hostDir_.empty() && PathExists("D:\\"); }

private:
    std::string hostDir_;  // empty when D: was there before
};

// Runs the platform's start-up processing as the next Windows start would
// (wineboot -r) and waits for it.
void RunNextWindowsStart();

}  // namespace e2e
