#include "engine/WholeFile.h"

#include <windows.h>

#include "engine/FileUtil.h"
#include "ui/handles.h"

namespace engine {

bool ReadWholeFile(const std::string& path, std::size_t longest, std::string& text) {
    ui::ScopedHandle file(::CreateFileA(PlatformPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    // Measured by seeking to the end: the one way every Windows 95 has.
    const DWORD size = ::SetFilePointer(file.Get(), 0, nullptr, FILE_END);
    if (size == INVALID_SET_FILE_POINTER || size > longest ||
        ::SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != 0)
        return false;
    std::string read(size, '\0');
    DWORD got = 0;
    if (size > 0 && (!::ReadFile(file.Get(), &read[0], size, &got, nullptr) || got != size))
        return false;
    text = read;
    return true;
}

bool ReplaceWholeFile(const std::string& path, const std::string& text) {
    const std::string full = FullPath(path);
    const std::string directory = DirectoryPart(full);
    char temporary[MAX_PATH];
    // Named *.TMP: a tool that looks for *.MIF never takes it for the file.
    if (directory.empty() || ::GetTempFileNameA(directory.c_str(), "qst", 0, temporary) == 0)
        return false;
    bool written = false;
    {
        ui::ScopedHandle file(::CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD count = 0;
        written = file.IsValid() &&
                  ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &count,
                              nullptr) &&
                  count == text.size() && ::FlushFileBuffers(file.Get());
    }
    // MoveFileEx, which would replace in one step, is missing on Windows 95
    // and 98: the old file goes first, then the new one takes its name. One
    // that a reader has open stays as it is: Windows 95 and 98 would delete
    // it from under the reader.
    if (written) {
        const bool gone = DeleteFileUnlessOpen(full) || ::GetLastError() == ERROR_FILE_NOT_FOUND;
        written = gone && ::MoveFileA(temporary, full.c_str());
    }
    if (!written) ::DeleteFileA(temporary);
    return written;
}

}  // namespace engine
