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

bool DeleteInstallationRecords(TRegistry& registry) {
    bool allGone = true;
    for (const char* key : kRemovedRecordKeys) {
        if (!registry.RegistryKeyPresent(key)) continue;
        // Unbounded retries would hang the program on a key it may not delete.
        bool deleted = registry.DeleteRegistryTree(key);
        for (int tries = 1; !deleted && tries < kKeyDeletionTries; ++tries) {
            ::Sleep(kKeyDeletionPauseMs);
            deleted = registry.DeleteRegistryTree(key);
        }
        allGone = allGone && deleted;
    }
    return allGone;
}

bool DeleteComponentFiles(const std::string& installDir) {
    if (!IsDirectoryPresent(installDir + kComponentGuardDirectory)) return true;
    bool allGone = true;
    for (const char* entry : kComponentFiles) {
        // An entry that matches nothing is a file this install did not have.
        if (DeleteEveryMatch(installDir + entry) == MatchDeletion::SomeStayed) allGone = false;
    }
    return allGone;
}

}  // namespace engine
