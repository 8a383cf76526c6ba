#include "controls/DirectoryCreation.h"

#include <windows.h>

#include "ui/exceptions.h"

namespace controls {

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ExtractFilePath(const std::string& path) {
    const std::string::size_type last = path.find_last_of("\\:");
    return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

void ForceDirectories(const std::string& path) {
    if (path.empty()) throw ui::Exception("Unable to create directory");
    std::string dir = path;
    if (dir.back() == '\\') dir.pop_back();
    if (dir.size() <= 2 || DirectoryExists(dir)) return;
    // A bare name has no parent to make: it is made where it stands.
    const std::string parent = ExtractFilePath(dir);
    if (!parent.empty() && parent != dir) ForceDirectories(parent);
    ::CreateDirectoryA(dir.c_str(), nullptr);
}

}  // namespace controls
