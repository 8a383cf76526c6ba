// Registry arrangements for tests, made with the platform's calls directly so
// that a fault of the program's accessor cannot hide behind the clean-up.
#pragma once

#include <windows.h>

#include <string>

namespace testing_registry {

// Deletes a key with everything below it; a missing key is no error.
void RemoveKeyTree(HKEY base, const std::string& path);
// Whether a key below HKEY_LOCAL_MACHINE can be opened.
bool KeyExists(const std::string& path);

}  // namespace testing_registry
