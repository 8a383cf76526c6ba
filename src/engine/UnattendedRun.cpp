#include "engine/UnattendedRun.h"

#include <windows.h>

#include <exception>
#include <string>

#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"
#include "engine/SetupLog.h"
#include "engine/SetupProcedure.h"
#include "engine/StatusMif.h"
#include "ui/exceptions.h"

namespace engine {

namespace {

// The answers of nobody at the screen: every question is Yes, the readme is
// not opened and Windows is not restarted. The procedures have logged every
// status and error already.
class UnattendedHost : public SetupHost {
public:
    void ShowStatus(const std::string&, bool) override {}
    void ShowFreeSpace(std::int64_t bytes) override {
        LogLine("Free space: " + std::to_string(bytes) + " bytes");
    }
    void ShowError(const std::string&) override {}
    void ShowInformation(const std::string& text) override { LogLine(text); }
    bool Confirm(const std::string& question, ui::TMsgDlgType) override {
        LogLine(question + " Yes");
        return true;
    }
    ui::TComponent* ProgressTarget() override { return nullptr; }
    void OpenReadme(const std::string&) override {}
    void HideWindows() override {}
    void OfferRestart(const std::string&) override {
        LogLine("Windows must restart to complete the install");
    }
    void RequestEnd() override {}
};

std::string ChosenNames(const SetupCommandLine& line) {
    std::string names;
    for (std::size_t i = 0; i < kComponentCount; ++i) {
        if (!line.components[i]) continue;
        if (!names.empty()) names += ",";
        names += ComponentTable()[i].name;
    }
    return names;
}

// The directory an earlier install recorded, read without making the
// record's key (empty when there is none); false, logged, when the record
// cannot be read.
bool ReadRecordedDirectory(std::string& directory) {
    try {
        TRegistry registry;
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        directory = records::ReadInstallDir(registry, false);
        return true;
    } catch (const std::exception& error) {
        LogError(error.what());
        return false;
    }
}

int CodeOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::Done:
            return exit_codes::kRestartNeeded;
        case Outcome::NoRecord:
            return exit_codes::kNoInstallRecorded;
        default:
            return exit_codes::kFailed;
    }
}

// `summary` receives what a completed run did, in a few words.
int Run(const SetupCommandLine& line, const UnattendedSystem& system, std::string& summary) {
    if (!line.Understood()) {
        LogError("Command line not understood: " + line.error);
        return exit_codes::kBadCommandLine;
    }
    if (system.otherSetupRunning) {
        // It would race that one on the same files, records and rename list.
        LogError("Another Quarnel Setup is running; nothing was done");
        return exit_codes::kAlreadyRunning;
    }
    if (!system.windows95Family) {
        LogError("This software is designed for Windows95/98");
        return exit_codes::kUnsupportedSystem;
    }
    UnattendedHost host;
    if (line.remove) {
        LogLine("Unattended removal");
        // Asked without making the record's key, so that nothing is written.
        std::string recorded;
        if (!ReadRecordedDirectory(recorded)) return exit_codes::kFailed;
        if (recorded.empty()) {
            LogError("No installation of Quarnel is recorded on this machine");
            return exit_codes::kNoInstallRecorded;
        }
        std::string installDir;
        const int code = CodeOf(RunRemoval(installDir, host));
        summary = "removed from " + installDir;
        return code;
    }

    InstallChoices choices;
    choices.sourceDir = system.sourceDir;
    // As in the window: the field shows the recorded directory, and an
    // untouched empty field installs to the default.
    std::string recorded;
    if (!ReadRecordedDirectory(recorded)) return exit_codes::kFailed;
    choices.installDir = AsTypedIntoDirectoryField(line.directoryGiven ? line.directory : recorded);
    if (choices.installDir.empty()) choices.installDir = records::kDefaultInstallDir;
    choices.components = line.components;
    choices.menuGroup = line.menuGroup;
    // As asked, so that the answer file keeps it; the unattended host never
    // opens the readme.
    choices.viewReadme = line.viewReadme;
    choices.startupShortcut = line.startupShortcut;
    choices.answerFile = line.saveAnswerFile;
    LogLine("Unattended install of " + ChosenNames(line) + " from " +
            PlatformPath(system.sourceDir) + " to " + PlatformPath(choices.installDir) +
            (line.menuGroup ? "" : ", no menu group") +
            (line.startupShortcut ? "" : ", no start-up shortcut"));
    const int code = CodeOf(RunInstall(choices, host));
    summary = "installed to " + choices.installDir;
    return code;
}

}  // namespace

std::string AsTypedIntoDirectoryField(const std::string& text) {
    std::string upper = text;
    if (!upper.empty()) ::CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
    return upper;
}

int RunUnattended(const SetupCommandLine& line, const UnattendedSystem& system) {
    int code = exit_codes::kFailed;
    std::string summary;
    try {
        code = Run(line, system, summary);
    } catch (const std::exception&) {
        // A step's error: the procedure has logged it, and what was made
        // before it stays.
    } catch (...) {
        LogError("Unexpected failure");
    }
    WriteStatusMif(
        line, code,
        std::string(mif::kProduct) + " " + mif::kVersion + " " + summary +
            (code == exit_codes::kRestartNeeded ? "; Windows must restart to complete it" : ""));
    LogLine(ui::Format("Exit code %d", code));
    return code;
}

}  // namespace engine
