// The state one run of the program shares between its windows and the
// install and removal procedures.
#pragma once

#include <memory>
#include <string>

#include "engine/CommandLine.h"

namespace engine {
class TRegistry;
}

namespace app {

class TLicenseForm;
class TSetupForm;
class TForm1;

// The directory to install into or remove from.
extern std::string InstallDir;
// The current directory at the setup window's creation plus a backslash; the
// suite's files are read from there.
extern std::string SourceDir;
// The registry accessor of the current group of registry operations; empty
// between groups.
extern std::unique_ptr<engine::TRegistry> SetupRegistry;

// The switches the program was started with; the setup window takes its
// presets from them.
extern engine::SetupCommandLine CommandLinePresets;

extern TLicenseForm* LicenseForm;
extern TSetupForm* SetupForm;
extern TForm1* Form1;

// Makes a fresh accessor rooted at HKEY_LOCAL_MACHINE for one group of work.
engine::TRegistry& NewSetupRegistry();
void FreeSetupRegistry();

// One group of registry work: a fresh accessor for its life, freed at its end
// also when a step of the group throws.
class SetupRegistryGroup {
public:
    SetupRegistryGroup() : registry_(NewSetupRegistry()) {}
    ~SetupRegistryGroup() { FreeSetupRegistry(); }
    SetupRegistryGroup(const SetupRegistryGroup&) = delete;
    SetupRegistryGroup& operator=(const SetupRegistryGroup&) = delete;

    engine::TRegistry& Registry() { return registry_; }

private:
    engine::TRegistry& registry_;
};

}  // namespace app
