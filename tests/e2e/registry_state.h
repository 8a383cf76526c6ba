// Reading and arranging the registry state the scenarios start from and check
// afterwards. Paths are key paths below a root such as HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The three records an install leaves in HKEY_LOCAL_MACHINE.
inline constexpr char kVendorKey[] = "SOFTWARE\\Brenvik";
inline constexpr char kRecordKey[] = "SOFTWARE\\Brenvik\\Quarnel";
inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quarnel";
// A volatile key scenarios make to refuse lasting keys below it.
inline constexpr char kVolatileTestKey[] = "SOFTWARE\\QuarnelTestVolatile";
inline constexpr char kDriverKey[] = "System\\CurrentControlSet\\Services\\VxD\\QUARNEL";

bool KeyExists(HKEY root, const std::string& path);

// Deletes a key with everything below it; a missing key is not an error.
// Throws DriverError when a key that exists cannot be deleted.
void DeleteKeyTree(HKEY root, const std::string& path);

struct KeyContents {
    DWORD subkeys = 0;
    DWORD values = 0;
};
// Throws DriverError when the key cannot be opened.
KeyContents ContentsOf(HKEY root, const std::string& path);

// The value's text when it exists and has a text type; nothing otherwise.
std::optional<std::string> ReadTextValue(HKEY root, const std::string& path,
                                         const std::string& name);

// A value's type and raw bytes; nothing when the value does not exist.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;
};
std::optional<RawValue> ReadRawValue(HKEY root, const std::string& path, const std::string& name);

// Create the key when needed and write the value; throw DriverError on failure.
void WriteTextValue(HKEY root, const std::string& path, const std::string& name,
                    const std::string& value);
void WriteDwordValue(HKEY root, const std::string& path, const std::string& name, DWORD value);

// Makes a key that lives only until the session ends. The platform refuses
// to make a lasting key below it, which is how a scenario arranges a record
// that cannot be created.
void CreateVolatileKey(HKEY root, const std::string& path);

// Makes `path` a registry link to `target` (a kernel path such as
// \Registry\Machine\...), and takes such a link away again. A scenario
// points a record's key at a place where no lasting key can be made.
void CreateKeyLink(HKEY root, const std::string& path, const std::string& target);
void DeleteKeyLink(HKEY root, const std::string& path);

// Deletes one value; a missing value or key is not an error.
void DeleteValue(HKEY root, const std::string& path, const std::string& name);

}  // namespace e2e
