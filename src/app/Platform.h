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

// The free-space figure shown to the user: whole units of 1024000 bytes.
std::string FreeSpaceText(std::int64_t bytes);

}  // namespace app
