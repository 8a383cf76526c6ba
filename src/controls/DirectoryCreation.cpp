#include "controls/DirectoryCreation.h"

#include <windows.h>

#include <vector>

#include "ui/code_page.h"
#include "ui/exceptions.h"
#include "ui/path_text.h"

namespace controls {

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ExtractFilePath(const std::string& path) {
    return ui::DirectoryPart(path, &ui::IsAnsiLeadByte);
}

std::string WithoutTrailingBackslash(std::string path, std::size_t keep) {
    if (path.size() > keep && ui::EndsWithBackslash(path, &ui::IsAnsiLeadByte)) path.pop_back();
    return path;
}

void ForceDirectories(const std::string& path) {
    if (path.empty()) throw ui::Exception("Unable to create directory");
    // A loop, not a recursion: a typed path can hold thousands of levels.
    // A directory whose parent is itself by the text is made where it
    // stands, and so is a bare name, which has no parent to make.
    const std::vector<std::size_t> chain =
        ui::DirectoryChain(path, &ui::IsAnsiLeadByte, ui::OwnParent::Make);
    std::size_t missing = 0;
    while (missing < chain.size() && !DirectoryExists(path.substr(0, chain[missing]))) ++missing;
    while (missing > 0) ::CreateDirectoryA(path.substr(0, chain[--missing]).c_str(), nullptr);
}

}  // namespace controls
