#include "engine/RenameList.h"

#include <windows.h>

#include <vector>

#include "engine/FileUtil.h"
#include "engine/SetupLog.h"
#include "ui/code_page.h"
#include "ui/handles.h"

namespace engine {

namespace {

constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

std::string ShortPathOf(const std::string& path) {
    char shortPath[MAX_PATH];
    const DWORD length = ::GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return std::string(shortPath, length);
}

// The path in the OEM code page; empty when a character has no OEM form and
// would come back as another one.
std::string OemFormOf(const std::string& path) {
    if (IsPlainAscii(path)) return path;
    std::string oem(path.size(), '\0');
    std::string back(path.size(), '\0');
    if (!::CharToOemBuffA(path.c_str(), &oem[0], static_cast<DWORD>(path.size())) ||
        !::OemToCharBuffA(oem.c_str(), &back[0], static_cast<DWORD>(oem.size())) || back != path) {
        return std::string();
    }
    return oem;
}

AttributeQuery listAttributeQuery = &::GetFileAttributesA;

enum class ListState { Absent, Read, Unusable };

struct ExistingList {
    ListState state = ListState::Unusable;
    DWORD attributes = 0;
    std::string content;
};

// Only "not found" tells that there is no list; any other failure (no
// access, a sharing conflict, a device that is not ready) may hide one whose
// pending operations a rewrite would lose.
ExistingList ReadList(const std::string& path) {
    ExistingList list;
    list.attributes = listAttributeQuery(path.c_str());
    if (list.attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            list.state = ListState::Absent;
        }
        return list;
    }
    if ((list.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return list;
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return list;
    std::vector<char> buffer(4096);
    for (;;) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                        nullptr)) {
            return list;
        }
        if (read == 0) break;
        // Read no further than the largest list: one of hundreds of
        // megabytes is refused after 64 KB, not held whole.
        if (list.content.size() + read > kLongestRenameList) return list;
        list.content.append(buffer.data(), read);
    }
    list.state = ListState::Read;
    return list;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    std::string::size_type done = 0;
    while (done < content.size()) {
        DWORD written = 0;
        if (!::WriteFile(file.Get(), content.data() + done,
                         static_cast<DWORD>(content.size() - done), &written, nullptr) ||
            written == 0) {
            return false;
        }
        done += written;
    }
    return file.Close();
}

// A name of the directory that no file has yet; empty when none can be had.
// The platform makes the file to reserve the name.
std::string FreeNameIn(const std::string& directory) {
    char name[MAX_PATH];
    if (::GetTempFileNameA(directory.c_str(), "qrn", 0, name) == 0) return std::string();
    return name;
}

// Deletes a file of our own making, read-only or not.
void DeleteOwnFile(const std::string& path) {
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileA(path.c_str());
}

// Without MoveFileEx (missing on Windows 95) a file cannot be replaced in one
// step. The new content is written whole beside the old file first; then the
// old file is moved aside, the new one moved in, and only then the old one
// deleted. At no moment is the list a partial file: it is the old one, the
// new one, or briefly absent while the old one waits beside it. A list that
// was absent is never replaced: should another program make one meanwhile,
// the move onto its name fails and that list stays.
bool ReplaceFileContents(const std::string& path, const ExistingList& old,
                         const std::string& content) {
    std::string directory = DirectoryPart(path);
    if (directory.empty()) directory = ".";
    const std::string fresh = FreeNameIn(directory);
    if (fresh.empty()) return false;
    if (!WriteWholeFile(fresh, content)) {
        DeleteOwnFile(fresh);
        return false;
    }

    std::string aside;
    if (old.state == ListState::Read) {
        aside = FreeNameIn(directory);
        if (!aside.empty()) ::DeleteFileA(aside.c_str());
        if (aside.empty() || !::MoveFileA(path.c_str(), aside.c_str())) {
            DeleteOwnFile(fresh);
            return false;
        }
    }
    if (!::MoveFileA(fresh.c_str(), path.c_str())) {
        // Should the old list not go back, it stays under the other name
        // rather than be lost.
        if (!aside.empty()) ::MoveFileA(aside.c_str(), path.c_str());
        DeleteOwnFile(fresh);
        return false;
    }
    if (!aside.empty()) {
        ::SetFileAttributesA(path.c_str(), old.attributes & kKeptAttributes);
        DeleteOwnFile(aside);
    }
    return true;
}

}  // namespace

void SetListAttributeQuery(AttributeQuery query) {
    listAttributeQuery = query != nullptr ? query : &::GetFileAttributesA;
}

std::string PendingDeletionLine(const std::string& file) {
    if (!IsPlainAbsolutePath(file, &ui::IsAnsiLeadByte)) return std::string();
    std::string path = file;
    if (!IsPlainAscii(file) || !HasOnlyShortComponents(file, &ui::IsAnsiLeadByte)) {
        path = ShortPathOf(file);
        // What the platform gives must pass the same rules before it is written.
        if (path.empty() || !IsPlainAbsolutePath(path, &ui::IsAnsiLeadByte)) return std::string();
    }
    const std::string oem = OemFormOf(path);
    if (oem.empty()) return std::string();
    return DeletionLineFor(oem, &ui::IsOemLeadByte);
}

bool ScheduleDeletionAtStartup(const std::string& listPath, const std::string& file) {
    const std::string line = PendingDeletionLine(file);
    if (line.empty()) {
        LogError("Cannot list " + file + " for deletion at the next Windows start");
        return false;
    }
    // The log names each line the list receives, and each it cannot.
    const auto logged = [&](bool added) {
        if (added) {
            LogLine("Line added to " + listPath + ": " + line);
        } else {
            LogError("Cannot add to " + listPath + ": " + line);
        }
        return added;
    };
    const ExistingList existing = ReadList(listPath);
    if (existing.state == ListState::Unusable) return logged(false);
    const std::string merged = MergeRenameList(existing.content, line);
    if (existing.state == ListState::Read && merged == existing.content) return logged(true);
    return logged(ReplaceFileContents(listPath, existing, merged));
}

}  // namespace engine
