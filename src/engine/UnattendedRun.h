// An unattended run: the install or the removal with no window and no
// question, its choices taken from the command line, everything the boxes
// would say written to the log, and the outcome told by the exit code that
// deployment tools read (those of Windows Installer).
#pragma once

#include <string>

#include "engine/CommandLine.h"

namespace engine {

// A silent run never ends with 0: every install leaves its driver, and
// every removal the installed setup program, for the next Windows start.
namespace exit_codes {
constexpr int kRestartNeeded = 3010;  // every install (the driver), every complete removal
constexpr int kFailed = 1603;  // refused by a check, a step failed, or a removal left something
constexpr int kAlreadyRunning = 1618;  // another setup runs: nothing was done
constexpr int kNoInstallRecorded = 1605;
constexpr int kUnsupportedSystem = 1633;
constexpr int kBadCommandLine = 1639;
}  // namespace exit_codes

struct UnattendedSystem {
    bool windows95Family = false;    // the version gate's answer
    std::string sourceDir;           // the medium, ending in a backslash
    bool otherSetupRunning = false;  // another copy holds the one-at-a-time claim
};

// The directory as the setup window's field would hold it once typed: the
// field shows and gives its text in upper case.
std::string AsTypedIntoDirectoryField(const std::string& text);

// Runs what the command line asks without any window and answers the exit
// code. A command line not understood, another setup running, a system that
// is not of the Windows 95 family, a removal with nothing recorded, and an
// install refused by its checks write nothing but the log.
int RunUnattended(const SetupCommandLine& line, const UnattendedSystem& system);

}  // namespace engine
