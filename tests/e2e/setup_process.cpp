#include "setup_process.h"

#include <algorithm>
#include <cctype>

#include "driver_error.h"
#include "host_paths.h"
#include "registry_state.h"

namespace e2e {
namespace {

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

void CopyInto(const std::string& source, const std::string& destination) {
    if (!::CopyFileA(source.c_str(), destination.c_str(), FALSE))
        throw DriverError("cannot copy " + source + " to " + destination + " (error " +
                          std::to_string(::GetLastError()) + ")");
}

const char kAppDefaults[] = "Software\\Wine\\AppDefaults\\";

}  // namespace

SampleMedium::SampleMedium(const std::string& shippedDir) {
    // The build lays the medium out; a copy of it is the scenario's to change.
    const std::string laidOut = JoinPath(shippedDir, "medium");
    if (!FileExists(JoinPath(laidOut, "setup.exe")))
        throw DriverError("no sample medium with a setup.exe in " + laidOut +
                          " (the build of the shipped setup.exe lays it out; set "
                          "QUARNEL_SHIPPED_DIR)");
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    static int serial = 0;
    dir_ = JoinPath(temp, "quarnel-medium-" + std::to_string(::GetCurrentProcessId()) + "-" +
                              std::to_string(++serial));
    RemoveDirectoryTree(dir_);
    if (!MakeDirectories(dir_)) throw DriverError("cannot make the medium directory " + dir_);

    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(JoinPath(laidOut, "*").c_str(), &found));
    if (!search.IsValid()) throw DriverError("cannot list the sample medium " + laidOut);
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            CopyInto(JoinPath(laidOut, found.cFileName), JoinPath(dir_, found.cFileName));
    } while (::FindNextFileA(search.Get(), &found));
}

SampleMedium::~SampleMedium() { RemoveDirectoryTree(dir_); }

std::string SampleMedium::SetupPath() const { return JoinPath(dir_, "setup.exe"); }

std::vector<std::string> SampleMedium::FileNames() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    ui::ScopedFind search(::FindFirstFileA(JoinPath(dir_, "*").c_str(), &found));
    if (!search.IsValid()) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(LowerCase(name));
    } while (::FindNextFileA(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

void SetupProcess::Start(const std::string& exePath, const std::string& currentDir,
                         const std::string& arguments) {
    if (IsStarted() && !HasExited()) throw DriverError("setup.exe is already running");
    Reset();
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty()) commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION info{};
    if (!::CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          currentDir.c_str(), &startup, &info))
        throw DriverError("cannot start " + exePath + " (error " +
                          std::to_string(::GetLastError()) + ")");
    ui::ScopedHandle thread(info.hThread);
    process_ = ui::ScopedHandle(info.hProcess);
    id_ = info.dwProcessId;
}

bool SetupProcess::HasExited() const {
    return IsStarted() && ::WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
}

std::optional<DWORD> SetupProcess::ExitCode() const {
    if (!HasExited()) return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.Get(), &code);
    return code;
}

DWORD SetupProcess::WaitForExit(DWORD timeoutMs) {
    if (!IsStarted()) throw DriverError("setup.exe was never started");
    if (::WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0)
        throw DriverError("timed out after " + std::to_string(timeoutMs) +
                          " ms waiting for setup.exe to end");
    return *ExitCode();
}

bool SetupProcess::Kill() {
    if (!IsStarted() || HasExited()) return false;
    ::TerminateProcess(process_.Get(), 255);
    ::WaitForSingleObject(process_.Get(), 5000);
    return true;
}

void SetupProcess::Reset() {
    process_.Close();
    id_ = 0;
}

WindowsVersionOverride::WindowsVersionOverride(std::string exeName, const std::string& version)
    : exeName_(std::move(exeName)) {
    WriteTextValue(HKEY_CURRENT_USER, kAppDefaults + exeName_, "Version", version);
}

WindowsVersionOverride::~WindowsVersionOverride() {
    try {
        Clear(exeName_);
    } catch (const DriverError&) {
        // The next scenario's set-up clears it again.
    }
}

void WindowsVersionOverride::Clear(const std::string& exeName) {
    const std::string path = kAppDefaults + exeName;
    DeleteValue(HKEY_CURRENT_USER, path, "Version");
    // Other per-program settings of the prefix stay; an empty key goes.
    if (KeyExists(HKEY_CURRENT_USER, path)) {
        const KeyContents contents = ContentsOf(HKEY_CURRENT_USER, path);
        if (contents.subkeys == 0 && contents.values == 0) DeleteKeyTree(HKEY_CURRENT_USER, path);
    }
}

}  // namespace e2e
