#include "app/Platform.h"

#include "ui/exceptions.h"

namespace app {

std::string OsVersionText(const OSVERSIONINFOA& version) {
    const char* name = "";
    DWORD build = version.dwBuildNumber;
    switch (version.dwPlatformId) {
        case 0:
            name = "32s";
            break;
        case 1:
            name = (version.dwMajorVersion > 4 ||
                    (version.dwMajorVersion == 4 && version.dwMinorVersion >= 10))
                       ? "98"
                       : "95";
            build &= 0xFFFF;  // the high word holds the version again on this family
            break;
        case 2:
            name = "NT";
            break;
        default:
            break;
    }
    char servicePack[128];
    lstrcpynA(servicePack, version.szCSDVersion, sizeof servicePack);
    std::string text =
        ui::Format("Windows %s %d.%.2d.%.3d %s", name, static_cast<int>(version.dwMajorVersion),
                   static_cast<int>(version.dwMinorVersion), static_cast<int>(build), servicePack);
    size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) <= 32) ++first;
    size_t last = text.size();
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32) --last;
    return text.substr(first, last - first);
}

std::string OsVersionText() {
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    return OsVersionText(version);
}

bool IsWindows95Family(const std::string& versionText) {
    return versionText.size() >= 10 && (versionText[9] == '5' || versionText[9] == '8');
}

std::string CurrentDirectoryWithBackslash() {
    char buffer[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    std::string directory =
        length > 0 && length < MAX_PATH ? std::string(buffer, length) : std::string();
    return directory + "\\";
}

std::string FreeSpaceText(std::int64_t bytes) { return std::to_string(bytes / 1024000) + " MB"; }

}  // namespace app
