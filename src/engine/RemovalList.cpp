#include "engine/RemovalList.h"

#include <windows.h>

#include "engine/FileUtil.h"
#include "engine/InstallRecords.h"
#include "engine/Registry.h"

namespace engine {

const char* const kRemovedRecordKeys[3] = {records::kUninstallKey, records::kInstallKey,
                                           records::kDriverKey};

const char* const kComponentFiles[kComponentFileCount] = {
    "WARDEX\\wardex.exe",   "WARDEX\\wardex.ini",   "WARDEX\\smart.*",      "WARDEX\\dlsize.*",
    "WARDEX\\startup.log",  "WARDEX\\log.txt",      "WARDEX\\alert.wav",    "SULMET\\sulmet.exe",
    "SULMET\\sulmet_d.zip", "SULMET\\sulmet_d.doc", "PELKIN\\pelkin.exe",   "PELKIN\\pelkin_d.zip",
    "PELKIN\\pelkin_d.doc", "ORVANE\\orvane.exe",   "ORVANE\\orvane_d.zip", "ORVANE\\orvane_d.doc",
    "TRIVEL\\trivel.exe",   "TRIVEL\\trivel_d.zip", "TRIVEL\\trivel_d.doc", "WARDEX\\wardex.doc",
    "WARDEX\\wardex_d.zip",
};

void DeleteInstallationRecords(TRegistry& registry) {
    for (const char* key : kRemovedRecordKeys) {
        if (!registry.RegistryKeyPresent(key)) continue;
        // Unbounded retries would hang the program on a key it may not delete.
        for (int tries = 1; !registry.DeleteRegistryTree(key) && tries < kKeyDeletionTries;
             ++tries) {
            ::Sleep(kKeyDeletionPauseMs);
        }
    }
}

void DeleteComponentFiles(const std::string& installDir) {
    if (!IsDirectoryPresent(installDir + kComponentGuardDirectory)) return;
    for (const char* entry : kComponentFiles) DeleteMatchingFiles(installDir + entry);
}

}  // namespace engine
