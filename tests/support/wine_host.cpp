#include "wine_host.h"

#include <windows.h>
#include <winioctl.h>

#include <algorithm>
#include <vector>

#include "ui/handles.h"

namespace testing_support {

namespace {

// Wine's own request to its mount manager for a drive letter backed by a
// host directory (the layout of Wine 6 and later).
constexpr DWORD kDefineUnixDrive =
    CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);
struct UnixDriveRequest {
    ULONG size;
    ULONG type;
    ULONG fsType;
    DWORD serial;
    ULONGLONG unixDevice;
    WCHAR letter;
    USHORT mountPointOffset;
    USHORT deviceOffset;
    USHORT labelOffset;
};

bool Exists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Starts a host program and waits, up to five seconds, until `done` holds:
// Wine does not wait for a host program's end, nor tell its exit code.
template <typename Done>
bool RunHostProgram(const std::string& program, std::string commandLine, Done done) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(("Z:" + program).c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &process)) {
        return false;
    }
    ui::ScopedHandle processHandle(process.hProcess);
    ui::ScopedHandle threadHandle(process.hThread);
    for (int waited = 0; waited < 5000; waited += 20) {
        if (done()) return true;
        ::Sleep(20);
    }
    return done();
}

}  // namespace

std::string HostPathOf(const std::string& windowsPath) {
    using UnixNameOf = char*(CDECL*)(LPCWSTR);
    const auto unixNameOf = reinterpret_cast<UnixNameOf>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (unixNameOf == nullptr) return std::string();
    const int length = ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<std::size_t>(std::max(length, 1)));
    ::MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(), length);
    char* name = unixNameOf(wide.data());
    if (name == nullptr) return std::string();
    std::string result = name;
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

bool DefineHostDrive(char letter, const std::string& hostDir, unsigned type) {
    static_assert(DRIVE_FIXED == 3, "the header's default type is DRIVE_FIXED");
    std::vector<char> request(sizeof(UnixDriveRequest) + hostDir.size() + 1, '\0');
    auto* drive = reinterpret_cast<UnixDriveRequest*>(request.data());
    drive->size = static_cast<ULONG>(request.size());
    drive->type = hostDir.empty() ? DRIVE_NO_ROOT_DIR : type;
    drive->letter =
        static_cast<WCHAR>(letter >= 'A' && letter <= 'Z' ? letter - 'A' + 'a' : letter);
    if (!hostDir.empty()) {
        drive->mountPointOffset = sizeof(UnixDriveRequest);
        std::copy(hostDir.begin(), hostDir.end(), request.begin() + sizeof(UnixDriveRequest));
    }
    ui::ScopedHandle manager(
        ::CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD returned = 0;
    return manager.IsValid() && ::DeviceIoControl(manager.Get(), kDefineUnixDrive, request.data(),
                                                  drive->size, nullptr, 0, &returned, nullptr);
}

char FreeDriveLetter() {
    const DWORD used = ::GetLogicalDrives();
    for (char letter = 'Y'; letter >= 'D'; --letter) {
        if ((used & (1u << (letter - 'A'))) == 0) return letter;
    }
    return 0;
}

ScopedDriveLetter::ScopedDriveLetter(const std::string& directory, unsigned type) {
    const std::string host = HostPathOf(directory);
    const char letter = FreeDriveLetter();
    if (host.empty() || letter == 0 || !DefineHostDrive(letter, host, type)) return;
    letter_ = letter;
    // Only a letter that leads into the directory is of use.
    if (!Exists(Drive() + "\\")) {
        DefineHostDrive(letter_, "");
        letter_ = 0;
    }
}

ScopedDriveLetter::~ScopedDriveLetter() {
    if (letter_ != 0) DefineHostDrive(letter_, "");
}

std::string ScopedDriveLetter::Drive() const {
    return letter_ == 0 ? std::string() : std::string(1, letter_) + ":";
}

HostLink::HostLink(const std::string& link, const std::string& target) : link_(link) {
    const std::string hostLink = HostPathOf(link);
    const std::string hostTarget = HostPathOf(target);
    if (hostLink.empty() || hostTarget.empty() || Exists(link)) return;
    hostLink_ = hostLink;
    made_ = RunHostProgram("/bin/ln", "ln -s \"" + hostTarget + "\" \"" + hostLink + "\"",
                           [&] { return Exists(link); });
}

HostLink::~HostLink() {
    // Also a link that came too late to be seen made goes.
    if (hostLink_.empty()) return;
    RunHostProgram("/bin/rm", "rm -f \"" + hostLink_ + "\"", [&] { return !Exists(link_); });
}

}  // namespace testing_support
