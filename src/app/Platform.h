// What the program asks of the platform at start: which system it runs on,
// where it was started from, and how much room a drive has.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace app {

// "Windows <name> <major>.<minor>.<build> <service pack>", trimmed of
// leading and trailing characters up to the blank.
std::string OsVersionText(const OSVERSIONINFOA& version);
std::string OsVersionText();

// True on the Windows 95 family: the tenth character of the version text
// (the second of the system's name) is '5' or '8'.
bool IsWindows95Family(const std::string& versionText);

// The current directory followed by one backslash.
std::string CurrentDirectoryWithBackslash();

// 'A' to 'Z' in either case give 1 to 26; anything else drive C (3).
int DriveNumberFromPath(const std::string& path);

// Free bytes of a drive (1 = A:, 0 = the current drive) as the signed 32-bit
// product of the platform's three figures; -1 when the drive cannot be asked.
std::int32_t DriveFreeBytes(int drive);

// The free-space figure shown to the user: whole units of 1024000 bytes.
std::string FreeSpaceText(std::int32_t bytes);

}  // namespace app
