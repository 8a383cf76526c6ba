#include "install_state.h"

#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "driver_error.h"
#include "host_paths.h"
#include "ui/handles.h"

namespace e2e {
namespace {

std::string SpecialFolder(int folder) {
    char path[MAX_PATH] = "";
    if (!::SHGetSpecialFolderPathA(nullptr, path, folder, FALSE))
        throw DriverError("special folder " + std::to_string(folder) + " not found");
    return path;
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(::tolower(c)); });
    return text;
}

BOOL CALLBACK CollectReadmeViewer(HWND window, LPARAM found) {
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == ::GetCurrentProcessId() || !::IsWindowVisible(window)) return TRUE;
    char title[256] = "";
    ::GetWindowTextA(window, title, sizeof title);
    if (LowerCase(title).find("readme") != std::string::npos)
        reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
    return TRUE;
}

}  // namespace

std::string ProgramsFolder() { return SpecialFolder(CSIDL_PROGRAMS); }
std::string StartupFolder() { return SpecialFolder(CSIDL_STARTUP); }
std::string MenuGroupFolder() { return JoinPath(ProgramsFolder(), "Quarnel"); }
std::string StartupShortcut() { return JoinPath(StartupFolder(), "Wardex.lnk"); }
std::string DriverFile() { return JoinPath(SystemDirectory(), "quarnel.vxd"); }

std::string SystemDirectory() {
    char path[MAX_PATH] = "";
    ::GetSystemDirectoryA(path, sizeof path);
    return path;
}

bool DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> DirectoryEntries(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(JoinPath(dir, "*").c_str(), &found));
    if (!search.IsValid()) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (::FindNextFileA(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<std::uint64_t> FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool SameContents(const std::string& a, const std::string& b) {
    std::ifstream first(a, std::ios::binary), second(b, std::ios::binary);
    if (!first || !second) return false;
    return std::equal(std::istreambuf_iterator<char>(first), std::istreambuf_iterator<char>(),
                      std::istreambuf_iterator<char>(second), std::istreambuf_iterator<char>());
}

void WriteFileOfSize(const std::string& path, std::uint64_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const std::string block(65536, 'Q');
    for (std::uint64_t left = size; left > 0 && out;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, block.size()));
        out.write(block.data(), static_cast<std::streamsize>(n));
        left -= n;
    }
    if (!out) throw DriverError("cannot write " + std::to_string(size) + " bytes to " + path);
}

void MakeReadOnly(const std::string& path) {
    if (!::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY))
        throw DriverError("cannot make " + path + " read-only");
}

std::vector<HWND> ReadmeViewerWindows() {
    std::vector<HWND> found;
    ::EnumWindows(CollectReadmeViewer, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CloseReadmeViewers() {
    for (HWND window : ReadmeViewerWindows()) {
        DWORD id = 0;
        ::GetWindowThreadProcessId(window, &id);
        ui::ScopedHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
        if (!process.IsValid()) continue;
        ::TerminateProcess(process.Get(), 0);
        ::WaitForSingleObject(process.Get(), 5000);
    }
}

std::string SmallDrive() {
    // The test command's 16 MiB tmpfs; where none could be mounted a plain
    // directory of the large disk stands in, and that is no small drive.
    ULARGE_INTEGER available, total, free;
    if (!::GetDiskFreeSpaceExA("M:\\", &available, &total, &free)) return "";
    return total.QuadPart <= 64ull * 1024 * 1024 ? "M:" : "";
}

std::uint64_t LeaveFreeOnDrive(const std::string& drive, std::uint64_t freeBytes) {
    const std::string root = drive + "\\";
    for (const std::string& name : DirectoryEntries(root)) {
        const std::string path = root + name;
        if (DirectoryExists(path)) {
            RemoveDirectoryTree(path);
        } else {
            ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileA(path.c_str());
        }
    }
    ULARGE_INTEGER available, total, free;
    if (!::GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free))
        throw DriverError("cannot ask " + root + " for its free space");
    if (available.QuadPart > freeBytes)
        WriteFileOfSize(root + "ballast", available.QuadPart - freeBytes);
    ::GetDiskFreeSpaceExA(root.c_str(), &available, &total, &free);
    return available.QuadPart;
}

}  // namespace e2e
