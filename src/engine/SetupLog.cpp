#include "engine/SetupLog.h"

#include <windows.h>

#include <cstdio>

#include "engine/FileUtil.h"
#include "ui/handles.h"

namespace engine {

namespace {

std::string& LogPath() {
    static std::string path;
    return path;
}

constexpr int kWriterLockTries = 200;
constexpr DWORD kWriterLockPauseMs = 10;

// False when the lock cannot be had: a file system without locks, or a
// writer that keeps it for more than two seconds. The line is then written
// without it, rather than lost or waited for any longer.
bool LockAgainstOtherWriters(HANDLE file) {
    for (int tries = 0; tries < kWriterLockTries; ++tries) {
        if (::LockFile(file, kLogWriterLockOffset, 0, 1, 0)) return true;
        if (::GetLastError() != ERROR_LOCK_VIOLATION) return false;
        ::Sleep(kWriterLockPauseMs);
    }
    return false;
}

std::string& LastError() {
    static std::string text;
    return text;
}

}  // namespace

void StartLog(const std::string& path) {
    // Held whole: a relative name keeps meaning the file it named at start.
    LogPath() = FullPath(path);
}

bool Logging() { return !LogPath().empty(); }

void LogLine(const std::string& text) {
    if (!Logging()) return;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                  now.wDay, now.wHour, now.wMinute, now.wSecond);
    const std::string line = stamp + text + "\r\n";
    // Opened for each line and shared for reading: the technician may watch
    // the file while the run goes on, and a run that ends abruptly loses no
    // line it has written. Several runs on one file append in turn.
    ui::ScopedHandle file(::CreateFileA(LogPath().c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return;
    // Finding the end and writing there is one step for one writer at a
    // time: two runs that found the same end would write over each other.
    // Windows 95 has no append mode, but its LockFile keeps a byte far past
    // any log's end for whoever holds it; readers are not held up by it.
    const bool locked = LockAgainstOtherWriters(file.Get());
    if (::SetFilePointer(file.Get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER ||
        ::GetLastError() == NO_ERROR) {
        DWORD written = 0;
        ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    if (locked) ::UnlockFile(file.Get(), kLogWriterLockOffset, 0, 1, 0);
}

void LogError(const std::string& text) {
    LastError() = text;
    LogLine("Error: " + text);
}

const std::string& LastLoggedError() { return LastError(); }

}  // namespace engine
