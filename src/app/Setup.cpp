// Program entry: the component-object runtime for the whole run, then the
// run the command line asks for.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/SetupState.h"
#include "app/StartUp.h"
#include "ui/handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int showCommand) {
    ui::ComApartment com;
    ::InitCommonControls();
    const int code = app::RunSetup(arguments != nullptr ? arguments : "", showCommand);
    app::InstallDir.clear();
    app::SourceDir.clear();
    return code;
}
