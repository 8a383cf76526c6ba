#include "app/StartUp.h"

#include "app/Classes.h"
#include "app/PicturePalette.h"
#include "app/Platform.h"
#include "app/SetupState.h"
#include "app/SingleInstance.h"
#include "app/setup2.h"
#include "engine/AnswerFile.h"
#include "engine/CommandLine.h"
#include "engine/SetupLog.h"
#include "engine/UnattendedRun.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "ui/handles.h"

namespace app {

int RunSetup(const std::string& arguments, int showCommand) {
    engine::SetupCommandLine line = engine::ParseCommandLine(arguments);
    // Held until the run ends: a second copy would race this one on the same
    // files, records and rename list.
    ui::ScopedHandle onlySetup;
    const bool onlyOne = ClaimSingleInstance(
        onlySetup, line.silent ? RunningSetup::LeaveAlone : RunningSetup::BringToFront);
    if (!onlyOne && !line.silent) return 0;
    // Nobody is at the screen of a silent run: a log or a directory on an
    // empty floppy or CD drive, or on a lost network drive, must fail as a
    // logged refusal, not stop a logon script in the system's "not ready" box.
    if (line.silent) ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    engine::StartLog(line.logFile);
    engine::PrepareAnswerFiles(line);
    if (line.silent) {
        // No application object: not even its hidden window is made.
        return engine::RunUnattended(
            line, {IsWindows95Family(OsVersionText()), CurrentDirectoryWithBackslash(), !onlyOne});
    }

    ui::TApplication application;
    RegisterClasses();
    application.SetTitle("Quarnel Setup");
    if (!line.Understood()) {
        // Refused before any window or record is made.
        engine::LogError("Command line not understood: " + line.error);
        ui::MessageDlg(line.error, ui::TMsgDlgType::mtError, ui::TMsgDlgButtons::mbOK);
        // No status MIF: /MIF= is refused without /SILENT, and a refused
        // /MIF= names none.
        return engine::exit_codes::kBadCommandLine;
    }
    CommandLinePresets = line;
    const ScopedPicturePalette colours;
    try {
        LicenseForm = new TLicenseForm();
        LicenseForm->Create();
    } catch (const std::exception& error) {
        application.ShowException(error);
    }
    application.Run(showCommand);
    return 0;
}

}  // namespace app
