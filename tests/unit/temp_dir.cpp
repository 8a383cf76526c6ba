#include "temp_dir.h"

#include <string>

#include "ui/handles.h"

namespace testing_support {

namespace {

void RemoveTree(const std::string& directory) {
    WIN32_FIND_DATAA entry;
    {
        ui::ScopedFind search(::FindFirstFileA((directory + "\\*").c_str(), &entry));
        if (search.IsValid()) {
            do {
                const std::string name = entry.cFileName;
                if (name == "." || name == "..") continue;
                const std::string full = directory + "\\" + name;
                // A link a test left is not followed out of the directory.
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) continue;
                if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                    RemoveTree(full);
                } else {
                    ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileA(full.c_str());
                }
            } while (::FindNextFileA(search.Get(), &entry));
        }
    }
    ::RemoveDirectoryA(directory.c_str());
}

}  // namespace

TempDir::TempDir() {
    static unsigned counter = 0;
    char base[MAX_PATH];
    const DWORD length = ::GetTempPathA(MAX_PATH, base);
    std::string root(base, length);
    if (!root.empty() && root.back() != '\\') root += '\\';
    for (;;) {
        const std::string candidate = root + "quarnel-test-" +
                                      std::to_string(::GetCurrentProcessId()) + "-" +
                                      std::to_string(++counter);
        if (::CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = candidate + "\\";
            break;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempDir::~TempDir() {
    if (!path_.empty()) RemoveTree(path_.substr(0, path_.size() - 1));
}

bool WriteFileOfSize(const std::string& path, size_t size) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = static_cast<char>('a' + i % 23);
    DWORD written = 0;
    return ::WriteFile(file.Get(), data.data(), static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
}

std::string ReadWholeFile(const std::string& path) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string contents;
    if (!file.IsValid()) return contents;
    char block[4096];
    DWORD read = 0;
    while (::ReadFile(file.Get(), block, sizeof(block), &read, nullptr) && read > 0) {
        contents.append(block, read);
    }
    return contents;
}

CurrentDirectoryScope::CurrentDirectoryScope(const std::string& directory) {
    char buffer[MAX_PATH];
    const DWORD length = ::GetCurrentDirectoryA(MAX_PATH, buffer);
    previous_.assign(buffer, length < MAX_PATH ? length : 0);
    entered_ = ::SetCurrentDirectoryA(directory.c_str()) != FALSE;
}

CurrentDirectoryScope::~CurrentDirectoryScope() {
    if (entered_) ::SetCurrentDirectoryA(previous_.c_str());
}

}  // namespace testing_support
