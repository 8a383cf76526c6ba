// What each of the suite's five components consists of: the directories an
// install makes for it, the files it copies from the distribution medium, and
// its shortcut in the menu group. Paths are joined to their bases exactly as
// written here, without a separator added or removed.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace engine {

struct ComponentFile {
    const char* source;       // below the medium's directory
    const char* destination;  // below the install directory
    const char* status;       // shown before the copy; nullptr: none of its own
};

struct ComponentShortcut {
    const char* linkName;  // below the Programs folder
    const char* target;    // below the install directory
    const char* status;
};

inline constexpr std::size_t kMaxComponentDirectories = 3;
inline constexpr std::size_t kMaxComponentFiles = 2;

struct Component {
    const char* name;
    // The first one is the shortcut's working directory.
    std::array<const char*, kMaxComponentDirectories> directories;  // unused slots nullptr
    std::array<ComponentFile, kMaxComponentFiles> files;            // unused slots source nullptr
    ComponentShortcut shortcut;
};

inline constexpr std::size_t kComponentCount = 5;

// In the order of the setup window's component list.
const std::array<Component, kComponentCount>& ComponentTable();

// The installed copy of the setup program, in the install directory: the
// file the install copies, the removable-software entry starts and a
// removal leaves for the next Windows start to delete.
inline constexpr char kInstalledSetupName[] = "setup.exe";
// The install joins the setup program's copy and the readme to the install
// directory (which ends in a backslash by then) after a backslash of their
// own: the path holds a doubled backslash, which the platform reads as one.
inline std::string SetupCopyIn(const std::string& installDir) {
    return installDir + "\\" + kInstalledSetupName;
}
inline constexpr char kReadmeCopyName[] = "\\readme.doc";

// The longest name the install writes below the install directory: of the
// setup program's copy, the readme, and every component's directories and
// files.
std::size_t LongestInstalledName();
// The longest directory the install makes below the install directory, as
// it is handed to the platform (without a trailing backslash).
std::size_t LongestInstalledDirectory();

// The longest path the platform's 8-bit file routines take, without the
// terminating zero.
inline constexpr std::size_t kLongestPath = 259;
// The longest directory CreateDirectoryA makes on Windows 95 and 98.
inline constexpr std::size_t kLongestDirectory = 248;
// The longest directory GetTempFileNameA takes (MAX_PATH - 14): a file in
// use is copied beside itself under such a name.
inline constexpr std::size_t kLongestTemporaryDirectory = 246;

// The longest install directory, ending in its backslash, below which every
// file of the install still has a path the platform takes, every directory
// can be made, and a file in use can be copied beside itself.
std::size_t LongestInstallDirectory();

}  // namespace engine
