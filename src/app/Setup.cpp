// Program entry: the component-object runtime for the whole run, the
// application object, the agreement window as main window, the main loop.
#include <windows.h>
#include <commctrl.h>

#include "app/Classes.h"
#include "app/SetupState.h"
#include "app/setup2.h"
#include "ui/application.h"
#include "ui/handles.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
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
