// The install and the removal of the suite, one procedure each, whichever
// way the program was started. What the steps need from outside (the
// choices, the questions, the messages, the status line, the gauge, the
// readme, the windows, the restart and the end of the run) comes through
// SetupHost: the setup window answers it with its controls and message
// boxes, an unattended run with its switches and its log.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/ComponentTable.h"
#include "engine/SetupLog.h"
#include "ui/component.h"
#include "ui/dialogs.h"

namespace engine {

struct InstallChoices {
    std::string installDir;                          // as typed; the install gives it its backslash
    std::string sourceDir;                           // the medium, ending in a backslash
    std::array<bool, kComponentCount> components{};  // in the order of the component table
    bool menuGroup = true;
    bool viewReadme = true;
    bool startupShortcut = true;
    std::string answerFile;  // where the choices are written once installed; empty: nowhere
};

class SetupHost {
public:
    virtual ~SetupHost() = default;

    // The status line; `paintNow` paints it at once, otherwise it shows when
    // next painted.
    virtual void ShowStatus(const std::string& text, bool paintNow) = 0;
    virtual void ShowFreeSpace(std::int64_t bytes) = 0;
    // What went wrong, or what the user has to do, in a box of that kind.
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowInformation(const std::string& text) = 0;
    // False only for the answer No: a question closed otherwise goes on.
    virtual bool Confirm(const std::string& question, ui::TMsgDlgType kind) = 0;
    // The control each copy moves; nullptr for none.
    virtual ui::TComponent* ProgressTarget() = 0;
    virtual void OpenReadme(const std::string& path) = 0;
    // Takes every window of the program off the screen.
    virtual void HideWindows() = 0;
    // Offers to restart Windows now, with this question.
    virtual void OfferRestart(const std::string& question) = 0;
    // Asks for the end of the run once the procedure has returned.
    virtual void RequestEnd() = 0;

    // A status text or an error as the procedures report it: logged, then
    // shown.
    void Status(const std::string& text, bool paintNow = true) {
        LogLine(text);
        ShowStatus(text, paintNow);
    }
    void Fail(const std::string& text) {
        LogError(text);
        ShowError(text);
    }
};

enum class Outcome {
    Done,       // everything made; Windows must restart to complete it
    Refused,    // a check stopped it before anything was written
    Cancelled,  // the user said No
    NoRecord,   // a removal found no recorded install
    Failed,     // a step could not be done (what was made before stays), or a
                // removal left something it should have removed
};

// Runs the install. `choices.installDir` ends in a backslash once the checks
// have passed. Errors the steps raise (a copy, a registry value, a shortcut)
// are logged and leave the procedure where it stands.
Outcome RunInstall(InstallChoices& choices, SetupHost& host);

// Runs the removal of the install recorded in the registry; `installDir`
// receives the recorded directory. Raises as RunInstall does.
Outcome RunRemoval(std::string& installDir, SetupHost& host);

}  // namespace engine
