// What an install leaves outside its own directory, as the scenarios arrange
// and check it: the menu group, the start-up shortcut, the driver in the
// system directory, shortcuts read back through the shell, the readme viewer,
// and the small drive of the free-space scenarios.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "shortcut_view.h"

namespace e2e {

inline constexpr char kDefaultInstallDir[] = "C:\\quarnel";

std::string ProgramsFolder();
std::string StartupFolder();
std::string SystemDirectory();
// The menu group folder the install makes under Programs.
std::string MenuGroupFolder();
// The start-up shortcut and the driver file an install leaves.
std::string StartupShortcut();
std::string DriverFile();

bool DirectoryExists(const std::string& path);
// Names of the entries of a directory other than "." and "..", sorted.
std::vector<std::string> DirectoryEntries(const std::string& dir);
// Size of a file; nothing when it does not exist.
std::optional<std::uint64_t> FileSizeOf(const std::string& path);
bool SameContents(const std::string& a, const std::string& b);
void WriteFileOfSize(const std::string& path, std::uint64_t size);
void MakeReadOnly(const std::string& path);

// Top-level windows of other processes whose title names the readme.
std::vector<HWND> ReadmeViewerWindows();
// Ends the programs that show the readme.
void CloseReadmeViewers();

// The small drive the test command mounts for the free-space scenarios
// ("M:"), or "" when the host could not make one.
std::string SmallDrive();
// Empties the small drive and fills it with a ballast file so that exactly
// `freeBytes` remain free; answers the free bytes the platform then reports.
std::uint64_t LeaveFreeOnDrive(const std::string& drive, std::uint64_t freeBytes);

}  // namespace e2e
