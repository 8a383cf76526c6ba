#include "registry_keys.h"

#include "ui/handles.h"

namespace testing_registry {

void RemoveKeyTree(HKEY base, const std::string& path) {
    {
        ui::RegKey key;
        if (::RegOpenKeyExA(base, path.c_str(), 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS)
            return;
        char name[256];
        DWORD length = sizeof(name);
        while (::RegEnumKeyExA(key.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) ==
               ERROR_SUCCESS) {
            RemoveKeyTree(key.Get(), name);
            length = sizeof(name);
        }
    }
    ::RegDeleteKeyA(base, path.c_str());
}

bool KeyExists(const std::string& path) {
    ui::RegKey key;
    return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.Receive()) ==
           ERROR_SUCCESS;
}

}  // namespace testing_registry
