// The three records the suite leaves under HKEY_LOCAL_MACHINE: the
// installation record that later runs read to find the suite, the entry in the
// platform's list of removable software, and the static driver registration.
#pragma once

#include <string>

#include "engine/ComponentTable.h"

namespace engine {
class TRegistry;
}

namespace engine::records {

// Where an install goes when no directory is recorded or typed.
inline constexpr char kDefaultInstallDir[] = "c:\\quarnel";

// Installation record. Its parent, the vendor key, is made with it and stays
// after a removal.
inline constexpr char kVendorKey[] = "SOFTWARE\\Brenvik";
inline constexpr char kInstallKey[] = "SOFTWARE\\Brenvik\\Quarnel";
inline constexpr char kVersionValue[] = "Version";
inline constexpr char kVersion[] = "2.5";
// The install directory, always ending in a backslash.
inline constexpr char kPathValue[] = "Path";

// Removable-software entry: the name the platform lists and the command it
// runs, the installed copy of the setup program (install directory + name).
inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quarnel";
inline constexpr char kDisplayNameValue[] = "DisplayName";
inline constexpr char kDisplayName[] = "Quarnel";
inline constexpr char kUninstallStringValue[] = "UninstallString";

// The command of the removable-software entry: the installed setup program,
// with a capital as the platform's list has always shown it (the same file:
// file names do not differ by case). A directory with a blank is quoted:
// unquoted, the platform would try to start a program named after the
// path's first word (C:\Program.exe for C:\Program Files\...).
inline std::string UninstallCommand(const std::string& installDir) {
    std::string program = kInstalledSetupName;
    program[0] = static_cast<char>(program[0] - 'a' + 'A');
    const std::string command = installDir + program;
    if (installDir.find(' ') == std::string::npos) return command;
    return '"' + command + '"';
}

// The directory the installation record holds (`Path`), read through
// `registry` rooted at HKEY_LOCAL_MACHINE; empty when the record has none or
// its key cannot be opened. `createRecord` makes a missing key, as the setup
// window and the removal do; an unattended run asks without writing. The
// key stays open in `registry`. Raises the registry's error for a `Path`
// that is not text.
std::string ReadInstallDir(TRegistry& registry, bool createRecord);

// Static driver registration: the loader reads it at the next Windows start.
// Start is a single byte of REG_BINARY, not a 4-byte number.
inline constexpr char kDriverKey[] = "System\\CurrentControlSet\\Services\\VxD\\QUARNEL";
inline constexpr char kStartValue[] = "Start";
inline constexpr unsigned char kStart[] = {0x00};
inline constexpr char kStaticVxdValue[] = "StaticVxD";
inline constexpr char kStaticVxd[] = "QUARNEL.VXD";

}  // namespace engine::records
