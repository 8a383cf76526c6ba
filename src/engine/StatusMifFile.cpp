// The status MIF on the disk, in the Windows directory, where every SMS
// version looks for it.
#include <windows.h>

#include "engine/FileUtil.h"
#include "engine/SetupLog.h"
#include "engine/StatusMif.h"
#include "engine/UnattendedRun.h"
#include "engine/WholeFile.h"
#include "ui/code_page.h"

namespace engine {

void WriteStatusMif(const SetupCommandLine& line, int exitCode, const std::string& summary) {
    if (line.mifName.empty()) return;
    mif::Status status;
    status.success = exitCode == exit_codes::kRestartNeeded;
    // On a failure, the words the log gave the error.
    status.description = status.success ? summary : LastLoggedError();
    if (status.description.empty())
        status.description = "Quarnel Setup ended with exit code " + std::to_string(exitCode);
    const std::string path =
        AppendBackslash(WindowsDirectoryPath()) + line.mifName + mif::kExtension;
    if (ReplaceWholeFile(path, StatusMifText(status, &ui::IsAnsiLeadByte))) {
        LogLine("Status MIF written: " + path);
    } else {
        LogError("Cannot write the status MIF " + path);
    }
}

}  // namespace engine
