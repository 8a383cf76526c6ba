#include "registry_state.h"

#include <vector>

#include "driver_error.h"
#include "ui/handles.h"

namespace e2e {
namespace {

ui::RegKey OpenKey(HKEY root, const std::string& path, REGSAM access) {
    ui::RegKey key;
    if (::RegOpenKeyExA(root, path.c_str(), 0, access, key.Receive()) != ERROR_SUCCESS) key.Close();
    return key;
}

ui::RegKey CreateKey(HKEY root, const std::string& path) {
    ui::RegKey key;
    const LONG status = ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                          KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr);
    if (status != ERROR_SUCCESS)
        throw DriverError("cannot create registry key " + path + " (error " +
                          std::to_string(status) + ")");
    return key;
}

void WriteValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                const BYTE* data, DWORD size) {
    ui::RegKey key = CreateKey(root, path);
    const LONG status = ::RegSetValueExA(key.Get(), name.c_str(), 0, type, data, size);
    if (status != ERROR_SUCCESS)
        throw DriverError("cannot write registry value " + path + "\\" + name + " (error " +
                          std::to_string(status) + ")");
}

}  // namespace

bool KeyExists(HKEY root, const std::string& path) {
    return OpenKey(root, path, KEY_READ).IsOpen();
}

void DeleteKeyTree(HKEY root, const std::string& path) {
    {
        ui::RegKey key = OpenKey(root, path, KEY_ALL_ACCESS);
        if (!key.IsOpen()) return;
        // Collect the names first: deleting while enumerating shifts the indexes.
        std::vector<std::string> children;
        char name[256];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (::RegEnumKeyExA(key.Get(), index, name, &length, nullptr, nullptr, nullptr,
                                nullptr) != ERROR_SUCCESS)
                break;
            children.emplace_back(name, length);
        }
        for (const std::string& child : children) DeleteKeyTree(root, path + "\\" + child);
    }
    const LONG status = ::RegDeleteKeyA(root, path.c_str());
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        throw DriverError("cannot delete registry key " + path + " (error " +
                          std::to_string(status) + ")");
}

KeyContents ContentsOf(HKEY root, const std::string& path) {
    ui::RegKey key = OpenKey(root, path, KEY_READ);
    if (!key.IsOpen()) throw DriverError("registry key " + path + " does not exist");
    KeyContents contents;
    ::RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, &contents.subkeys, nullptr, nullptr,
                       &contents.values, nullptr, nullptr, nullptr, nullptr);
    return contents;
}

std::optional<std::string> ReadTextValue(HKEY root, const std::string& path,
                                         const std::string& name) {
    ui::RegKey key = OpenKey(root, path, KEY_READ);
    if (!key.IsOpen()) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::vector<char> data(size + 1, '\0');
    if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::string(data.data());
}

std::optional<RawValue> ReadRawValue(HKEY root, const std::string& path, const std::string& name) {
    ui::RegKey key = OpenKey(root, path, KEY_READ);
    if (!key.IsOpen()) return std::nullopt;
    RawValue value;
    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    if (size > 0 && ::RegQueryValueExA(key.Get(), name.c_str(), nullptr, nullptr,
                                       value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

void CreateVolatileKey(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw DriverError("cannot make the volatile key " + path);
    ::RegCloseKey(key);
}

void CreateKeyLink(HKEY root, const std::string& path, const std::string& target) {
    HKEY key = nullptr;
    if (::RegCreateKeyExA(
            root, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE | REG_OPTION_CREATE_LINK,
            KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw DriverError("cannot make the registry link " + path);
    const std::wstring wide(target.begin(), target.end());
    const LONG set = ::RegSetValueExW(key, L"SymbolicLinkValue", 0, REG_LINK,
                                      reinterpret_cast<const BYTE*>(wide.data()),
                                      static_cast<DWORD>(wide.size() * sizeof(wchar_t)));
    ::RegCloseKey(key);
    if (set != ERROR_SUCCESS) throw DriverError("cannot point the registry link " + path);
}

void DeleteKeyLink(HKEY root, const std::string& path) {
    using NtDeleteKeyFunction = LONG(WINAPI*)(HANDLE);
    const auto deleteKey = reinterpret_cast<NtDeleteKeyFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtDeleteKey")));
    HKEY key = nullptr;
    if (deleteKey == nullptr ||
        ::RegOpenKeyExA(root, path.c_str(), REG_OPTION_OPEN_LINK, DELETE, &key) != ERROR_SUCCESS)
        return;
    deleteKey(key);
    ::RegCloseKey(key);
}

void WriteTextValue(HKEY root, const std::string& path, const std::string& name,
                    const std::string& value) {
    WriteValue(root, path, name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
               static_cast<DWORD>(value.size() + 1));
}

void WriteDwordValue(HKEY root, const std::string& path, const std::string& name, DWORD value) {
    WriteValue(root, path, name, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void DeleteValue(HKEY root, const std::string& path, const std::string& name) {
    ui::RegKey key = OpenKey(root, path, KEY_ALL_ACCESS);
    if (key.IsOpen()) ::RegDeleteValueA(key.Get(), name.c_str());
}

}  // namespace e2e
