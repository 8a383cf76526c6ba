// The agreement window: the terms of use with Accept and Decline. It is the
// first window and so the application's main window.
#pragma once

#include "ui/form.h"

namespace ui {
class TMemo;
}
namespace controls {
class TStringHolder;
}

namespace app {

class TLicenseForm : public ui::TForm {
    QUARNEL_COMPONENT(TLicenseForm, ui::TForm)
public:
    TLicenseForm();
    void Create() { CreateFromResource("LICENSEFORM"); }

    void FormCreate(ui::TComponent* sender);
    void AcceptButtonClick(ui::TComponent* sender);
    void DeclineButtonClick(ui::TComponent* sender);

    ui::TMemo* Memo1 = nullptr;
    controls::TStringHolder* StringHolder1 = nullptr;
};

}  // namespace app
