#include "app/SetupState.h"

#include "engine/Registry.h"

namespace app {

std::string InstallDir;
std::string SourceDir;
std::unique_ptr<engine::TRegistry> SetupRegistry;
engine::SetupCommandLine CommandLinePresets;
TLicenseForm* LicenseForm = nullptr;
TSetupForm* SetupForm = nullptr;
TForm1* Form1 = nullptr;

engine::TRegistry& NewSetupRegistry() {
    SetupRegistry = std::make_unique<engine::TRegistry>();
    SetupRegistry->SetRootKey(HKEY_LOCAL_MACHINE);
    return *SetupRegistry;
}

void FreeSetupRegistry() { SetupRegistry.reset(); }

}  // namespace app
