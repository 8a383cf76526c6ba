// The three records the suite leaves under HKEY_LOCAL_MACHINE: the
// installation record that later runs read to find the suite, the entry in the
// platform's list of removable software, and the static driver registration.
#pragma once

#include <string>

namespace engine::records {

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
inline constexpr char kUninstallProgram[] = "Setup.exe";

// The command of the removable-software entry. A directory with a blank is
// quoted: unquoted, the platform would try to start a program named after the
// path's first word (C:\Program.exe for C:\Program Files\...).
inline std::string UninstallCommand(const std::string& installDir) {
    const std::string command = installDir + kUninstallProgram;
    if (installDir.find(' ') == std::string::npos) return command;
    return '"' + command + '"';
}

// Static driver registration: the loader reads it at the next Windows start.
// Start is a single byte of REG_BINARY, not a 4-byte number.
inline constexpr char kDriverKey[] = "System\\CurrentControlSet\\Services\\VxD\\QUARNEL";
inline constexpr char kStartValue[] = "Start";
inline constexpr unsigned char kStart[] = {0x00};
inline constexpr char kStaticVxdValue[] = "StaticVxD";
inline constexpr char kStaticVxd[] = "QUARNEL.VXD";

}  // namespace engine::records
