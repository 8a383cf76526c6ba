// The program under test as a user meets it: a distribution medium in a
// directory, setup.exe started from there, and the platform version Wine
// reports to it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ui/handles.h"

namespace e2e {

// A fresh sample distribution medium in the temporary folder: a copy of the
// one the shipped build lays out in its medium/ directory (setup.exe, the
// five sample programs under the medium's extensionless names, wardex,
// pelkin, ..., small payloads for the sound, the diskware, the driver and the
// readme, and the disc's AUTORUN.INF). Removed with the object.
class SampleMedium {
public:
    explicit SampleMedium(const std::string& shippedDir);
    ~SampleMedium();
    SampleMedium(const SampleMedium&) = delete;
    SampleMedium& operator=(const SampleMedium&) = delete;

    const std::string& Dir() const { return dir_; }
    std::string SetupPath() const;
    // Names of the files in the medium now, sorted, compared without case.
    std::vector<std::string> FileNames() const;

private:
    std::string dir_;
};

// One run of setup.exe.
class SetupProcess {
public:
    SetupProcess() = default;
    ~SetupProcess() = default;
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    // Starts the program with `currentDir` as its current directory, as when a
    // user starts it from the medium, with `arguments` after its name. Throws
    // DriverError when it cannot start.
    void Start(const std::string& exePath, const std::string& currentDir,
               const std::string& arguments = "");

    bool IsStarted() const { return process_.IsValid(); }
    DWORD Id() const { return id_; }
    bool HasExited() const;
    // The exit code once the process has ended.
    std::optional<DWORD> ExitCode() const;
    // Waits for the end and answers the exit code; throws DriverError when the
    // process is still running after `timeoutMs`.
    DWORD WaitForExit(DWORD timeoutMs);
    // Ends a process that is still running; answers whether it had to.
    bool Kill();
    // Forgets a finished run so that the next Start begins a new one.
    void Reset();

private:
    ui::ScopedHandle process_;
    DWORD id_ = 0;
};

// Wine reads HKCU\Software\Wine\AppDefaults\<exe>\Version when a program
// starts: this is how one run sees an NT system while the prefix stays
// Windows 98. Removed again with the object.
class WindowsVersionOverride {
public:
    WindowsVersionOverride(std::string exeName, const std::string& version);
    ~WindowsVersionOverride();
    WindowsVersionOverride(const WindowsVersionOverride&) = delete;
    WindowsVersionOverride& operator=(const WindowsVersionOverride&) = delete;

    // Drops an override a crashed earlier run may have left.
    static void Clear(const std::string& exeName);

private:
    std::string exeName_;
};

}  // namespace e2e
