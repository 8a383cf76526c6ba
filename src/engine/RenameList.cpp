#include "engine/RenameList.h"

#include <windows.h>

#include <vector>

#include "engine/FileUtil.h"
#include "engine/SetupLog.h"
#include "ui/code_page.h"
#include "ui/handles.h"
#include "ui/path_text.h"

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
FileMover listFileMover = &::MoveFileA;

// Temporaries of in-use copies: "qnw", up to four hex digits, ".tmp".
constexpr char kTemporaryPrefix[] = "qnw";
constexpr char kTemporarySuffix[] = ".tmp";

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

// The content written whole and flushed to the disk before the file is
// closed: the list it is to replace is given up only for a complete one.
bool WriteWholeFile(const std::string& path, const std::string& content, DWORD disposition) {
    ui::ScopedHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
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
    if (!::FlushFileBuffers(file.Get())) return false;
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
// step. The new content is written whole and flushed beside the old file
// first; then the old file is moved aside, the new one moved in, and only
// then the old one deleted. The list is thus the old one, the new one, or
// for the moment between the two moves absent while the old one waits
// beside it. Should the new one not go in, the old one goes back; should
// that fail too, its content, which is at hand, is written again under the
// list's name. A list that was absent is never replaced: should another
// program make one meanwhile, the move onto its name fails and that list
// stays.
bool ReplaceFileContents(const std::string& path, const ExistingList& old,
                         const std::string& content) {
    std::string directory = DirectoryPart(path);
    if (directory.empty()) directory = ".";
    const std::string fresh = FreeNameIn(directory);
    if (fresh.empty()) return false;
    if (!WriteWholeFile(fresh, content, CREATE_ALWAYS)) {
        DeleteOwnFile(fresh);
        return false;
    }

    std::string aside;
    if (old.state == ListState::Read) {
        aside = FreeNameIn(directory);
        if (!aside.empty()) ::DeleteFileA(aside.c_str());
        if (aside.empty() || !listFileMover(path.c_str(), aside.c_str())) {
            DeleteOwnFile(fresh);
            return false;
        }
    }
    if (!listFileMover(fresh.c_str(), path.c_str())) {
        DeleteOwnFile(fresh);
        if (!aside.empty() && !listFileMover(aside.c_str(), path.c_str())) {
            // Windows reads the list only under its own name. Should even
            // this fail, the old list stays beside it rather than be lost.
            if (!WriteWholeFile(path, old.content, CREATE_NEW)) return false;
            ::SetFileAttributesA(path.c_str(), old.attributes & kKeptAttributes);
            DeleteOwnFile(aside);
        }
        return false;
    }
    if (!aside.empty()) {
        ::SetFileAttributesA(path.c_str(), old.attributes & kKeptAttributes);
        DeleteOwnFile(aside);
    }
    return true;
}

// The path as DOS will read it: its short form when it is not plain ASCII
// or not made of 8.3 names, in the OEM code page. Empty when refused, as
// PendingDeletionLine tells. A doubled backslash ("c:\\quarnel\\" +
// "\\setup.exe") is made one here: Windows 95 documents nothing of how it
// reads one in the list.
std::string StartupPathOf(const std::string& given) {
    const std::string file = ui::CanonicalPath(given, &ui::IsAnsiLeadByte);
    if (!IsPlainAbsolutePath(file, &ui::IsAnsiLeadByte)) return std::string();
    std::string path = file;
    if (!IsPlainAscii(file) || !HasOnlyShortComponents(file, &ui::IsAnsiLeadByte)) {
        path = ShortPathOf(file);
        // What the platform gives must pass the same rules before it is written.
        if (path.empty() || !IsPlainAbsolutePath(path, &ui::IsAnsiLeadByte)) return std::string();
    }
    const std::string oem = OemFormOf(path);
    if (oem.empty() || DeletionLineFor(oem, &ui::IsOemLeadByte).empty()) return std::string();
    return oem;
}

// A path as DOS reads it (OEM code page) in the program's own code page.
std::string AnsiFormOf(const std::string& oem) {
    if (IsPlainAscii(oem)) return oem;
    std::string ansi(oem.size(), '\0');
    if (!::OemToCharBuffA(oem.c_str(), &ansi[0], static_cast<DWORD>(oem.size()))) {
        return std::string();
    }
    return ansi;
}

// True for a temporary of ReplacementTemporaryIn's making beside `file`:
// only such a file is deleted when the line that pointed at it goes.
bool IsOwnTemporaryBeside(const std::string& temporary, const std::string& file) {
    const auto same = [](const std::string& a, const std::string& b) {
        return SamePathText(a, b, &ui::IsAnsiLeadByte);
    };
    const std::string name = FileNamePart(temporary);
    const std::size_t prefix = sizeof kTemporaryPrefix - 1;
    const std::size_t suffix = sizeof kTemporarySuffix - 1;
    if (name.size() <= prefix + suffix || name.size() > prefix + 4 + suffix) return false;
    const std::string digits = name.substr(prefix, name.size() - prefix - suffix);
    return same(name.substr(0, prefix), kTemporaryPrefix) &&
           same(name.substr(name.size() - suffix), kTemporarySuffix) &&
           digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos &&
           same(DirectoryPart(temporary), DirectoryPart(file));
}

// The one place where a line reaches the list (or, with `line` empty, where
// the operations on a file are only taken out). `file` is the path as DOS
// reads it; the other rules are those of the routines in the header.
bool SetStartupOperation(const std::string& listPath, const std::string& file,
                         const std::string& line) {
    // The log names each line the list receives, and each it cannot.
    const auto refused = [&] {
        LogError("Cannot change " + listPath + (line.empty() ? " for " + file : ": " + line));
        return false;
    };
    const ExistingList existing = ReadList(listPath);
    if (existing.state == ListState::Unusable) return refused();
    std::vector<std::string> superseded;
    std::string merged =
        WithoutOperationsOn(existing.content, file, line, &ui::IsOemLeadByte, &superseded);
    if (!line.empty()) merged = MergeRenameList(merged, line, &ui::IsOemLeadByte);
    if (existing.state == ListState::Absent && line.empty()) return true;
    if (existing.state == ListState::Read && merged == existing.content) {
        if (!line.empty()) LogLine("Line already in " + listPath + ": " + line);
        return true;
    }
    if (!ReplaceFileContents(listPath, existing, merged)) return refused();
    if (!line.empty()) {
        LogLine("Line added to " + listPath + ": " + line);
    } else {
        LogLine("Pending operations on " + file + " taken out of " + listPath);
    }
    const std::string ansiFile = AnsiFormOf(file);
    for (const std::string& source : superseded) {
        const std::string temporary = AnsiFormOf(source);
        if (!temporary.empty() && IsOwnTemporaryBeside(temporary, ansiFile)) {
            DeleteOwnFile(temporary);
        }
    }
    return true;
}

}  // namespace

void SetListAttributeQuery(AttributeQuery query) {
    listAttributeQuery = query != nullptr ? query : &::GetFileAttributesA;
}

void SetListFileMover(FileMover mover) { listFileMover = mover != nullptr ? mover : &::MoveFileA; }

std::string PendingDeletionLine(const std::string& file) {
    const std::string path = StartupPathOf(file);
    if (path.empty()) return std::string();
    return DeletionLineFor(path, &ui::IsOemLeadByte);
}

bool ScheduleDeletionAtStartup(const std::string& listPath, const std::string& file) {
    const std::string path = StartupPathOf(file);
    if (path.empty()) {
        LogError("Cannot list " + PlatformPath(file) + " for deletion at the next Windows start");
        return false;
    }
    return SetStartupOperation(listPath, path, DeletionLineFor(path, &ui::IsOemLeadByte));
}

bool ScheduleReplacementAtStartup(const std::string& listPath, const std::string& file,
                                  const std::string& replacement) {
    const std::string path = StartupPathOf(file);
    const std::string source = StartupPathOf(replacement);
    const std::string line = path.empty() || source.empty()
                                 ? std::string()
                                 : ReplacementLineFor(path, source, &ui::IsOemLeadByte);
    if (line.empty()) {
        LogError("Cannot list " + PlatformPath(file) +
                 " for replacement at the next Windows start");
        return false;
    }
    return SetStartupOperation(listPath, path, line);
}

bool CancelStartupOperations(const std::string& listPath, const std::string& file) {
    const std::string path = StartupPathOf(file);
    // No line of ours can name a path that DOS could not read.
    if (path.empty()) return true;
    return SetStartupOperation(listPath, path, std::string());
}

std::string SystemRenameList() { return WindowsDirectoryPath() + kRenameListName; }

std::string ReplacementTemporaryIn(const std::string& directory) {
    char name[MAX_PATH];
    // Named as GetTempFileNameA takes a directory, at most MAX_PATH - 14
    // characters: without the trailing backslash it adds itself (a drive's
    // root keeps its own).
    std::string named = PlatformPath(directory);
    if (named.size() > 3 && EndsWithBackslash(named)) named.pop_back();
    if (::GetTempFileNameA(named.c_str(), kTemporaryPrefix, 0, name) == 0) {
        return std::string();
    }
    return name;
}

}  // namespace engine
