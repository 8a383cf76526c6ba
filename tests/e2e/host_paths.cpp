#include "host_paths.h"

#include <windows.h>

#include <vector>

#include "ui/handles.h"

namespace e2e {

std::string WindowsPathOf(const std::string& path) {
    std::string result = path;
    for (char& c : result) {
        if (c == '/') c = '\\';
    }
    const bool hasDrive = result.size() >= 2 && result[1] == ':';
    if (!hasDrive && !result.empty() && result[0] == '\\') result = "Z:" + result;
    return result;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '\\' || dir.back() == '/') return dir + name;
    return dir + "\\" + name;
}

std::string EnvironmentText(const char* name) {
    const DWORD needed = ::GetEnvironmentVariableA(name, nullptr, 0);
    if (needed == 0) return std::string();
    std::vector<char> buffer(needed);
    const DWORD length = ::GetEnvironmentVariableA(name, buffer.data(), needed);
    return std::string(buffer.data(), length);
}

std::string ShippedDir() {
    const std::string fromEnvironment = EnvironmentText("QUARNEL_SHIPPED_DIR");
    return WindowsPathOf(fromEnvironment.empty() ? QUARNEL_SHIPPED_DIR_HOST : fromEnvironment);
}

std::string ScreenshotDir() {
    const std::string fromEnvironment = EnvironmentText("QUARNEL_SCREENSHOTS");
    const std::string dir =
        WindowsPathOf(fromEnvironment.empty() ? QUARNEL_SCREENSHOTS_HOST : fromEnvironment);
    MakeDirectories(dir);
    return dir;
}

bool MakeDirectories(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    const std::string::size_type slash = path.find_last_of("\\/");
    if (slash != std::string::npos && slash > 2) MakeDirectories(path.substr(0, slash));
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE ||
           ::GetLastError() == ERROR_ALREADY_EXISTS;
}

bool FileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void RemoveDirectoryTree(const std::string& dir) {
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(JoinPath(dir, "*").c_str(), &found));
    if (search.IsValid()) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = JoinPath(dir, name);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveDirectoryTree(path);
            } else {
                ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(path.c_str());
            }
        } while (::FindNextFileA(search.Get(), &found));
    }
    search.Close();
    ::RemoveDirectoryA(dir.c_str());
}

}  // namespace e2e
