// Program entry: the claim that this is the one setup running, the
// component-object runtime for the whole run, the application object, the
// agreement window as main window, the main loop.
#include <windows.h>
// After windows.h, whose types it uses.
#include <commctrl.h>

#include "app/Classes.h"
#include "app/SetupState.h"
#include "app/SingleInstance.h"
#include "app/setup2.h"
#include "ui/application.h"
#include "ui/handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    ui::ScopedHandle onlySetup;
    if (!app::ClaimSingleInstance(onlySetup)) return 0;
    ui::ComApartment com;
    ::InitCommonControls();
    {
        ui::TApplication application;
        app::RegisterClasses();
        application.SetTitle("Quarnel Setup");
        try {
            app::LicenseForm = new app::TLicenseForm();
            app::LicenseForm->Create();
        } catch (const std::exception& error) {
            application.ShowException(error);
        }
        application.Run(showCommand);
    }
    app::InstallDir.clear();
    app::SourceDir.clear();
    return 0;
}
