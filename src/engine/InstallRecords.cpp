#include "engine/InstallRecords.h"

#include "engine/Registry.h"

namespace engine::records {

std::string ReadInstallDir(TRegistry& registry, bool createRecord) {
    if (!registry.OpenRegistryKey(kInstallKey, createRecord)) return std::string();
    return registry.ReadTextValue(kPathValue);
}

}  // namespace engine::records
