#include "engine/FileUtil.h"

#include <windows.h>

#include <vector>

#include "engine/ProgressTarget.h"
#include "engine/RenameList.h"
#include "engine/SetupLog.h"
#include "engine/SystemErrors.h"
#include "ui/code_page.h"
#include "ui/handles.h"
#include "ui/path_text.h"

namespace engine {

namespace {

constexpr DWORD kVolumeLabel = 0x08;

bool HasAttributes(const std::string& path, DWORD& attributes) {
    attributes = ::GetFileAttributesA(PlatformPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES;
}

// Gives `destination` the last-write time of `source` as a DOS date and time
// in local time, as the file systems of the Windows 95 family keep it.
void CopyLastWriteTime(HANDLE source, HANDLE destination) {
    FILETIME written;
    FILETIME local;
    WORD date = 0;
    WORD time = 0;
    if (!::GetFileTime(source, nullptr, nullptr, &written) ||
        !::FileTimeToLocalFileTime(&written, &local) ||
        !::FileTimeToDosDateTime(&local, &date, &time) ||
        !::DosDateTimeToFileTime(date, time, &local) ||
        !::LocalFileTimeToFileTime(&local, &written)) {
        return;
    }
    ::SetFileTime(destination, nullptr, nullptr, &written);
}

DriveTypeQuery driveTypeQuery = &::GetDriveTypeA;

// True when an open or a deletion failed with `error` because another
// program has the file open: a sharing or lock violation, and the access
// denied that the Windows 95 family gives for a running program's file (or
// a deletion of an open one). A read-only file is never taken as in use:
// it is refused for itself, whatever else holds it, and stays refused.
bool IsInUse(const std::string& path, DWORD error) {
    if (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION &&
        error != ERROR_ACCESS_DENIED) {
        return false;
    }
    DWORD attributes;
    return HasAttributes(path, attributes) &&
           (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) == 0;
}

// True when the next Windows start can finish what is left for it on the
// drive of `path` (a full path). The rename list is carried out in
// real-mode DOS before any network is started, and restarting this machine
// frees no other machine's hold on a file: only local fixed, removable and
// RAM drives qualify.
bool RestartReaches(const std::string& path) {
    if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return false;
    const UINT type = driveTypeQuery(path.substr(0, 3).c_str());
    return type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_RAMDISK;
}

// True when another program has the file open, whatever it opened it for:
// an open without any sharing is refused then. A running program's own file
// is refused in the same way.
bool IsOpenElsewhere(const std::string& platformPath) {
    ui::ScopedHandle probe(::CreateFileA(platformPath.c_str(), GENERIC_READ, 0, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (probe.IsValid()) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// What the next Windows start was asked to do about a file that stays.
enum class LeftForStart { Tried, NotTried };

// Why a file that was to go is still there, for the log.
std::string WhyItStays(const std::string& path, DWORD error,
                       LeftForStart left = LeftForStart::Tried) {
    DWORD attributes;
    if (HasAttributes(path, attributes) && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return "it is read-only";
    if (IsInUse(path, error)) {
        if (left == LeftForStart::NotTried) return "it is in use";
        return RestartReaches(FullPath(path))
                   ? "it is in use, and the list of the next Windows start cannot take it"
                   : "it is in use, on a drive that the next Windows start cannot reach";
    }
    const std::string text = SystemErrorText(error);
    return text.empty() ? ui::Format("error %lu", static_cast<unsigned long>(error)) : text;
}

// Reads `input` into `output` in blocks, the progress following the bytes,
// and gives the copy the source's last-write time.
void CopyBlocks(HANDLE input, HANDLE output, const ProgressTarget& progress) {
    std::vector<char> buffer(kCopyBufferSize);
    std::uint32_t total = 0;
    DWORD read = 0;
    do {
        if (!::ReadFile(input, buffer.data(), kCopyBufferSize, &read, nullptr)) {
            throw EReadError();
        }
        if (read > 0) {
            // A short write that reports success is not looked into.
            DWORD written = 0;
            if (!::WriteFile(output, buffer.data(), read, &written, nullptr)) {
                throw EWriteError();
            }
        }
        total += read;
        progress.SetPosition(static_cast<std::int32_t>(total));
    } while (read == kCopyBufferSize);
    CopyLastWriteTime(input, output);
}

ui::ScopedHandle CreateForCopy(const std::string& path) {
    return ui::ScopedHandle(::CreateFileA(PlatformPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                          0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                          nullptr));
}

// An error that names `path`: as it was formed in the box, in its canonical
// form in the log.
template <typename Error>
Error NamingPath(const std::string& before, const std::string& path,
                 const std::string& after = std::string()) {
    return Error(before + path + after, before + PlatformPath(path) + after);
}

// A destination in use cannot be written now. The copy goes to a temporary
// file beside it, which takes its place at the next Windows start (which the
// install asks for at its end); answers the temporary. Nothing of the
// temporary is left when this fails: the destination is then reported as
// not created.
std::string CopyBesideFileInUse(HANDLE input, const std::string& destination,
                                const ProgressTarget& progress) {
    const EFCreateError cannotCreate =
        NamingPath<EFCreateError>("Cannot create file ", destination);
    const std::string temporary = ReplacementTemporaryIn(DirectoryPart(FullPath(destination)));
    if (temporary.empty()) throw cannotCreate;
    try {
        ui::ScopedHandle output(CreateForCopy(temporary));
        if (!output.IsValid()) throw cannotCreate;
        CopyBlocks(input, output.Get(), progress);
        if (!output.Close()) throw EWriteError();
        if (!ScheduleReplacementAtStartup(SystemRenameList(), FullPath(destination),
                                          FullPath(temporary))) {
            throw cannotCreate;
        }
    } catch (...) {
        ::DeleteFileA(temporary.c_str());
        throw;
    }
    return temporary;
}

// The copy proper; answers the temporary that takes the destination's place
// at the next start, empty when the destination itself was written. Scope
// order is the clean-up order: the destination is closed first, then the
// source.
std::string CopyContents(const std::string& source, const std::string& destination,
                         const ProgressTarget& progress) {
    // Taken before the source is open: the lookup searches for the name.
    const std::int32_t size = SourceFileSize(source);

    ui::ScopedHandle input(::CreateFileA(PlatformPath(source).c_str(), GENERIC_READ,
                                         FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!input.IsValid()) {
        throw NamingPath<EFOpenError>("Cannot open file ", source);
    }

    progress.SetMaximum(size);
    progress.SetMinimum(0);
    progress.SetPosition(0);

    EnsureDirectoryPath(DirectoryPart(destination));
    ui::ScopedHandle output(CreateForCopy(destination));
    if (!output.IsValid()) {
        if (IsInUse(destination, ::GetLastError()) && RestartReaches(FullPath(destination))) {
            return CopyBesideFileInUse(input.Get(), destination, progress);
        }
        throw NamingPath<EFCreateError>("Cannot create file ", destination);
    }
    CopyBlocks(input.Get(), output.Get(), progress);
    output.Close();
    input.Close();
    // The file is now as this run wants it: a replacement or a deletion
    // that an earlier run left for the next start would undo that (a
    // removal's NUL= line would delete the setup program just copied).
    // Should the list not let it go, the copy cannot be said to stay.
    const std::string list = SystemRenameList();
    if (!CancelStartupOperations(list, FullPath(destination))) {
        throw NamingPath<EFCreateError>("Cannot create file ", destination,
                                        " for good: " + list +
                                            ", which may still delete or replace it at the next "
                                            "Windows start, cannot be changed");
    }
    return std::string();
}

}  // namespace

std::string PlatformPath(const std::string& path) {
    return ui::CanonicalPath(path, &ui::IsAnsiLeadByte);
}

std::string FullPath(const std::string& path) {
    const std::string canonical = PlatformPath(path);
    char buffer[MAX_PATH];
    char* namePart = nullptr;
    const DWORD length = ::GetFullPathNameA(canonical.c_str(), MAX_PATH, buffer, &namePart);
    if (length == 0 || length >= MAX_PATH) return canonical;
    return PlatformPath(std::string(buffer, length));
}

void CopyFileWithProgress(const std::string& source, const std::string& destination,
                          ui::TComponent* progress) {
    std::string target = destination;
    DWORD attributes;
    if (HasAttributes(target, attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        target = AppendBackslash(target) + FileNamePart(source);
    }

    const ProgressTarget bar(progress);
    std::string pending;
    try {
        pending = CopyContents(source, target, bar);
    } catch (...) {
        // The bar falls back to 0 on failure too; should the control refuse
        // even that, its error is the one that leaves.
        bar.SetPosition(0);
        throw;
    }
    bar.SetPosition(0);
    if (pending.empty()) {
        LogLine("File copied: " + PlatformPath(source) + " to " + PlatformPath(target));
    } else {
        LogLine("File in use, replaced at the next Windows start: " + PlatformPath(source) +
                " to " + PlatformPath(target) + ", copied to " + pending + " until then");
    }
}

void EnsureDirectoryPath(const std::string& path) {
    // A loop, not a recursion: a typed path can hold thousands of levels, and
    // beyond the platform's path limit every presence test fails.
    const std::vector<std::size_t> chain =
        ui::DirectoryChain(path, &ui::IsAnsiLeadByte, ui::OwnParent::Leave);
    std::size_t missing = 0;
    while (missing < chain.size() && !IsDirectoryPresent(path.substr(0, chain[missing]))) {
        ++missing;
    }
    while (missing > 0) MakeDirectory(path.substr(0, chain[--missing]));
}

void MakeDirectory(const std::string& path) {
    ::CreateDirectoryA(PlatformPath(path).c_str(), nullptr);
}

bool IsDirectoryPresent(const std::string& path) {
    DWORD attributes;
    return HasAttributes(path, attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsFilePresent(const std::string& path) {
    DWORD attributes;
    return HasAttributes(path, attributes) && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::string AppendBackslash(const std::string& path) {
    return ui::AppendBackslash(path, &ui::IsAnsiLeadByte);
}

bool EndsWithBackslash(const std::string& path) {
    return ui::EndsWithBackslash(path, &ui::IsAnsiLeadByte);
}

std::string DirectoryPart(const std::string& path) {
    return ui::DirectoryPart(path, &ui::IsAnsiLeadByte);
}

std::string FileNamePart(const std::string& path) {
    return ui::FileNamePart(path, &ui::IsAnsiLeadByte);
}

std::int32_t SourceFileSize(const std::string& path) {
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(FullPath(path).c_str(), &found));
    // Every kind of entry counts (attribute mask 0x3F): FindFirstFileA
    // excludes nothing, so the first entry found answers.
    if (!search.IsValid()) return -1;
    return static_cast<std::int32_t>(found.nFileSizeLow);
}

MatchDeletion DeleteEveryMatch(const std::string& mask) {
    // Deletions use the mask's directory part as given, not the expanded one.
    const std::string directory = DirectoryPart(mask);
    WIN32_FIND_DATAA entry;
    ui::ScopedFind search(::FindFirstFileA(FullPath(mask).c_str(), &entry));
    if (!search.IsValid()) return MatchDeletion::NoMatch;
    bool matched = false;
    bool stayed = false;
    do {
        if (entry.cFileName[0] == '.') continue;
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kVolumeLabel)) != 0) continue;
        matched = true;
        // A match that stays (logged there) does not keep the later ones.
        if (!DeleteFileOrAtStartup(directory + entry.cFileName)) stayed = true;
    } while (::FindNextFileA(search.Get(), &entry));
    if (!matched) return MatchDeletion::NoMatch;
    return stayed ? MatchDeletion::SomeStayed : MatchDeletion::AllGone;
}

bool DeleteMatchingFiles(const std::string& mask) {
    return DeleteEveryMatch(mask) == MatchDeletion::AllGone;
}

bool DeleteFileOrAtStartup(const std::string& path) {
    const std::string list = SystemRenameList();
    // A replacement an earlier install left for the next start would bring
    // the file back. Taken out while the file is there: its short name is
    // how the list names it.
    const std::string listed = FullPath(path);
    const bool nothingPending = CancelStartupOperations(list, listed);
    if (DeleteFileUnlessOpen(path)) {
        if (nothingPending) return true;
        LogError("Deleted " + PlatformPath(path) + ", but " + list +
                 " cannot be changed: a replacement left for the next Windows start may bring "
                 "it back");
        return false;
    }
    const DWORD error = ::GetLastError();
    if (IsInUse(path, error) && RestartReaches(listed) && ScheduleDeletionAtStartup(list, listed))
        return true;
    LogError("Cannot delete " + PlatformPath(path) + ": " + WhyItStays(path, error));
    return false;
}

bool DeleteFileUnlessOpen(const std::string& path) {
    const std::string platform = PlatformPath(path);
    if (IsOpenElsewhere(platform)) {
        ::SetLastError(ERROR_SHARING_VIOLATION);
        return false;
    }
    return ::DeleteFileA(platform.c_str()) != FALSE;
}

namespace {

// A directory link (a junction or a symbolic link) shows as a directory
// that is a reparse point. Whatever lies behind it belongs elsewhere: under
// Wine a link in a folder of the prefix may lead to the host's own files, or
// back to the folder itself.
bool IsDirectoryLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// One entry of a directory being cleared; `result` is and-ed with the outcome.
void ClearEntry(const std::string& base, const WIN32_FIND_DATAA& entry, bool removeItself,
                bool& result) {
    const DWORD attributes = entry.dwFileAttributes;
    if (entry.cFileName[0] == '.' || attributes == kVolumeLabel) return;
    const std::string name = base + entry.cFileName;
    if (IsDirectoryLink(attributes)) {
        // Never entered, and not removed either: the platform's removal of a
        // link may reach what it leads to (Wine's removes an empty target
        // directory and keeps the link). It stays, and so does its folder.
        LogError("Cannot delete " + PlatformPath(name) + ": it is a link to a directory elsewhere");
        result = false;
    } else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        // Every entry is tried, also after an earlier failure.
        result = ClearDirectoryTree(name, removeItself) && result;
    } else if ((attributes & kVolumeLabel) == 0) {
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            ::SetFileAttributesA(PlatformPath(name).c_str(), FILE_ATTRIBUTE_ARCHIVE);
        }
        // A file in use stays, as in any other deletion; nothing is left
        // for the next start here, since the tree's directories would stay.
        if (!DeleteFileUnlessOpen(name)) {
            LogError("Cannot delete " + PlatformPath(name) + ": " +
                     WhyItStays(name, ::GetLastError(), LeftForStart::NotTried));
            result = false;
        }
    }
}

}  // namespace

bool ClearDirectoryTree(const std::string& path, bool removeItself) {
    DWORD attributes;
    if (!HasAttributes(path, attributes) || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return false;
    }
    // A link given as the tree itself is left as one found inside would be.
    if (IsDirectoryLink(attributes)) return false;
    bool result = true;
    const std::string base = AppendBackslash(path);
    DWORD endOfSearch = ERROR_SUCCESS;
    {
        WIN32_FIND_DATAA entry;
        ui::ScopedFind search(::FindFirstFileA(PlatformPath(base + "*.*").c_str(), &entry));
        if (search.IsValid()) {
            do {
                ClearEntry(base, entry, removeItself, result);
            } while (::FindNextFileA(search.Get(), &entry));
        }
        endOfSearch = ::GetLastError();
    }
    // Only a directory whose search ran out of entries is removed, and never
    // a bare drive ("x:" names the current directory of that drive).
    const bool bareDrive = path.size() == 2 && path[1] == ':';
    if (removeItself && result && endOfSearch == ERROR_NO_MORE_FILES && !bareDrive &&
        !::RemoveDirectoryA(PlatformPath(path).c_str())) {
        LogError("Cannot delete the directory " + PlatformPath(path) + ": " +
                 WhyItStays(path, ::GetLastError()));
        result = false;
    }
    return result;
}

namespace {

std::string AskDirectory(UINT(WINAPI* query)(LPSTR, UINT)) {
    char buffer[1024];
    UINT length = query(buffer, sizeof(buffer));
    if (length >= sizeof(buffer)) length = 0;
    return std::string(buffer, length);
}

}  // namespace

void SetDriveTypeQuery(DriveTypeQuery query) {
    driveTypeQuery = query != nullptr ? query : &::GetDriveTypeA;
}

std::string WindowsDirectoryPath() { return AskDirectory(&::GetWindowsDirectoryA); }
std::string SystemDirectoryPath() { return AskDirectory(&::GetSystemDirectoryA); }

}  // namespace engine
