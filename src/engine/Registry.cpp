#include "engine/Registry.h"

#include <cstring>
#include <vector>

#include "engine/SetupLog.h"

namespace engine {

namespace {

// The names of the subkeys of `key`, read before any is deleted: deleting
// while enumerating would shift the indexes.
std::vector<std::string> SubkeyNames(HKEY key) {
    std::vector<std::string> names;
    DWORD subkeys = 0;
    DWORD longest = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, &longest, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return names;
    }
    std::vector<char> buffer(static_cast<std::size_t>(longest) + 1);
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (::RegEnumKeyExA(key, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(buffer.data(), length);
    }
    return names;
}

// Deletes `path` below `base` after its subkeys, depth first: the platform
// refuses to delete a key that still has subkeys. The key is deleted only
// once its own handle is closed: what a registry makes of the deletion of a
// key that is still open differs from one system to the next.
bool DeleteTree(HKEY base, const std::string& path) {
    {
        ui::RegKey key;
        if (::RegOpenKeyExA(base, path.c_str(), 0, KEY_ALL_ACCESS, key.Receive()) ==
            ERROR_SUCCESS) {
            for (const std::string& name : SubkeyNames(key.Get())) DeleteTree(key.Get(), name);
        }
    }
    return ::RegDeleteKeyA(base, path.c_str()) == ERROR_SUCCESS;
}

// How a key is named in the log: the root's short name and the path.
std::string KeyName(HKEY root, const std::string& path) {
    const char* name = root == HKEY_LOCAL_MACHINE  ? "HKLM"
                       : root == HKEY_CURRENT_USER ? "HKCU"
                       : root == HKEY_USERS        ? "HKU"
                       : root == HKEY_CLASSES_ROOT ? "HKCR"
                                                   : "HKEY";
    return path.empty() ? std::string(name) : std::string(name) + "\\" + path;
}

}  // namespace

void TRegistry::SetRootKey(HKEY root) {
    if (root == root_) return;
    root_ = root;
    CloseRegistryKey();
}

TRegistry::Location TRegistry::Locate(const std::string& path) const {
    if (!path.empty() && path[0] == '\\') return {root_, path.substr(1), false};
    return {current_.IsOpen() ? current_.Get() : root_, path, true};
}

bool TRegistry::OpenRegistryKey(const std::string& path, bool canCreate) {
    const Location where = Locate(path);
    ui::RegKey key;
    LONG status;
    DWORD disposition = 0;
    if (canCreate && !where.path.empty()) {
        status =
            ::RegCreateKeyExA(where.base, where.path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, key.Receive(), &disposition);
    } else {
        status = ::RegOpenKeyExA(where.base, where.path.c_str(), 0, KEY_ALL_ACCESS, key.Receive());
    }
    if (status != ERROR_SUCCESS) return false;

    if (where.relative && current_.IsOpen()) {
        currentPath_ = currentPath_ + "\\" + where.path;
    } else {
        currentPath_ = where.path;
    }
    current_ = std::move(key);
    if (disposition == REG_CREATED_NEW_KEY)
        LogLine("Registry key created: " + KeyName(root_, currentPath_));
    return true;
}

void TRegistry::CloseRegistryKey() {
    current_.Close();
    currentPath_.clear();
}

void TRegistry::WriteTextValue(const std::string& name, const std::string& text) {
    if (::RegSetValueExA(current_.Get(), name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(text.data()),
                         static_cast<DWORD>(text.size())) != ERROR_SUCCESS) {
        throw ERegistryException(ui::Format("Failed to set data for '%s'", name.c_str()));
    }
    LogLine("Registry value written: " + KeyName(root_, currentPath_) + " " + name + " = \"" +
            text + "\"");
}

void TRegistry::WriteByteValue(const std::string& name, const void* bytes, std::size_t count) {
    if (::RegSetValueExA(current_.Get(), name.c_str(), 0, REG_BINARY,
                         static_cast<const BYTE*>(bytes),
                         static_cast<DWORD>(count)) != ERROR_SUCCESS) {
        throw ERegistryException(ui::Format("Failed to set data for '%s'", name.c_str()));
    }
    std::string hex;
    for (std::size_t i = 0; i < count; ++i)
        hex += ui::Format(i == 0 ? "%02x" : ",%02x", static_cast<const unsigned char*>(bytes)[i]);
    LogLine("Registry value written: " + KeyName(root_, currentPath_) + " " + name +
            " = hex:" + hex);
}

std::string TRegistry::ReadTextValue(const std::string& name) const {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (::RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        static_cast<LONG>(size) <= 0) {
        return std::string();
    }
    std::string text(size, '\0');
    if (::RegQueryValueExA(current_.Get(), name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(&text[0]), &size) != ERROR_SUCCESS) {
        throw ERegistryException(ui::Format("Failed to get data for '%s'", name.c_str()));
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) {
        throw ERegistryException(ui::Format("Invalid data type for '%s'", name.c_str()));
    }
    text.resize(std::strlen(text.c_str()));
    return text;
}

bool TRegistry::RegistryKeyPresent(const std::string& path) const {
    const Location where = Locate(path);
    ui::RegKey key;
    return ::RegOpenKeyExA(where.base, where.path.c_str(), 0, KEY_ALL_ACCESS, key.Receive()) ==
           ERROR_SUCCESS;
}

bool TRegistry::DeleteRegistryTree(const std::string& path) {
    const Location where = Locate(path);
    const bool deleted = DeleteTree(where.base, where.path);
    const std::string name =
        where.relative && current_.IsOpen() ? currentPath_ + "\\" + where.path : where.path;
    if (deleted) {
        LogLine("Registry key deleted: " + KeyName(root_, name));
    } else {
        LogError("Cannot delete registry key " + KeyName(root_, name));
    }
    return deleted;
}

}  // namespace engine
